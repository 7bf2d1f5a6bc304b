#include "export/ULinhaExportacao.h"

#include "platform/UErro.h"

#include <string_view>

namespace {

// The line is written in place, into its fixed positions: it is made once for every posting, and a string for each
// field would cost more than everything else the export does with it.
char* SemControles(char* destino, std::string_view campo) {
    for (const char c : campo)
        *destino++ = static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
    return destino;
}

// The number in its field, zeros on the left; it fits, as ExigirLargura has seen.
void Zeros(char* campo, std::int64_t valor, int digitos) {
    for (int i = digitos - 1; i >= 0; --i) {
        campo[i] = static_cast<char>('0' + valor % 10);
        valor /= 10;
    }
}

void ExigirLargura(std::int64_t valor, std::int64_t maior, const char* campo) {
    if (valor < 0 || valor > maior)
        throw EFalha(std::string(campo) + " " + std::to_string(valor) + " fora do campo (0 a " + std::to_string(maior) +
                     ")");
}

} // namespace

void AcrescentarLinhaExportacao(std::string& texto, const TLancamento& lancamento, int CodTorvane) {
    ExigirLargura(CodTorvane, MaiorCodTorvane, "CodTorvane");
    ExigirLargura(lancamento.Numero, MaiorNumeroLancamento, "Numero");
    ExigirLargura(lancamento.Centavos, MaiorValorCentavos, "Centavos");
    // A stored date always fits; a day past these would make a longer line.
    ExigirLargura(lancamento.Data.Dia, 99, "Dia");
    ExigirLargura(lancamento.Data.Mes, 99, "Mes");
    ExigirLargura(lancamento.Data.Ano, 9999, "Ano");
    const std::string_view chapa = lancamento.Chapa.substr(0, 10);
    const std::string_view nome = lancamento.Nome.substr(0, 40);

    texto.resize(texto.size() + 82, ' ');
    char* const l = texto.data() + texto.size() - 82;
    Zeros(l, CodTorvane, 2);
    Zeros(l + 2, 0, static_cast<int>(10 - chapa.size()));
    SemControles(l + 12 - chapa.size(), chapa);
    SemControles(l + 12, nome); // blanks after it, to 40 bytes
    Zeros(l + 52, lancamento.Data.Dia, 2);
    Zeros(l + 54, lancamento.Data.Mes, 2);
    Zeros(l + 56, lancamento.Data.Ano, 4);
    Zeros(l + 60, lancamento.Numero, 6);
    l[66] = '0';
    l[67] = '1';
    Zeros(l + 68, lancamento.Centavos, 12);
    l[80] = '\r';
    l[81] = '\n';
}
