#include "export/ULinhaExportacao.h"

#include "export/UDados.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <string_view>

namespace {

std::string SemControles(std::string_view campo) {
    std::string texto(campo);
    for (char& c : texto)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return texto;
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
    const std::string nome = SemControles(std::string_view(lancamento.Nome).substr(0, 40));

    std::string linha;
    linha.reserve(82);
    linha += FormatarZeros(CodTorvane, 2);
    linha +=
        TDadosExportacao::CompletarEsquerda(SemControles(std::string_view(lancamento.Chapa).substr(0, 10)), 10, '0');
    linha += nome;
    linha.append(40 - nome.size(), ' ');
    linha += FormatarZeros(lancamento.Data.Dia, 2);
    linha += FormatarZeros(lancamento.Data.Mes, 2);
    linha += FormatarZeros(lancamento.Data.Ano, 4);
    linha += FormatarZeros(lancamento.Numero, 6);
    linha += "01";
    linha += FormatarZeros(lancamento.Centavos, 12);
    linha += "\r\n";
    return linha;
}
