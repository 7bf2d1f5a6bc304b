#include "JanelasTeste.h"

#include <QDeadlineTimer>
#include <QWidget>

TRespostaMensagem TCaixaFalsa::Mostrar(QWidget*, const std::string& texto, const std::string& titulo,
                                       TIconeMensagem icone, TBotoesMensagem botoes, bool) {
    Chamadas.push_back({texto, titulo, icone, botoes});
    if (Respostas.empty())
        return botoes == TBotoesMensagem::Ok ? TRespostaMensagem::Ok : TRespostaMensagem::Nao;
    const TRespostaMensagem resposta = Respostas.front();
    Respostas.pop_front();
    return resposta;
}

bool Esperar(const std::function<bool()>& condicao) {
    QDeadlineTimer prazo(5000);
    while (!condicao()) {
        if (prazo.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

std::vector<QWidget*> OrdemDeTabulacao(QWidget* primeiro) {
    std::vector<QWidget*> ordem{primeiro};
    for (QWidget* controle = primeiro->nextInFocusChain(); controle != primeiro;
         controle = controle->nextInFocusChain())
        if ((controle->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && controle->isEnabled() && !controle->isWindow())
            ordem.push_back(controle);
    return ordem;
}
