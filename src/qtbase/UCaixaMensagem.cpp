#include "qtbase/UCaixaMensagem.h"

#include "platform/UCp1252.h"
#include "qtbase/UTextoQt.h"

#include <QMessageBox>

namespace {

TCaixaMensagem CaixaReal;
TCaixaMensagem* CaixaAtual = &CaixaReal;

std::string Titulo(const std::string& titulo, const char* usual) {
    return titulo.empty() ? TextoAnsi(usual) : titulo;
}

void MostrarOk(QWidget* dono, const std::string& texto, const std::string& titulo, TIconeMensagem icone) {
    TCaixaMensagem::Atual().Mostrar(dono, texto, titulo, icone, TBotoesMensagem::Ok, false);
}

} // namespace

void MostrarAviso(QWidget* dono, const std::string& texto, const std::string& titulo) {
    MostrarOk(dono, texto, Titulo(titulo, "Atenção"), TIconeMensagem::Exclamacao);
}

void MostrarInformacao(QWidget* dono, const std::string& texto, const std::string& titulo) {
    MostrarOk(dono, texto, Titulo(titulo, "Informação"), TIconeMensagem::Informacao);
}

void MostrarErro(QWidget* dono, const std::string& texto, const std::string& titulo) {
    MostrarOk(dono, texto, Titulo(titulo, "Erro"), TIconeMensagem::Parada);
}

bool Perguntar(QWidget* dono, const std::string& texto, const std::string& titulo, bool naoPadrao) {
    return TCaixaMensagem::Atual().Mostrar(dono, texto, Titulo(titulo, "Confirmação"), TIconeMensagem::Pergunta,
                                           TBotoesMensagem::SimNao, naoPadrao) == TRespostaMensagem::Sim;
}

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
