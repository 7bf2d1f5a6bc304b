#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

// Adds the text at the end of the file, made when missing, so that programs adding to the same file at once,
// on this machine or on others through a network share, never mix their texts: each waits, up to
// `esperaTrava`, for the file's lock, starts a new line when the file does not end in CR LF (a row cut short
// by a full disk or a hand edit stays on a line of its own), writes with one call and flushes the file to disk
// before letting go. `inicioSeVazio` goes first, in the same write, when the file is empty. Only a regular
// file is written to. Fails with "Não foi possível gravar no arquivo "<path>". <reason>".
void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto,
                        std::string_view inicioSeVazio = {},
                        std::chrono::milliseconds esperaTrava = std::chrono::seconds(10));
