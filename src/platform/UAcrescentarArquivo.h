#pragma once

#include "platform/UErro.h"

#include <chrono>
#include <filesystem>
#include <string_view>

// Adds the text at the end of the file, made when missing, so that programs adding to the same file at once,
// on this machine or on others through a network share, never mix their texts: each waits, up to
// `esperaTrava`, for the file's lock, starts a new line when the file does not end in CR LF (a row cut short
// by a full disk or a hand edit stays on a line of its own), writes with one call and flushes the file to disk
// before letting go. `inicioSeVazio` goes first, in the same write, when the file is empty. Only a regular
// file is written to. Fails with "Não foi possível gravar no arquivo "<path>". <reason>"; with EArquivoOcupado
// when, after the wait, another program still holds the lock or, on Windows, keeps the file open to itself (a
// spreadsheet does).
void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto,
                        std::string_view inicioSeVazio = {},
                        std::chrono::milliseconds esperaTrava = std::chrono::seconds(10));

// The file was held by another program for the whole wait: another try later may well succeed.
class EArquivoOcupado : public EFalha {
public:
    using EFalha::EFalha;
};
