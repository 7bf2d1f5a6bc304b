#include "platform/USha256.h"

#include "platform/UArquivos.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::array<std::uint32_t, 8> EstadoInicial = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Girar(std::uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

} // namespace

TSha256::TSha256() : FEstado(EstadoInicial) {}

void TSha256::Acrescentar(std::string_view dados) {
    FTamanho += dados.size();
    const auto* p = reinterpret_cast<const unsigned char*>(dados.data());
    std::size_t resta = dados.size();
    while (resta > 0) {
        const std::size_t n = std::min(resta, FBloco.size() - FUsados);
        if (n == FBloco.size()) {
            ProcessarBloco(p);
        } else {
            std::memcpy(FBloco.data() + FUsados, p, n);
            FUsados += n;
            if (FUsados == FBloco.size()) {
                ProcessarBloco(FBloco.data());
                FUsados = 0;
            }
        }
        p += n;
        resta -= n;
    }
}

std::string TSha256::Concluir() {
    const std::uint64_t bits = FTamanho * 8;
    Acrescentar(std::string_view("\x80", 1));
    while (FUsados != 56)
        Acrescentar(std::string_view("\0", 1));
    std::string tamanho(8, '\0');
    for (int i = 0; i < 8; ++i)
        tamanho[i] = static_cast<char>(bits >> (56 - 8 * i));
    Acrescentar(tamanho);
    static constexpr char digitos[] = "0123456789abcdef";
    std::string texto;
    for (const std::uint32_t palavra : FEstado)
        for (int i = 28; i >= 0; i -= 4)
            texto += digitos[(palavra >> i) & 0xF];
    *this = TSha256();
    return texto;
}

void TSha256::ProcessarBloco(const unsigned char* bloco) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i)
        w[i] = std::uint32_t(bloco[4 * i]) << 24 | std::uint32_t(bloco[4 * i + 1]) << 16 |
               std::uint32_t(bloco[4 * i + 2]) << 8 | std::uint32_t(bloco[4 * i + 3]);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 = Girar(w[i - 15], 7) ^ Girar(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = Girar(w[i - 2], 17) ^ Girar(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = FEstado;
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t t1 = h + (Girar(e, 6) ^ Girar(e, 11) ^ Girar(e, 25)) + ((e & f) ^ (~e & g)) + K[i] + w[i];
        const std::uint32_t t2 = (Girar(a, 2) ^ Girar(a, 13) ^ Girar(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    const std::uint32_t novos[8] = {a, b, c, d, e, f, g, h};
    for (int i = 0; i < 8; ++i)
        FEstado[i] += novos[i];
}

std::string Sha256(std::string_view dados) {
    TSha256 sha;
    sha.Acrescentar(dados);
    return sha.Concluir();
}
