#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

// What the append on Linux and the one on Windows share: both must lock the same byte and fail with the same
// texts, whichever system wrote to the shared file before.

// The byte every program that appends to a file locks, far past any real end: on Windows a lock keeps others
// from reading what it covers, and readers of the record must never wait. A program on Linux and one on Windows
// that append to the same share lock the same byte.
inline constexpr long long ByteTrava = 1LL << 62;

[[noreturn]] void FalhaAcrescentar(const std::filesystem::path& caminho, const std::string& motivo);
// The lock still held, or the file still open to another program alone, once the wait is over.
[[noreturn]] void FalhaOcupado(const std::filesystem::path& caminho, const std::string& motivo);
std::string NaoEArquivoComum();
std::string TextoTravaOcupada(std::chrono::milliseconds espera);
std::string TextoArquivoEmUso(std::chrono::milliseconds espera);

// What one write adds, given the last bytes (up to two) of a file of `tamanho` bytes.
std::string DadosAcrescimo(std::string_view final, long long tamanho, std::string_view texto,
                           std::string_view inicioSeVazio);
