#include "export/ULinhaExportacao.h"

#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <string_view>

namespace {

// The line is built in place, a byte at a time: it is made once for every posting, and a string for each field
// would cost more than everything else the export does with it.
void AcrescentarSemControles(std::string& linha, std::string_view campo) {
    for (const char c : campo)
        linha += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
}

// As FormatarZeros: at least `digitos` digits, zeros on the left.
void AcrescentarZeros(std::string& linha, std::int64_t valor, int digitos) {
    if (valor < 0) {
        linha += FormatarZeros(valor, digitos);
        return;
    }
    char invertidos[20];
    int quantos = 0;
    do {
        invertidos[quantos++] = static_cast<char>('0' + valor % 10);
        valor /= 10;
    } while (valor > 0);
    if (quantos < digitos)
        linha.append(static_cast<std::size_t>(digitos - quantos), '0');
    while (quantos > 0)
        linha += invertidos[--quantos];
}

void ExigirLargura(std::int64_t valor, std::int64_t maior, const char* campo) {
    if (valor < 0 || valor > maior)
        throw EFalha(std::string(campo) + " " + std::to_string(valor) + " fora do campo (0 a " + std::to_string(maior) +
                     ")");
}

} // namespace

std::string LinhaExportacao(const TLancamento& lancamento, int CodTorvane) {
    ExigirLargura(CodTorvane, MaiorCodTorvane, "CodTorvane");
    ExigirLargura(lancamento.Numero, MaiorNumeroLancamento, "Numero");
    ExigirLargura(lancamento.Centavos, MaiorValorCentavos, "Centavos");
    const std::string_view chapa = std::string_view(lancamento.Chapa).substr(0, 10);
    const std::string_view nome = std::string_view(lancamento.Nome).substr(0, 40);

    std::string linha;
    linha.reserve(82);
    AcrescentarZeros(linha, CodTorvane, 2);
    linha.append(10 - chapa.size(), '0');
    AcrescentarSemControles(linha, chapa);
    AcrescentarSemControles(linha, nome);
    linha.append(40 - nome.size(), ' ');
    AcrescentarZeros(linha, lancamento.Data.Dia, 2);
    AcrescentarZeros(linha, lancamento.Data.Mes, 2);
    AcrescentarZeros(linha, lancamento.Data.Ano, 4);
    AcrescentarZeros(linha, lancamento.Numero, 6);
    linha += "01";
    AcrescentarZeros(linha, lancamento.Centavos, 12);
    linha += "\r\n";
    return linha;
}
