#include "app/UInicializacao.h"

#include "app/UFMain.h"
#include "export/UDados.h"
#include "platform/UCp1252.h"
#include "qtbase/UCaixaMensagem.h"

#include <QApplication>

#include <exception>

int Iniciar(QApplication& aplicacao) {
    try {
        TDadosExportacao::AbrirConexao();
    } catch (const std::exception& erro) {
        // The client's text goes on exactly as it came: no full stop is added here.
        MostrarAviso(nullptr,
                     TextoAnsi("Erro ao conectar com o banco de dados.") + "\r\n" + TextoAnsi("Descrição do Erro: ") +
                         erro.what(),
                     "Falha");
        return 0;
    }
    TFMain janela;
    janela.show();
    aplicacao.exec();
    return 0;
}
