#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// An amount with four decimal places held exactly, as a whole count of 1/10,000.
class TValorFixo {
public:
    TValorFixo() = default;
    static TValorFixo DeDezMilesimos(std::int64_t valor) { return TValorFixo(valor); }
    // The server's decimal text ("1234.50", "-0.004", "12"); more than four decimals are rounded,
    // halves away from zero. Fails with EFalha on anything else or on overflow.
    static TValorFixo DoTexto(std::string_view texto);

    std::int64_t DezMilesimos() const { return FValor; }
    // The amount in whole cents, a fraction of a cent rounded half away from zero.
    std::int64_t CentavosArredondados() const;
    // "1234.5000"
    std::string Texto() const;

    friend bool operator==(const TValorFixo&, const TValorFixo&) = default;

private:
    explicit TValorFixo(std::int64_t valor) : FValor(valor) {}
    std::int64_t FValor = 0;
};
