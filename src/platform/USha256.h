#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// SHA-256 (FIPS 180-2), fed in pieces of any size.
class TSha256 {
public:
    TSha256();
    void Acrescentar(std::string_view dados);
    // The digest as 64 lower-case hexadecimal digits; the object then starts over.
    std::string Concluir();

private:
    void ProcessarBloco(const unsigned char* bloco);

    std::array<std::uint32_t, 8> FEstado;
    std::array<unsigned char, 64> FBloco{};
    std::size_t FUsados = 0;
    std::uint64_t FTamanho = 0;
};

std::string Sha256(std::string_view dados);
