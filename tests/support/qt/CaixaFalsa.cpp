#include "support/qt/CaixaFalsa.h"

#include "platform/UCp1252.h"
#include "qtbase/UFalhas.h"

TRespostaMensagem TCaixaFalsa::Mostrar(QWidget*, const std::string& texto, const std::string& titulo,
                                       TIconeMensagem icone, TBotoesMensagem botoes, bool naoPadrao) {
    Chamadas.push_back({Cp1252ParaUtf8(texto), Cp1252ParaUtf8(titulo), icone, botoes, naoPadrao});
    if (AoMostrar)
        AoMostrar(Chamadas.back());
    if (Respostas.empty())
        return botoes == TBotoesMensagem::SimNao || botoes == TBotoesMensagem::SimNaoSomenteNovos
                   ? TRespostaMensagem::Nao
                   : TRespostaMensagem::Ok;
    const TRespostaMensagem resposta = Respostas.front();
    Respostas.pop_front();
    return resposta;
}

std::vector<std::string> TCaixaFalsa::Resumos() const {
    const char* const icones[] = {"informação", "aviso", "parada", "pergunta"};
    std::vector<std::string> resumos;
    for (const TChamada& c : Chamadas) {
        const char* botoes = c.Botoes == TBotoesMensagem::Ok                    ? "OK"
                             : c.Botoes == TBotoesMensagem::OkConfigurarConexao ? "*OK/Configurar conexão…"
                             : c.Botoes == TBotoesMensagem::SimNaoSomenteNovos  ? "Sim/*Não/Somente os novos"
                             : c.NaoPadrao                                      ? "Sim/*Não"
                                                                                : "*Sim/Não";
        resumos.push_back(c.Titulo + " (" + icones[static_cast<int>(c.Icone)] + ", " + botoes + "): " + c.Texto);
    }
    return resumos;
}

std::string TCaixaFalsa::InicioFalhaPadrao() {
    return Cp1252ParaUtf8(TituloAplicacao()) + " (parada, OK): ";
}
