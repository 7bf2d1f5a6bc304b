#include "export/USelecaoExportacao.h"

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

std::string_view TSelecaoExportacao::Linha(std::size_t indice) const {
    return std::string_view(FTexto).substr(indice * TamanhoLinha, TamanhoLinha - 2);
}
