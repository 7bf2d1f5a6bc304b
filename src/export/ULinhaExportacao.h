#pragma once

#include "platform/UDataHora.h"

#include <cstdint>
#include <string>
#include <string_view>

// One receivable posting, as it goes into the finance system's file. The texts are the query's own: they live as
// long as its rows.
struct TLancamento {
    std::string_view Chapa; // the customer's badge, code page 1252
    std::string_view Nome;  // the customer's name, code page 1252
    TDataHora Data;
    std::int64_t Numero = 0;   // 0 to MaiorNumeroLancamento
    std::int64_t Centavos = 0; // 0 to MaiorValorCentavos
};

// The widths of the two numbers in the file.
constexpr std::int64_t MaiorNumeroLancamento = 999'999;      // 6 digits
constexpr std::int64_t MaiorValorCentavos = 999'999'999'999; // 12 digits
constexpr int MaiorCodTorvane = 99;                          // 2 digits

// Adds the posting's line of the file to the end of `texto`, 80 bytes and CR LF: the company's Torvane code
// (2 digits), the badge (its first 10 characters, zeros on the left), the name (its first 40 characters, blanks on
// the right), the date (DDMMAAAA), the posting number (6 digits), "01" and the amount in cents (12 digits). Every
// control character of the badge and the name becomes a blank, so that no field can break the line. A number
// outside its field fails, leaving `texto` as it was: it would be cut to another number.
void AcrescentarLinhaExportacao(std::string& texto, const TLancamento& lancamento, int CodTorvane);
