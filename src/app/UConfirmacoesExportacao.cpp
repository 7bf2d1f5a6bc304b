#include "app/UConfirmacoesExportacao.h"

#include "export/UHistoricoExportacao.h"
#include "platform/UCp1252.h"
#include "qtbase/UCaixaMensagem.h"

namespace {

std::string Juntar(const std::vector<std::string>& partes, const char* separador) {
    std::string texto;
    for (const std::string& parte : partes)
        texto += (texto.empty() ? "" : separador) + parte;
    return texto;
}

} // namespace

bool TConfirmacoesExportacao::ConfirmarCodigos(QWidget* dono, const std::vector<TEmpresaPedida>& empresas) {
    std::vector<std::string> textos;
    for (const TEmpresaPedida& empresa : empresas)
        if (std::string pergunta =
                THistoricoExportacao::CodigoDeOutraEmpresa(empresa.Pedido.Empresa, empresa.Pedido.CodTorvane);
            !pergunta.empty())
            textos.push_back(std::move(pergunta));
    for (std::size_t i = 0; i < empresas.size(); ++i)
        for (std::size_t j = i + 1; j < empresas.size(); ++j)
            if (empresas[i].Pedido.CodTorvane == empresas[j].Pedido.CodTorvane)
                textos.push_back(TextoAnsi("As empresas ") + empresas[i].Nome + " e " + empresas[j].Nome +
                                 TextoAnsi(" iriam com o mesmo código Torvane ") +
                                 std::to_string(empresas[i].Pedido.CodTorvane) + ".");
    if (textos.empty())
        return true;
    std::string texto = Juntar(textos, "\n\n");
    if (texto.back() != '?')
        texto += "\n\nGerar assim mesmo?";
    return Perguntar(dono, texto, {}, true);
}

bool TConfirmacoesExportacao::ConfirmarNovamente(QWidget* dono, const std::vector<TEmpresaPedida>& empresas) {
    return PerguntarNovamente(dono, empresas, false) == TEnvioNovamente::Todos;
}

TEnvioNovamente TConfirmacoesExportacao::EscolherEnvio(QWidget* dono, const TEmpresaPedida& empresa) {
    return PerguntarNovamente(dono, {empresa}, true);
}

TEnvioNovamente TConfirmacoesExportacao::PerguntarNovamente(QWidget* dono, const std::vector<TEmpresaPedida>& empresas,
                                                            bool novos) {
    std::vector<std::string> exportacoes;
    std::string aviso;
    for (const TEmpresaPedida& empresa : empresas) {
        const TPedidoExportacao& pedido = empresa.Pedido;
        const TAvisoHistorico anteriores =
            THistoricoExportacao::ExportacoesAnteriores(pedido.Empresa, *pedido.DataInicial, *pedido.DataFinal);
        if (!anteriores.Exportacoes.empty())
            exportacoes.push_back((empresa.Nome.empty() ? "" : "Empresa " + empresa.Nome + ". ") +
                                  anteriores.Exportacoes);
        // The record is one for every company: what it says of itself is said once.
        if (aviso.empty())
            aviso = anteriores.Aviso;
    }
    if (exportacoes.empty()) {
        if (!aviso.empty())
            MostrarAviso(dono, aviso);
        return TEnvioNovamente::Todos;
    }
    std::string texto = Juntar(exportacoes, "\n\n") + "\n";
    if (!aviso.empty())
        texto += aviso + "\n";
    texto += empresas.size() > 1 ? "Gerar os arquivos novamente?" : "Gerar o arquivo novamente?";
    switch (TCaixaMensagem::Atual().Mostrar(dono, texto, TextoAnsi("Confirmação"), TIconeMensagem::Pergunta,
                                            novos ? TBotoesMensagem::SimNaoSomenteNovos : TBotoesMensagem::SimNao,
                                            true)) {
    case TRespostaMensagem::Sim:
        return TEnvioNovamente::Todos;
    case TRespostaMensagem::SomenteNovos:
        return TEnvioNovamente::SomenteNovos;
    default:
        return TEnvioNovamente::Cancelado;
    }
}
