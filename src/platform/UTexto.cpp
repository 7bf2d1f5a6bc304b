#include "platform/UTexto.h"

#include "platform/UErro.h"

#include <climits>
#include <cstdint>

namespace {

// Code page 1252 letters: ASCII, the Latin-1 range (except × and ÷) and Š/š, Œ/œ, Ž/ž, Ÿ/ÿ.
unsigned char Maiuscula(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

unsigned char Minuscula(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

} // namespace

int ValorHex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Aparar(std::string_view texto) {
    std::size_t inicio = 0;
    std::size_t fim = texto.size();
    while (inicio < fim && static_cast<unsigned char>(texto[inicio]) <= ' ')
        ++inicio;
    while (fim > inicio && static_cast<unsigned char>(texto[fim - 1]) <= ' ')
        --fim;
    return std::string(texto.substr(inicio, fim - inicio));
}

std::string MinusculasAnsi(std::string_view texto) {
    std::string saida(texto);
    for (char& c : saida)
        c = static_cast<char>(Minuscula(static_cast<unsigned char>(c)));
    return saida;
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Maiuscula(static_cast<unsigned char>(a[i])) != Maiuscula(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool ComecaSemCaixa(std::string_view texto, std::string_view prefixo) {
    return texto.size() >= prefixo.size() && IguaisSemCaixa(texto.substr(0, prefixo.size()), prefixo);
}

std::optional<int> ConverterInteiro(std::string_view texto) {
    std::size_t i = 0;
    while (i < texto.size() && texto[i] == ' ')
        ++i;
    bool negativo = false;
    if (i < texto.size() && (texto[i] == '-' || texto[i] == '+')) {
        negativo = texto[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < texto.size() && texto[i] == '$') {
        base = 16;
        ++i;
    } else if (i < texto.size() && (texto[i] == 'x' || texto[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < texto.size() && texto[i] == '0' && (texto[i + 1] == 'x' || texto[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= texto.size())
        return std::nullopt;
    std::int64_t valor = 0;
    for (; i < texto.size(); ++i) {
        const int digito = base == 16 ? ValorHex(texto[i]) : (texto[i] >= '0' && texto[i] <= '9' ? texto[i] - '0' : -1);
        if (digito < 0)
            return std::nullopt;
        valor = valor * base + digito;
        if (valor > static_cast<std::int64_t>(INT_MAX) + 1)
            return std::nullopt;
    }
    if (negativo)
        valor = -valor;
    if (valor > INT_MAX || valor < INT_MIN)
        return std::nullopt;
    return static_cast<int>(valor);
}

TNumeroLido LerDecimal(std::string_view texto, std::int64_t minimo, std::int64_t maximo) {
    const bool negativo = !texto.empty() && texto.front() == '-';
    if (!texto.empty() && (texto.front() == '-' || texto.front() == '+'))
        texto.remove_prefix(1);
    if (texto.empty())
        return {};
    // In unsigned 64 bits, so that the smallest 64-bit value keeps its digits; past that, too large anyway.
    std::uint64_t absoluto = 0;
    bool grandeDemais = false;
    for (const char c : texto) {
        if (c < '0' || c > '9')
            return {};
        if (absoluto > (UINT64_MAX - 9) / 10)
            grandeDemais = true;
        else
            absoluto = absoluto * 10 + static_cast<unsigned>(c - '0');
    }
    const TNumeroLido foraDoIntervalo{TLeituraNumero::ForaDoIntervalo, 0};
    if (grandeDemais)
        return foraDoIntervalo;
    if (negativo) {
        const std::uint64_t limite = minimo < 0 ? 0ULL - static_cast<std::uint64_t>(minimo) : 0;
        if (absoluto > limite)
            return foraDoIntervalo;
        return {TLeituraNumero::Valido, static_cast<std::int64_t>(0ULL - absoluto)};
    }
    if (maximo < 0 || absoluto > static_cast<std::uint64_t>(maximo) || static_cast<std::int64_t>(absoluto) < minimo)
        return foraDoIntervalo;
    return {TLeituraNumero::Valido, static_cast<std::int64_t>(absoluto)};
}

std::optional<int> InteiroDecimal(std::string_view texto) {
    const TNumeroLido numero = LerDecimal(texto, INT_MIN, INT_MAX);
    if (numero.Leitura != TLeituraNumero::Valido)
        return std::nullopt;
    return static_cast<int>(numero.Valor);
}

int ConverterInteiroPadrao(std::string_view texto, int padrao) {
    return ConverterInteiro(texto).value_or(padrao);
}

std::string TextoNaoInteiro(std::string_view texto) {
    return "'" + std::string(texto) + "' is not a valid integer value";
}

std::string TextoNumeroRecusado(std::string_view texto, std::int64_t minimo, std::int64_t maximo) {
    const std::string numero = "\"" + std::string(texto) + "\"";
    if (LerDecimal(texto, INT64_MIN, INT64_MAX).Leitura == TLeituraNumero::NaoNumero)
        return numero + " não é um número inteiro decimal";
    if (!texto.empty() && texto.front() == '-')
        return numero + " é pequeno demais: o menor valor aceito é " + std::to_string(minimo);
    return numero + " é grande demais: o maior valor aceito é " + std::to_string(maximo);
}

std::string FormatarZeros(long long valor, int digitos) {
    const bool negativo = valor < 0;
    // Through unsigned so that the smallest value keeps its digits.
    unsigned long long absoluto = negativo ? 0ULL - static_cast<unsigned long long>(valor) : valor;
    std::string digitosTexto = std::to_string(absoluto);
    if (static_cast<int>(digitosTexto.size()) < digitos)
        digitosTexto.insert(0, digitos - digitosTexto.size(), '0');
    return negativo ? "-" + digitosTexto : digitosTexto;
}

namespace {

std::string GruposDeMilhar(unsigned long long valor) {
    std::string digitos = std::to_string(valor);
    for (auto i = static_cast<std::ptrdiff_t>(digitos.size()) - 3; i > 0; i -= 3)
        digitos.insert(static_cast<std::size_t>(i), 1, '.');
    return digitos;
}

unsigned long long Absoluto(long long valor) {
    // Through unsigned so that the smallest value keeps its digits.
    return valor < 0 ? 0ULL - static_cast<unsigned long long>(valor) : static_cast<unsigned long long>(valor);
}

} // namespace

std::string MilharesBrasileiros(long long valor) {
    return (valor < 0 ? "-" : "") + GruposDeMilhar(Absoluto(valor));
}

std::string ReaisBrasileiros(long long centavos) {
    const unsigned long long absoluto = Absoluto(centavos);
    return (centavos < 0 ? "-" : "") + GruposDeMilhar(absoluto / 100) + "," + FormatarZeros(absoluto % 100, 2);
}
