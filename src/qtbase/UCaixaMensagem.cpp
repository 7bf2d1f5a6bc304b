#include "qtbase/UCaixaMensagem.h"

#include "qtbase/UTextoQt.h"

#include <QMessageBox>

namespace {
TCaixaMensagem CaixaReal;
TCaixaMensagem* CaixaAtual = &CaixaReal;
} // namespace

TRespostaMensagem TCaixaMensagem::Mostrar(QWidget* dono, const std::string& texto, const std::string& titulo,
                                          TIconeMensagem icone, TBotoesMensagem botoes, bool naoPadrao) {
    QMessageBox caixa(dono);
    caixa.setWindowTitle(ParaQString(titulo));
    // Line ends in the texts are CR LF; Qt wants LF alone.
    caixa.setText(ParaQString(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icone) {
    case TIconeMensagem::Informacao:
        caixa.setIcon(QMessageBox::Information);
        break;
    case TIconeMensagem::Exclamacao:
        caixa.setIcon(QMessageBox::Warning);
        break;
    case TIconeMensagem::Parada:
        caixa.setIcon(QMessageBox::Critical);
        break;
    case TIconeMensagem::Pergunta:
        caixa.setIcon(QMessageBox::Question);
        break;
    }
    if (botoes == TBotoesMensagem::Ok) {
        caixa.setStandardButtons(QMessageBox::Ok);
        caixa.exec();
        return TRespostaMensagem::Ok;
    }
    caixa.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    caixa.setDefaultButton(naoPadrao ? QMessageBox::No : QMessageBox::Yes);
    return caixa.exec() == QMessageBox::Yes ? TRespostaMensagem::Sim : TRespostaMensagem::Nao;
}

TCaixaMensagem& TCaixaMensagem::Atual() {
    return *CaixaAtual;
}

void TCaixaMensagem::Definir(TCaixaMensagem* caixa) {
    CaixaAtual = caixa ? caixa : &CaixaReal;
}
