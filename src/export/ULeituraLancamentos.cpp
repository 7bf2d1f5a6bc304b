#include "export/ULeituraLancamentos.h"

#include "dao/UQuery.h"
#include "dao/UValorFixo.h"
#include "export/UArquivoPerfis.h"
#include "export/UDados.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"

#include <optional>

namespace {

// The amount in whole cents; more than 12 digits would be cut to another amount, so it is refused.
std::int64_t Centavos(std::string_view numlanc, std::optional<std::string_view> texto) {
    if (!texto)
        return 0;
    std::int64_t centavos = -1;
    try {
        centavos = TValorFixo::DoTexto(*texto).CentavosArredondados();
    } catch (const EFalha&) {
    }
    if (centavos < 0 || centavos > MaiorValorCentavos)
        RecusarLancamento(numlanc, TextoAnsi("o valor ") + std::string(*texto) +
                                       TextoAnsi(" não cabe no campo de 12 dígitos do valor em centavos"));
    return centavos;
}

// A stored date that is no date names the posting, as every other refusal does.
TDataHora DataDoLancamento(const TQuery& query, int campo, std::string_view numlanc) {
    try {
        return query.Campo(campo).DataHora();
    } catch (const EFalha& falha) {
        RecusarLancamento(numlanc, falha.what());
    }
}

std::string TextoPerfil(int perfil, const std::string& grupos) {
    return TextoAnsi("O perfil da linha ") + std::to_string(perfil) + TextoAnsi(" do arquivo de perfis (") +
           CaminhoMensagem(TDadosExportacao::ArquivoPerfis()) + TextoAnsi(") tem uma lista de grupos inválida: ") +
           grupos +
           TextoAnsi(". A lista deve ser como (12,15,40). Refaça o vínculo de grupos desse perfil em "
                     "Configurações. Nenhum arquivo foi gravado.");
}

} // namespace

void RecusarLancamento(std::string_view numlanc, const std::string& motivo) {
    const std::string item = TextoAnsi("Lançamento ") + std::string(numlanc) + ": " + motivo;
    throw ELancamentoRecusado({item + TextoAnsi(". Nenhum arquivo foi gravado."), item});
}

void TRecusas::Incluir(TRecusa recusa) {
    if (FRecusas.size() <= MaisNomeados)
        FRecusas.push_back(std::move(recusa));
    ++FTotal;
}

std::string TRecusas::Texto() const {
    std::string texto = FRecusas.front().Mensagem;
    if (FTotal < 2)
        return texto;
    texto += TextoAnsi("\nOutros lançamentos que não podem ir para o arquivo:");
    for (std::size_t i = 1; i < FRecusas.size(); ++i)
        texto += "\n" + FRecusas[i].Item;
    if (const std::size_t mais = FTotal - FRecusas.size(); mais > 0)
        texto += TextoAnsi("\ne mais ") + std::to_string(mais) +
                 (mais == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos"));
    return texto;
}

TCamposLancamento::TCamposLancamento(const TQuery& query)
    : Numlanc(query.IndiceCampo("numlanc")), Datahora(query.IndiceCampo("datahora")), Nome(query.IndiceCampo("nome")),
      Chapa(query.IndiceCampo("chapa")), Valor(query.IndiceCampo("valor")) {}

TLancamento LerLancamento(const TQuery& query, const TCamposLancamento& campos) {
    const auto texto = [&query](int campo) { return query.ValorBruto(campo).value_or(std::string_view()); };
    const std::string_view numlanc = texto(campos.Numlanc);
    TLancamento lancamento;
    lancamento.Data = DataDoLancamento(query, campos.Datahora, numlanc);
    lancamento.Numero = TDadosExportacao::NumeroLancamento(numlanc);
    lancamento.Centavos = Centavos(numlanc, query.ValorBruto(campos.Valor));
    lancamento.Nome = texto(campos.Nome);
    lancamento.Chapa = texto(campos.Chapa);
    return lancamento;
}

namespace {

// Two digits in the file: a larger number would be cut to another company's number.
void ExigirCodTorvane(int CodTorvane) {
    if (CodTorvane < 0 || CodTorvane > MaiorCodTorvane)
        throw EFalha(TextoAnsi("O número da empresa na Torvane (") + std::to_string(CodTorvane) +
                     TextoAnsi(") não cabe no campo de 2 dígitos (0 a 99). Nenhum arquivo foi gravado."));
}

} // namespace

std::string GruposVerificados(int CodTorvane, const std::string& grupos) {
    ExigirCodTorvane(CodTorvane);
    if (!grupos.empty() && !TArquivoPerfis::ListaGruposValida(grupos))
        throw EFalha(TextoAnsi("A lista de grupos ") + grupos + TextoAnsi(" não é válida: deve ser como (12,15,40)."));
    return grupos;
}

std::string GruposDaExportacao(int CodTorvane, int Perfil) {
    ExigirCodTorvane(CodTorvane);
    if (Perfil <= 0)
        return {};
    const std::string grupos = TDadosExportacao::GruposDoPerfil(Perfil);
    // The list goes into the SQL text as it is: a hand-edited file must not change the query.
    if (!TArquivoPerfis::ListaGruposValida(grupos))
        throw EFalha(TextoPerfil(Perfil, grupos));
    return grupos;
}
