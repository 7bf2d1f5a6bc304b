#include "support/TestDb.h"
#include "support/qt/CaixaFalsa.h"
#include "support/qt/JanelasTeste.h"

#include "app/UFMain.h"
#include "app/UInicializacao.h"
#include "dao/UDao.h"
#include "export/UDados.h"
#include "platform/UCp1252.h"

#include <QLabel>

#include <exception>
#include <string>
#include <vector>

namespace {

bool AlgumaJanelaVisivel() {
    for (const QWidget* janela : QApplication::topLevelWidgets())
        if (janela->isVisible())
            return true;
    return false;
}

class TTesteInicio : public TTesteBanco {
protected:
    void TearDown() override {
        qApp->setQuitOnLastWindowClosed(false);
        TTesteBanco::TearDown();
    }
    TCaixaFalsa FCaixa;
};

TEST_F(TTesteInicio, Iniciar_ServerUnreachable_ShowsFalhaAndEndsWithoutWindow) {
    // Nothing listens on port 1 of the loopback address: the client refuses at once.
    GravarBinario(FPasta.Sistema() / "sistema_qor.ini",
                  "[ip]\r\nlocal=127.0.0.1\r\ndatabase=nenhum\r\nusuario=ninguem\r\nPorta=1\r\nsenha=\r\n");
    std::string cliente;
    try {
        TDao::Conectar("", "ip");
    } catch (const std::exception& erro) {
        cliente = Cp1252ParaUtf8(erro.what());
    }
    ASSERT_FALSE(cliente.empty());

    TDadosExportacao::DefinirConexao(nullptr);
    bool janelaVisivel = false;
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) { janelaVisivel = AlgumaJanelaVisivel(); };
    EXPECT_EQ(Iniciar(*qApp), 0);
    // The client's text goes on unchanged, with nothing appended.
    EXPECT_EQ(FCaixa.Resumos(), std::vector<std::string>{"Falha (aviso, OK): Erro ao conectar com o banco de "
                                                         "dados.\r\nDescrição do Erro: " +
                                                         cliente});
    EXPECT_FALSE(janelaVisivel);
    EXPECT_FALSE(AlgumaJanelaVisivel());
    EXPECT_EQ(TDadosExportacao::GetConexao(), nullptr);
}

TEST_F(TTesteInicio, Iniciar_ServerReachable_ShowsMainWindowUntilItCloses) {
    GravarSistemaQorIni("[FilialMatriz]\r\nCodFisica=1\r\n");
    TDadosExportacao::DefinirConexao(nullptr);
    qApp->setQuitOnLastWindowClosed(true);
    QString conectado;
    bool fechou = false;
    // Runs once the event loop has started: the main window is then up.
    QTimer::singleShot(0, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets())
            if (qobject_cast<TFMain*>(janela) && janela->isVisible()) {
                conectado = Controle<QLabel>(*janela, "lblDataBase").text();
                fechou = janela->close();
            }
        if (!fechou)
            QCoreApplication::exit(1);
    });
    EXPECT_EQ(Iniciar(*qApp), 0);
    EXPECT_TRUE(fechou) << "the main window was shown and closed on request";
    EXPECT_EQ(conectado.toStdString(), "Conectado à " + NomeBanco() + " em (" + Servidor().Host + ")");
    ASSERT_NE(TDadosExportacao::GetConexao(), nullptr) << "the shared connection stays open";
    EXPECT_EQ(TDadosExportacao::GetConexao()->Database(), NomeBanco());
    EXPECT_TRUE(FCaixa.Chamadas.empty());
    EXPECT_FALSE(AlgumaJanelaVisivel());
}

} // namespace
