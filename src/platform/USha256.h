#pragma once

#include <memory>
#include <string>
#include <string_view>

// SHA-256, fed in pieces of any size, from the system's own library: OpenSSL's libcrypto, which the database
// client already loads, or Windows' CNG. Fails with EFalha only where that library does.
class TSha256 {
public:
    TSha256();
    ~TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Acrescentar(std::string_view dados);
    // The digest as 64 lower-case hexadecimal digits; the object then starts over.
    std::string Concluir();

private:
    struct TContexto;
    std::unique_ptr<TContexto> FContexto;
};

std::string Sha256(std::string_view dados);
