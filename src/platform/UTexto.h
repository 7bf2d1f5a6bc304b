#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Small text routines over code page 1252 text, one byte a character.

// Removes blanks and control characters (codes up to 32) from both ends.
std::string Aparar(std::string_view texto);
std::string MinusculasAnsi(std::string_view texto);
bool IguaisSemCaixa(std::string_view a, std::string_view b);
bool ComecaSemCaixa(std::string_view texto, std::string_view prefixo);

// The value of one hexadecimal digit, either case; -1 for any other character.
int ValorHex(char c);

// Whole numbers: one reader for each kind of number, and the texts of a number that cannot be read.

// A settings value, read as Windows reads a private profile's integer (and as the selection dialog reads
// its search text): leading blanks, an optional sign, then decimal digits or a hexadecimal number after "$",
// "x", "X", "0x" or "0X". Anything else, or a value outside 32 bits, gives no value.
std::optional<int> ConverterInteiro(std::string_view texto);
int ConverterInteiroPadrao(std::string_view texto, int padrao);

// A number a person writes or the server sends: an optional sign and decimal digits only, leading zeros
// included ("011" is 11, never 9), nothing before or after them.
enum class TLeituraNumero { Valido, NaoNumero, ForaDoIntervalo };
struct TNumeroLido {
    TLeituraNumero Leitura = TLeituraNumero::NaoNumero;
    std::int64_t Valor = 0; // when Valido
};
TNumeroLido LerDecimal(std::string_view texto, std::int64_t minimo, std::int64_t maximo);
// LerDecimal within 32 bits.
std::optional<int> InteiroDecimal(std::string_view texto);

// "'%s' is not a valid integer value": a stored or fetched value that is no whole number.
std::string TextoNaoInteiro(std::string_view texto);
// Why a number a person gave cannot be taken: it is no decimal integer, or too large or too small for what
// takes it, with the limit (UTF-8, like what the person typed).
std::string TextoNumeroRecusado(std::string_view texto, std::int64_t minimo, std::int64_t maximo);

// Decimal digits with at least `digitos` digits, filled with zeros on the left; a minus sign goes first.
std::string FormatarZeros(long long valor, int digitos);

// Brazilian forms: 1234567 gives "1.234.567"; 123456789 cents give "1.234.567,89".
std::string MilharesBrasileiros(long long valor);
std::string ReaisBrasileiros(long long centavos);
