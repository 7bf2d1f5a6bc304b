#include "app/UInicializacao.h"

#include "app/UFConexao.h"
#include "app/UFMain.h"
#include "dao/UArquivoConexao.h"
#include "export/UDados.h"
#include "qtbase/UCaixaMensagem.h"
#include "qtbase/UFalhas.h"

#include <QApplication>

#include <exception>
#include <string>

namespace {

std::string TextoFalha(const std::string& erro) {
    std::string texto = TextoFalhaConexao(erro);
    if (!TArquivoConexao::EmUso().Existe())
        texto += "\r\n" + TArquivoConexao::TextoNaoEncontrado();
    return texto;
}

bool AbrirConexao(std::string& falha) {
    try {
        TDadosExportacao::AbrirConexao();
        return true;
    } catch (const std::exception& erro) {
        falha = erro.what();
        return false;
    }
}

// True once the user has saved new settings.
bool ConfigurarConexao() {
    bool salvou = false;
    ExecutarTratando(nullptr, [&salvou] {
        TFConexao janela(nullptr);
        salvou = janela.exec() == QDialog::Accepted;
    });
    return salvou;
}

// Opens the shared connection. While it fails the user is told why and may set the connection up: new
// settings are tried at once, and leaving the window without saving shows the failure again. False when the
// user gives up.
bool Conectar() {
    std::string falha;
    while (!AbrirConexao(falha)) {
        do {
            if (!AvisarOferecendoConexao(nullptr, TextoFalha(falha), "Falha"))
                return false;
        } while (!ConfigurarConexao());
    }
    return true;
}

} // namespace

int Iniciar(QApplication& aplicacao) {
    if (!Conectar())
        return 0;
    TFMain janela;
    janela.show();
    aplicacao.exec();
    return 0;
}
