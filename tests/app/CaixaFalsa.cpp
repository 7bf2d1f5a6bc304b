#include "CaixaFalsa.h"

#include "UCp1252.h"

TRespostaMensagem TCaixaFalsa::Mostrar(QWidget*, const std::string& texto, const std::string& titulo,
                                       TIconeMensagem icone, TBotoesMensagem botoes, bool naoPadrao) {
    Chamadas.push_back({Cp1252ParaUtf8(texto), Cp1252ParaUtf8(titulo), icone, botoes, naoPadrao});
    if (AoMostrar)
        AoMostrar(Chamadas.back());
    if (!Respostas.empty()) {
        const TRespostaMensagem resposta = Respostas.front();
        Respostas.pop_front();
        return resposta;
    }
    return botoes == TBotoesMensagem::Ok ? TRespostaMensagem::Ok : TRespostaMensagem::Nao;
}
