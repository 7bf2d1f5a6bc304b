#include "export/USelecaoExportacao.h"

#include "platform/UCp1252.h"
#include "platform/UTexto.h"

namespace {

std::string Numero(std::string_view digitos) {
    const auto primeiro = digitos.find_first_not_of('0');
    return primeiro == std::string_view::npos ? std::string("0") : std::string(digitos.substr(primeiro));
}

} // namespace

std::int64_t CentavosDaLinha(std::string_view linha) {
    std::int64_t centavos = 0;
    for (const char c : linha.substr(68, 12))
        centavos = centavos * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
    return centavos;
}

TSelecaoExportacao::TCampos CamposDaLinha(std::string_view linha) {
    TSelecaoExportacao::TCampos campos;
    campos.Chapa = linha.substr(2, 10);
    campos.Nome = Aparar(linha.substr(12, 40));
    campos.Data = std::string(linha.substr(52, 2)) + "/" + std::string(linha.substr(54, 2)) + "/" +
                  std::string(linha.substr(56, 4));
    campos.Numero = Numero(linha.substr(60, 6));
    campos.Valor = ReaisBrasileiros(CentavosDaLinha(linha));
    return campos;
}

namespace {

std::string Contagem(std::size_t quantidade, const char* singular, const char* plural) {
    return MilharesBrasileiros(static_cast<long long>(quantidade)) + " " +
           TextoAnsi(quantidade == 1 ? singular : plural);
}

} // namespace

void TSelecaoExportacao::Reservar(std::size_t quantidade) {
    FTexto.reserve(quantidade * TamanhoLinha);
    FItens.reserve(quantidade);
}

void TSelecaoExportacao::Incluir(const TLancamento& lancamento, bool nomeComPerda) {
    AcrescentarLinhaExportacao(FTexto, lancamento, FFiltro.CodTorvane);
    FItens.push_back({static_cast<std::uint32_t>(Linhas() - 1), false, nomeComPerda});
    FTotalCentavos += lancamento.Centavos;
    FNomesComPerda += nomeComPerda ? 1 : 0;
}

void TSelecaoExportacao::Recusar(TRecusado recusado, TRecusa recusa, bool nomeComPerda) {
    recusado.Motivo = recusa.Item;
    FRecusas.Incluir(std::move(recusa));
    FRecusados.push_back(std::move(recusado));
    FItens.push_back({static_cast<std::uint32_t>(FRecusados.size() - 1), true, nomeComPerda});
    FNomesComPerda += nomeComPerda ? 1 : 0;
}

void TSelecaoExportacao::Copiar(const TSelecaoExportacao& outra, std::size_t posicao) {
    const TItem& item = outra.Item(posicao);
    if (item.Recusado) {
        const TRecusado& recusado = outra.Recusado(item.Indice);
        FRecusas.Incluir({recusado.Motivo, recusado.Motivo});
        FRecusados.push_back(recusado);
        FItens.push_back({static_cast<std::uint32_t>(FRecusados.size() - 1), true, item.NomeComPerda});
    } else {
        const std::string_view linha = outra.Linha(item.Indice);
        FTexto.append(linha);
        FTexto.append("\r\n");
        FItens.push_back({static_cast<std::uint32_t>(Linhas() - 1), false, item.NomeComPerda});
        FTotalCentavos += CentavosDaLinha(linha);
    }
    FNomesComPerda += item.NomeComPerda ? 1 : 0;
}

std::string_view TSelecaoExportacao::Linha(std::size_t indice) const {
    return std::string_view(FTexto).substr(indice * TamanhoLinha, TamanhoLinha - 2);
}

TSelecaoExportacao::TCampos TSelecaoExportacao::Campos(std::size_t posicao) const {
    const TItem& item = FItens[posicao];
    TCampos campos;
    if (item.Recusado) {
        const TRecusado& recusado = FRecusados[item.Indice];
        campos = {recusado.Chapa, recusado.Nome, recusado.Data, recusado.Numero, recusado.Valor, recusado.Motivo};
    } else {
        campos = CamposDaLinha(Linha(item.Indice));
    }
    if (item.NomeComPerda)
        campos.Situacao += (campos.Situacao.empty() ? "" : "; ") +
                           TextoAnsi("o nome tem caractere que a página de código 1252 não tem: vai com \"?\"");
    return campos;
}

std::string TSelecaoExportacao::Resumo() const {
    std::string texto =
        Contagem(Linhas(), "lançamento", "lançamentos") + ", total R$ " + ReaisBrasileiros(FTotalCentavos);
    if (!FRecusados.empty())
        texto += "; " + Contagem(FRecusados.size(), "lançamento não pode ir para o arquivo",
                                 "lançamentos não podem ir para o arquivo");
    if (FNomesComPerda > 0)
        texto += "; " + Contagem(FNomesComPerda, "nome vai com \"?\"", "nomes vão com \"?\"");
    return texto;
}
