#include "CaixaFalsa.h"
#include "TestDb.h"

#include "UCp1252.h"
#include "UDados.h"
#include "UDao.h"
#include "UFMain.h"
#include "UInicializacao.h"
#include "UPastaPrograma.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <exception>
#include <string>

namespace {

bool AlgumaJanelaVisivel() {
    for (const QWidget* janela : QApplication::topLevelWidgets())
        if (janela->isVisible())
            return true;
    return false;
}

// The client's own text for the connection the settings file describes.
std::string FalhaDoCliente() {
    try {
        TDao::Conectar("", "ip");
    } catch (const std::exception& erro) {
        return Cp1252ParaUtf8(erro.what());
    }
    return {};
}

class TTesteInicioSemServidor : public ::testing::Test {
protected:
    void SetUp() override { DefinirPastaPrograma(FPasta.Caminho()); }
    void TearDown() override {
        TDadosExportacao::DefinirConexao(nullptr);
        DefinirPastaPrograma("");
    }

    TPastaTemporaria FPasta;
    TCaixaFalsa FCaixa;
};

TEST_F(TTesteInicioSemServidor, Iniciar_ServerUnreachable_ShowsFalhaAndEndsWithoutWindow) {
    // Nothing listens on port 1 of the loopback address: the client refuses at once.
    GravarBinario(FPasta.Sistema() / "sistema_qor.ini",
                  "[ip]\r\nlocal=127.0.0.1\r\ndatabase=nenhum\r\nusuario=ninguem\r\nPorta=1\r\nsenha=\r\n");
    const std::string cliente = FalhaDoCliente();
    ASSERT_FALSE(cliente.empty());

    bool janelaVisivel = false;
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) { janelaVisivel = AlgumaJanelaVisivel(); };
    const int codigo = Iniciar(*qApp);

    EXPECT_EQ(codigo, 0);
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    const auto& caixa = FCaixa.Chamadas[0];
    EXPECT_EQ(caixa.Texto, "Erro ao conectar com o banco de dados.\r\nDescrição do Erro: " + cliente)
        << "the client's text goes on unchanged, with nothing appended";
    EXPECT_EQ(caixa.Titulo, "Falha");
    EXPECT_EQ(caixa.Icone, TIconeMensagem::Exclamacao);
    EXPECT_EQ(caixa.Botoes, TBotoesMensagem::Ok);
    EXPECT_FALSE(janelaVisivel);
    EXPECT_FALSE(AlgumaJanelaVisivel());
    EXPECT_EQ(TDadosExportacao::GetConexao(), nullptr);
}

class TTesteInicio : public TTesteBanco {
protected:
    void TearDown() override {
        qApp->setQuitOnLastWindowClosed(false);
        TTesteBanco::TearDown();
    }
    TCaixaFalsa FCaixa;
};

TEST_F(TTesteInicio, Iniciar_ServerReachable_ShowsMainWindowUntilItCloses) {
    GravarSistemaQorIni("[FilialMatriz]\r\nCodFisica=1\r\n");
    TDadosExportacao::DefinirConexao(nullptr);
    qApp->setQuitOnLastWindowClosed(true);

    QString conectado;
    bool fechou = false;
    // Runs once the event loop has started: the main window is then up.
    QTimer::singleShot(0, [&] {
        for (QWidget* janela : QApplication::topLevelWidgets()) {
            auto* principal = qobject_cast<TFMain*>(janela);
            if (principal && principal->isVisible()) {
                conectado = principal->findChild<QLabel*>(QStringLiteral("lblDataBase"))->text();
                fechou = principal->close();
            }
        }
        if (!fechou)
            QCoreApplication::exit(1);
    });
    const int codigo = Iniciar(*qApp);

    EXPECT_EQ(codigo, 0);
    EXPECT_TRUE(fechou) << "the main window was shown and closed on request";
    EXPECT_EQ(conectado.toStdString(), "Conectado à " + NomeBanco() + " em (" + Servidor().Host + ")");
    ASSERT_NE(TDadosExportacao::GetConexao(), nullptr) << "the shared connection stays open";
    EXPECT_EQ(TDadosExportacao::GetConexao()->Database(), NomeBanco());
    EXPECT_TRUE(FCaixa.Chamadas.empty());
    EXPECT_FALSE(AlgumaJanelaVisivel());
}

} // namespace
