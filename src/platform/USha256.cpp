#include "platform/USha256.h"

#include "platform/UErro.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, whose types it uses.
#include <bcrypt.h>
#else
#include <openssl/evp.h>
#endif

namespace {

constexpr unsigned TamanhoResumo = 32;

std::string Hexadecimal(const unsigned char* bytes, unsigned tamanho) {
    static constexpr char digitos[] = "0123456789abcdef";
    std::string texto;
    texto.reserve(tamanho * 2);
    for (unsigned i = 0; i < tamanho; ++i) {
        texto += digitos[bytes[i] >> 4];
        texto += digitos[bytes[i] & 0xF];
    }
    return texto;
}

[[noreturn]] void FalhaResumo() {
    throw EFalha("SHA-256 unavailable from the system's cryptographic library");
}

} // namespace

#ifdef _WIN32

namespace {

// The provider is opened once for the whole run, as Windows advises; the system releases it at exit.
BCRYPT_ALG_HANDLE Algoritmo() {
    static const BCRYPT_ALG_HANDLE algoritmo = [] {
        BCRYPT_ALG_HANDLE handle = nullptr;
        return BCryptOpenAlgorithmProvider(&handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0) >= 0 ? handle : nullptr;
    }();
    if (!algoritmo)
        FalhaResumo();
    return algoritmo;
}

BCRYPT_HASH_HANDLE NovoResumo() {
    BCRYPT_HASH_HANDLE resumo = nullptr;
    if (BCryptCreateHash(Algoritmo(), &resumo, nullptr, 0, nullptr, 0, 0) < 0)
        FalhaResumo();
    return resumo;
}

} // namespace

struct TSha256::TContexto {
    BCRYPT_HASH_HANDLE Resumo = NovoResumo();
    ~TContexto() { BCryptDestroyHash(Resumo); }
};

void TSha256::Acrescentar(std::string_view dados) {
    // ULONG counts the bytes: a larger piece goes in several.
    while (!dados.empty()) {
        const auto parte = dados.substr(0, 1u << 30);
        if (BCryptHashData(FContexto->Resumo, reinterpret_cast<PUCHAR>(const_cast<char*>(parte.data())),
                           static_cast<ULONG>(parte.size()), 0) < 0)
            FalhaResumo();
        dados.remove_prefix(parte.size());
    }
}

std::string TSha256::Concluir() {
    unsigned char resumo[TamanhoResumo];
    if (BCryptFinishHash(FContexto->Resumo, resumo, TamanhoResumo, 0) < 0)
        FalhaResumo();
    FContexto = std::make_unique<TContexto>();
    return Hexadecimal(resumo, TamanhoResumo);
}

#else

namespace {

EVP_MD_CTX* NovoResumo() {
    EVP_MD_CTX* resumo = EVP_MD_CTX_new();
    if (!resumo || EVP_DigestInit_ex(resumo, EVP_sha256(), nullptr) != 1) {
        EVP_MD_CTX_free(resumo);
        FalhaResumo();
    }
    return resumo;
}

} // namespace

struct TSha256::TContexto {
    EVP_MD_CTX* Resumo = NovoResumo();
    ~TContexto() { EVP_MD_CTX_free(Resumo); }
};

void TSha256::Acrescentar(std::string_view dados) {
    if (EVP_DigestUpdate(FContexto->Resumo, dados.data(), dados.size()) != 1)
        FalhaResumo();
}

std::string TSha256::Concluir() {
    unsigned char resumo[EVP_MAX_MD_SIZE];
    unsigned tamanho = 0;
    if (EVP_DigestFinal_ex(FContexto->Resumo, resumo, &tamanho) != 1 ||
        EVP_DigestInit_ex(FContexto->Resumo, EVP_sha256(), nullptr) != 1)
        FalhaResumo();
    return Hexadecimal(resumo, tamanho);
}

#endif

TSha256::TSha256() : FContexto(std::make_unique<TContexto>()) {}

TSha256::~TSha256() = default;

std::string Sha256(std::string_view dados) {
    TSha256 resumo;
    resumo.Acrescentar(dados);
    return resumo.Concluir();
}
