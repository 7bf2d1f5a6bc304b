#include "dao/UValorFixo.h"

#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <limits>

namespace {

[[noreturn]] void ValorInvalido(std::string_view texto) {
    throw EFalha("'" + std::string(texto) + "' is not a valid amount");
}

} // namespace

TValorFixo TValorFixo::DoTexto(std::string_view texto) {
    const std::string_view original = texto;
    bool negativo = false;
    if (!texto.empty() && (texto.front() == '-' || texto.front() == '+')) {
        negativo = texto.front() == '-';
        texto.remove_prefix(1);
    }
    constexpr std::int64_t maior = std::numeric_limits<std::int64_t>::max();
    std::int64_t valor = 0;
    int casas = -1; // decimal places read so far; -1 before the point
    bool arredondarParaCima = false;
    bool temDigito = false;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c == '.' && casas < 0) {
            casas = 0;
            continue;
        }
        if (c < '0' || c > '9')
            ValorInvalido(original);
        temDigito = true;
        if (casas >= 4) {
            // Only the fifth decimal decides the rounding, halves away from zero.
            if (casas == 4)
                arredondarParaCima = c >= '5';
            ++casas;
            continue;
        }
        if (valor > (maior - (c - '0')) / 10)
            ValorInvalido(original);
        valor = valor * 10 + (c - '0');
        if (casas >= 0)
            ++casas;
    }
    if (!temDigito)
        ValorInvalido(original);
    for (int casa = casas < 0 ? 0 : casas; casa < 4; ++casa) {
        if (valor > maior / 10)
            ValorInvalido(original);
        valor *= 10;
    }
    if (arredondarParaCima) {
        if (valor == maior)
            ValorInvalido(original);
        ++valor;
    }
    return TValorFixo(negativo ? -valor : valor);
}

std::int64_t TValorFixo::CentavosArredondados() const {
    const std::int64_t absoluto = FValor < 0 ? -FValor : FValor;
    const std::int64_t centavos = (absoluto + 50) / 100;
    return FValor < 0 ? -centavos : centavos;
}

std::string TValorFixo::Texto() const {
    const std::int64_t absoluto = FValor < 0 ? -FValor : FValor;
    return (FValor < 0 ? "-" : "") + std::to_string(absoluto / 10000) + "." + FormatarZeros(absoluto % 10000, 4);
}
