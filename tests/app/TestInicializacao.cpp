#include "support/TestDb.h"
#include "support/qt/CaixaFalsa.h"
#include "support/qt/JanelasTeste.h"

#include "app/UFConexao.h"
#include "app/UFMain.h"
#include "app/UInicializacao.h"
#include "dao/UDao.h"
#include "export/UDados.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
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
    EXPECT_EQ(FCaixa.Resumos(), std::vector<std::string>{"Falha (aviso, *OK/Configurar conexão…): Erro ao conectar "
                                                         "com o banco de dados.\r\nDescrição do Erro: " +
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

TEST_F(TTesteInicio, Iniciar_NoSettingsFile_NamesTheFoldersSearched_AndTheConnectionSetUpFromTheBoxStartsTheProgram) {
    const auto programa = FPasta.Sistema() / "programa";
    const auto usuario = FPasta.Sistema() / "usuario";
    const auto maquina = FPasta.Sistema() / "maquina";
    std::filesystem::create_directory(programa);
    DefinirPastaPrograma(programa);
    DefinirPastasConfiguracao(usuario, maquina);
    TDadosExportacao::DefinirConexao(nullptr);
    qApp->setQuitOnLastWindowClosed(true);

    // The first window is left with Esc, which brings the failure back; the second is filled in and saved.
    const std::vector<std::function<void(TFConexao&)>> janelas = {
        [](TFConexao& janela) { QTest::keyClick(&janela, Qt::Key_Escape); },
        [this](TFConexao& janela) {
            const std::pair<const char*, std::string> campos[] = {
                {"EditServidor", Servidor().Host}, {"EditPorta", std::to_string(Servidor().Porta)},
                {"EditBanco", NomeBanco()},        {"EditUsuario", Servidor().Usuario},
                {"EditSenha", Servidor().Senha},   {"EditFilial", "1"}};
            for (const auto& [nome, valor] : campos) {
                QLineEdit& campo = Controle<QLineEdit>(janela, nome);
                campo.setFocus();
                QTest::keyClick(&campo, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(&campo, QString::fromStdString(valor));
            }
            QTest::keyClick(&Controle<QWidget>(janela, "btnSalvar"), Qt::Key_Return);
        }};
    std::vector<std::unique_ptr<TAoAbrir<TFConexao>>> abertas;
    FCaixa.Respostas = {TRespostaMensagem::ConfigurarConexao, TRespostaMensagem::ConfigurarConexao};
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) {
        if (abertas.size() < janelas.size())
            abertas.push_back(std::make_unique<TAoAbrir<TFConexao>>(janelas[abertas.size()]));
    };
    // Once the main window is up, its status strip is read and it is closed, which ends the event loop.
    QString conectado;
    const auto esperando = std::make_shared<bool>(true);
    std::function<void()> fecharPrincipal = [&conectado, &fecharPrincipal, esperando] {
        if (!*esperando)
            return;
        for (QWidget* janela : QApplication::topLevelWidgets())
            if (qobject_cast<TFMain*>(janela) && janela->isVisible()) {
                conectado = Controle<QLabel>(*janela, "lblDataBase").text();
                janela->close();
                return;
            }
        QTimer::singleShot(10, fecharPrincipal);
    };
    QTimer::singleShot(0, fecharPrincipal);

    EXPECT_EQ(Iniciar(*qApp), 0);
    *esperando = false;
    ASSERT_EQ(FCaixa.Chamadas.size(), 2u);
    const std::string& texto = FCaixa.Chamadas[0].Texto;
    EXPECT_EQ(texto.rfind("Erro ao conectar com o banco de dados.\r\nDescrição do Erro: ", 0), 0u) << texto;
    const std::string pastas = "\r\nNenhum sistema_qor.ini foi encontrado em: " + CaminhoUtf8(programa) + ", " +
                               CaminhoUtf8(usuario) + " e " + CaminhoUtf8(maquina) + ".";
    EXPECT_EQ(texto.substr(texto.size() - std::min(texto.size(), pastas.size())), pastas);
    EXPECT_EQ(FCaixa.Chamadas[1].Texto, texto) << "leaving the window without saving shows the failure again";
    EXPECT_EQ(FCaixa.Chamadas[0].Botoes, TBotoesMensagem::OkConfigurarConexao);
    EXPECT_EQ(abertas.size(), 2u);
    EXPECT_EQ(conectado.toStdString(), "Conectado à " + NomeBanco() + " em (" + Servidor().Host + ")");
    EXPECT_TRUE(ArquivoExiste(usuario / "sistema_qor.ini"));
    EXPECT_FALSE(AlgumaJanelaVisivel());
}

} // namespace
