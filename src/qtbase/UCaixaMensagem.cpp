#include "qtbase/UCaixaMensagem.h"

#include "platform/UCp1252.h"
#include "qtbase/UTextoQt.h"

#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace {

TCaixaMensagem CaixaReal;
TCaixaMensagem* CaixaAtual = &CaixaReal;

// Each kind of box: its icon in Qt, and its caption when none is given.
struct TTipoCaixa {
    TIconeMensagem Icone;
    QMessageBox::Icon IconeQt;
    const char* TituloUsual;
};

const TTipoCaixa& Tipo(TIconeMensagem icone) {
    static const TTipoCaixa tipos[] = {{TIconeMensagem::Informacao, QMessageBox::Information, "Informação"},
                                       {TIconeMensagem::Exclamacao, QMessageBox::Warning, "Atenção"},
                                       {TIconeMensagem::Parada, QMessageBox::Critical, "Erro"},
                                       {TIconeMensagem::Pergunta, QMessageBox::Question, "Confirmação"}};
    return *std::find_if(std::begin(tipos), std::end(tipos), [icone](const auto& tipo) { return tipo.Icone == icone; });
}

std::string Titulo(const std::string& titulo, TIconeMensagem icone) {
    return titulo.empty() ? TextoAnsi(Tipo(icone).TituloUsual) : titulo;
}

TRespostaMensagem Mostrar(QWidget* dono, const std::string& texto, const std::string& titulo, TIconeMensagem icone,
                          bool naoPadrao = false) {
    const auto botoes = icone == TIconeMensagem::Pergunta ? TBotoesMensagem::SimNao : TBotoesMensagem::Ok;
    return TCaixaMensagem::Atual().Mostrar(dono, texto, Titulo(titulo, icone), icone, botoes, naoPadrao);
}

} // namespace

void MostrarAviso(QWidget* dono, const std::string& texto, const std::string& titulo) {
    Mostrar(dono, texto, titulo, TIconeMensagem::Exclamacao);
}

void MostrarInformacao(QWidget* dono, const std::string& texto, const std::string& titulo) {
    Mostrar(dono, texto, titulo, TIconeMensagem::Informacao);
}

void MostrarErro(QWidget* dono, const std::string& texto, const std::string& titulo) {
    Mostrar(dono, texto, titulo, TIconeMensagem::Parada);
}

bool Perguntar(QWidget* dono, const std::string& texto, const std::string& titulo, bool naoPadrao) {
    return Mostrar(dono, texto, titulo, TIconeMensagem::Pergunta, naoPadrao) == TRespostaMensagem::Sim;
}

bool AvisarOferecendoConexao(QWidget* dono, const std::string& texto, const std::string& titulo) {
    return TCaixaMensagem::Atual().Mostrar(dono, texto, titulo, TIconeMensagem::Exclamacao,
                                           TBotoesMensagem::OkConfigurarConexao,
                                           false) == TRespostaMensagem::ConfigurarConexao;
}

TRespostaMensagem TCaixaMensagem::Mostrar(QWidget* dono, const std::string& texto, const std::string& titulo,
                                          TIconeMensagem icone, TBotoesMensagem botoes, bool naoPadrao) {
    QMessageBox caixa(dono);
    caixa.setWindowTitle(ParaQString(titulo));
    // Line ends in the texts are CR LF; Qt wants LF alone.
    caixa.setText(ParaQString(texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    caixa.setIcon(Tipo(icone).IconeQt);
    if (botoes == TBotoesMensagem::Ok) {
        caixa.setStandardButtons(QMessageBox::Ok);
        caixa.exec();
        return TRespostaMensagem::Ok;
    }
    if (botoes == TBotoesMensagem::OkConfigurarConexao) {
        // OK stays the default and the answer to Esc: only a deliberate choice opens the connection window.
        QPushButton* configurar = caixa.addButton(QStringLiteral("Configurar conexão…"), QMessageBox::ActionRole);
        configurar->setObjectName(QStringLiteral("btnConfigurarConexao"));
        caixa.setDefaultButton(caixa.addButton(QMessageBox::Ok));
        caixa.setEscapeButton(QMessageBox::Ok);
        caixa.exec();
        return caixa.clickedButton() == configurar ? TRespostaMensagem::ConfigurarConexao : TRespostaMensagem::Ok;
    }
    caixa.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    caixa.setDefaultButton(naoPadrao ? QMessageBox::No : QMessageBox::Yes);
    QPushButton* somenteNovos = nullptr;
    if (botoes == TBotoesMensagem::SimNaoSomenteNovos) {
        somenteNovos = caixa.addButton(QStringLiteral("Somente os novos"), QMessageBox::ActionRole);
        // Esc stays "Não": Qt takes the one button of the No role for it.
        somenteNovos->setObjectName(QStringLiteral("btnSomenteNovos"));
    }
    const int resposta = caixa.exec();
    if (somenteNovos && caixa.clickedButton() == somenteNovos)
        return TRespostaMensagem::SomenteNovos;
    return resposta == QMessageBox::Yes ? TRespostaMensagem::Sim : TRespostaMensagem::Nao;
}

TCaixaMensagem& TCaixaMensagem::Atual() {
    return *CaixaAtual;
}

void TCaixaMensagem::Definir(TCaixaMensagem* caixa) {
    CaixaAtual = caixa ? caixa : &CaixaReal;
}
