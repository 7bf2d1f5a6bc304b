#include "support/TestDb.h"
#include "support/qt/CaixaFalsa.h"
#include "support/qt/JanelasTeste.h"

#include "app/UFConexao.h"
#include "dao/UArquivoConexao.h"
#include "dao/UDao.h"
#include "export/UHistoricoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UIni.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"
#include "qtbase/UTextoQt.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

// Values of the machine's file, which the window shows and which are never written.
const std::string ArquivoMaquina = "[ip]\r\nlocal=servidor-loja\r\ndatabase=loja\r\nusuario=caixa\r\nPorta=3307\r\n"
                                   "senha=AE698FA058FC37ED\r\nOutra=fica\r\n[FilialMatriz]\r\nCodFisica=3\r\n"
                                   "[Impressora]\r\nModelo=termica\r\n";

// The program, the user's and the machine's folders apart, each in the test's folder; only the first exists.
class TTesteConexao : public TTesteBanco {
protected:
    void Preparar() override {
        std::filesystem::create_directory(Programa());
        DefinirPastaPrograma(Programa());
        DefinirPastasConfiguracao(Usuario(), Maquina());
    }

    void TearDown() override {
        FJanela.reset();
        TTesteBanco::TearDown();
    }

    std::filesystem::path Programa() const { return FPasta.Sistema() / "programa"; }
    std::filesystem::path Usuario() const { return FPasta.Sistema() / "usuario"; }
    std::filesystem::path Maquina() const { return FPasta.Sistema() / "maquina"; }

    void Gravar(const std::filesystem::path& pasta, const std::string& texto) {
        std::filesystem::create_directories(pasta);
        GravarBinario(pasta / "sistema_qor.ini", texto);
    }

    void Abrir() {
        FJanela = std::make_unique<TFConexao>(nullptr);
        FJanela->show();
        FJanela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FJanela.get()));
    }

    template <class T = QLineEdit> T& Controle(const char* nome) { return ::Controle<T>(*FJanela, nome); }
    std::string Texto(const char* nome) { return Controle(nome).text().toStdString(); }
    QString Foco() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }

    // Replaces what the field holds with the keys typed; a letter beyond ASCII comes as text without a key.
    void Digitar(const char* nome, const std::string& texto) {
        QLineEdit& campo = Controle(nome);
        campo.setFocus();
        QTest::keyClick(&campo, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&campo, Qt::Key_Delete);
        for (const QChar letra : QString::fromStdString(texto))
            QTest::sendKeyEvent(QTest::Click, &campo,
                                letra.unicode() < 0x80 ? Qt::Key(letra.toUpper().unicode()) : Qt::Key_unknown,
                                QString(letra), Qt::NoModifier);
    }
    // Enter on the button, as the user presses it; the boxes it showed.
    std::vector<std::string> Pressionar(const char* botao) {
        FCaixa.Chamadas.clear();
        Controle<QPushButton>(botao).setFocus();
        QTest::keyClick(&Controle<QPushButton>(botao), Qt::Key_Return);
        return FCaixa.Resumos();
    }

    TCaixaFalsa FCaixa;
    std::unique_ptr<TFConexao> FJanela;
};

std::string ErroDoCliente(const TServidorTeste& servidor, int porta) {
    try {
        TDao::CriarConexao(servidor.Host, "", servidor.Usuario, servidor.Senha, porta);
    } catch (const std::exception& erro) {
        return Cp1252ParaUtf8(erro.what());
    }
    return "<connected>";
}

TEST_F(TTesteConexao, ByKeys_TestsTheTypedValuesSavingNothing_ThenSavesThemForTheUser) {
    Abrir();
    EXPECT_EQ(FJanela->windowTitle(), QStringLiteral("Conexão com o banco de dados"));
    // No file anywhere: the values the program tries without one.
    EXPECT_EQ(Texto("EditServidor"), "");
    EXPECT_EQ(Texto("EditPorta"), "3306");
    EXPECT_EQ(Texto("EditUsuario"), "root");
    EXPECT_EQ(Texto("EditSenha"), "");
    EXPECT_FALSE(Controle<QLabel>("lblSenhaGravada").isVisible()) << "no password is stored";
    EXPECT_EQ(Controle("EditSenha").echoMode(), QLineEdit::Password);

    // Each field typed into and left with Tab, in the window's order.
    const std::vector<std::pair<const char*, std::string>> campos = {
        {"EditServidor", Servidor().Host}, {"EditPorta", std::to_string(Servidor().Porta)},
        {"EditBanco", NomeBanco()},        {"EditUsuario", Servidor().Usuario},
        {"EditSenha", Servidor().Senha},   {"EditFilial", "1"}};
    Controle("EditServidor").setFocus();
    for (const auto& [nome, valor] : campos) {
        ASSERT_EQ(Foco(), QString::fromLatin1(nome));
        Digitar(nome, valor);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char* seguinte : {"cbPortatil", "btnTestar", "btnSalvar", "btnCancelar"}) {
        EXPECT_EQ(Foco(), QString::fromLatin1(seguinte));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }

    const std::string versao =
        Cp1252ParaUtf8(VarParaTexto(TDao::ConsultarValor(Conexao(), "SELECT VERSION()", std::string(), true)));
    EXPECT_EQ(Pressionar("btnTestar"),
              std::vector<std::string>{"Informação (informação, OK): Conectado a " + NomeBanco() + " em " +
                                       Servidor().Host + " (" + versao + ")"});
    Digitar("EditPorta", "1");
    EXPECT_EQ(Pressionar("btnTestar"), std::vector<std::string>{"Atenção (aviso, OK): Erro ao conectar com o banco de "
                                                                "dados.\r\nDescrição do Erro: " +
                                                                ErroDoCliente(Servidor(), 1)});
    EXPECT_FALSE(std::filesystem::exists(Usuario())) << "testing saves nothing";
    EXPECT_TRUE(FJanela->isVisible());

    Digitar("EditPorta", std::to_string(Servidor().Porta));
    EXPECT_TRUE(Pressionar("btnSalvar").empty());
    EXPECT_FALSE(FJanela->isVisible());
    EXPECT_EQ(FJanela->result(), QDialog::Accepted);
    const auto arquivo = Usuario() / "sistema_qor.ini";
    EXPECT_EQ(TDao::CaminhoArquivoIni(""), arquivo) << "the file the program reads from now on";
    const TParametrosConexao lidos = TDao::LerParametrosConexao("", "ip");
    EXPECT_EQ(lidos.Host, Servidor().Host);
    EXPECT_EQ(lidos.Porta, Servidor().Porta);
    EXPECT_EQ(lidos.Database, NomeBanco());
    EXPECT_EQ(lidos.Usuario, Servidor().Usuario);
    EXPECT_EQ(lidos.Senha, Servidor().Senha);
    const std::string senha = TIniFile(arquivo).LerTexto("ip", "senha", "");
    EXPECT_EQ(senha.size(), 2 + 2 * Servidor().Senha.size()) << senha;
    EXPECT_EQ(senha.find_first_not_of("0123456789ABCDEF"), std::string::npos) << senha;
    EXPECT_EQ(TIniFile(arquivo).LerTexto("FilialMatriz", "CodFisica", ""), "1");
    EXPECT_TRUE(FCaixa.Chamadas.empty());
}

TEST_F(TTesteConexao, Save_MachinesValues_GoToTheUsersFileWithEverythingElseAndTheMachinesStaysAsItWas) {
    Gravar(Maquina(), ArquivoMaquina);
    Abrir();
    EXPECT_EQ(Texto("EditServidor"), "servidor-loja");
    EXPECT_EQ(Texto("EditPorta"), "3307");
    EXPECT_EQ(Texto("EditBanco"), "loja");
    EXPECT_EQ(Texto("EditUsuario"), "caixa");
    EXPECT_EQ(Texto("EditSenha"), "") << "a stored password is never shown";
    EXPECT_EQ(Texto("EditFilial"), "3");
    EXPECT_TRUE(Controle<QLabel>("lblSenhaGravada").isVisible());
    // Before saving, the window says which file takes the place of which.
    const QString nota = Controle<QLabel>("lblDestino").text();
    EXPECT_TRUE(nota.contains(CaminhoParaQString(Maquina() / "sistema_qor.ini"))) << nota.toStdString();
    EXPECT_TRUE(nota.contains(CaminhoParaQString(Usuario() / "sistema_qor.ini") + ", que passa a valer no lugar"))
        << nota.toStdString();

    Digitar("EditServidor", "servidor-novo");
    Digitar("EditFilial", "4");
    EXPECT_TRUE(Pressionar("btnSalvar").empty());
    EXPECT_EQ(LerBinario(Maquina() / "sistema_qor.ini"), ArquivoMaquina);
    const TIniFile usuario(Usuario() / "sistema_qor.ini");
    EXPECT_EQ(usuario.LerTexto("ip", "local", ""), "servidor-novo");
    EXPECT_EQ(TDao::LerParametrosConexao("", "ip").Senha, "segredo") << "the empty field keeps the stored password";
    EXPECT_EQ(usuario.LerTexto("FilialMatriz", "CodFisica", ""), "4");
    EXPECT_EQ(usuario.LerTexto("ip", "Outra", ""), "fica");
    EXPECT_EQ(usuario.LerTexto("Impressora", "Modelo", ""), "termica");
}

TEST_F(TTesteConexao, FileBesideTheProgram_IsShownAndTestedButNeverWritten) {
    GravarSistemaQorIni("[FilialMatriz]\r\nCodFisica=1\r\n");
    std::filesystem::rename(FPasta.Sistema() / "sistema_qor.ini", Programa() / "sistema_qor.ini");
    const std::string antes = LerBinario(Programa() / "sistema_qor.ini");
    Abrir();
    EXPECT_EQ(Texto("EditBanco"), NomeBanco());
    EXPECT_FALSE(Controle<QPushButton>("btnSalvar").isEnabled());
    EXPECT_FALSE(Controle<QCheckBox>("cbPortatil").isVisible());
    const QString nota = Controle<QLabel>("lblDestino").text();
    EXPECT_TRUE(nota.contains(QStringLiteral("\"Salvar\" está desligado"))) << nota.toStdString();

    Digitar("EditServidor", "outro");
    Controle<QPushButton>("btnSalvar").click();
    EXPECT_TRUE(FJanela->isVisible()) << "nothing saved, the window stays";
    Digitar("EditServidor", Servidor().Host);
    const auto testou = Pressionar("btnTestar");
    ASSERT_EQ(testou.size(), 1u);
    EXPECT_EQ(testou[0].rfind("Informação (informação, OK): Conectado a " + NomeBanco(), 0), 0u) << testou[0];
    QTest::keyClick(&Controle("EditServidor"), Qt::Key_Escape);
    EXPECT_EQ(FJanela->result(), QDialog::Rejected);
    EXPECT_EQ(LerBinario(Programa() / "sistema_qor.ini"), antes);
    EXPECT_FALSE(std::filesystem::exists(Usuario()));
}

TEST_F(TTesteConexao, PortableChoice_SavesBesideTheProgram_AnEmptyPasswordAsEmpty) {
    Abrir();
    QCheckBox& portatil = Controle<QCheckBox>("cbPortatil");
    ASSERT_TRUE(portatil.isVisible()) << "the program's folder is writable and holds no file";
    portatil.setFocus();
    QTest::keyClick(&portatil, Qt::Key_Space);
    EXPECT_TRUE(Controle<QLabel>("lblDestino").text().contains(CaminhoParaQString(Programa() / "sistema_qor.ini")));
    Digitar("EditServidor", "servidor");
    EXPECT_TRUE(Pressionar("btnSalvar").empty());
    EXPECT_TRUE(InstalacaoPortatil());
    EXPECT_EQ(TIniFile(Programa() / "sistema_qor.ini").LerTexto("ip", "senha", "ausente"), "");
    EXPECT_EQ(TDao::LerParametrosConexao("", "ip").Senha, "");
    EXPECT_FALSE(std::filesystem::exists(Usuario()));
}

TEST_F(TTesteConexao, Checks_PortOutOfRangeAndCharactersTheFileCannotHold_AreRefusedBeforeAnythingHappens) {
    Gravar(Usuario(), "[ip]\r\nlocal=a\r\n");
    const std::string antes = LerBinario(Usuario() / "sistema_qor.ini");
    Abrir();
    const std::vector<std::tuple<const char*, std::string, std::string>> casos = {
        {"EditPorta", "", "Informe a porta do servidor, de 1 a 65535."},
        {"EditPorta", "65536", "Informe a porta do servidor, de 1 a 65535."},
        {"EditUsuario", "ł", "O campo Usuário tem caracteres que o sistema_qor.ini não guarda."},
        // The file would give back another password.
        {"EditSenha", std::string(1023, 'a'),
         "A senha tem 1.023 caracteres, e o sistema_qor.ini só devolve inteira uma senha de até 1.022 caracteres."},
    };
    for (const auto& [campo, valor, aviso] : casos) {
        SCOPED_TRACE(std::string(campo) + " " + valor);
        Digitar(campo, valor);
        for (const char* botao : {"btnTestar", "btnSalvar"}) {
            EXPECT_EQ(Pressionar(botao), std::vector<std::string>{"Atenção (aviso, OK): " + aviso});
            EXPECT_EQ(Foco(), QString::fromLatin1(campo));
        }
        Digitar(campo, campo == std::string("EditPorta") ? "3306" : campo == std::string("EditSenha") ? "" : "root");
    }
    // A tab or a line end pasted into a field would split the file's line.
    for (const char* colado : {"srv\tx", "srv\rx"}) {
        SCOPED_TRACE(colado);
        QGuiApplication::clipboard()->setText(QString::fromLatin1(colado));
        Digitar("EditServidor", "");
        QTest::keyClick(&Controle("EditServidor"), Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(Texto("EditServidor"), colado);
        EXPECT_EQ(Pressionar("btnSalvar"),
                  std::vector<std::string>{
                      "Atenção (aviso, OK): O campo Servidor tem caracteres que o sistema_qor.ini não guarda."});
    }
    EXPECT_TRUE(FJanela->isVisible());
    EXPECT_EQ(LerBinario(Usuario() / "sistema_qor.ini"), antes);
}

// The record that the machine's file names, by a folder relative to it, stays the one in use once the user's own
// file takes the machine's place.
TEST_F(TTesteConexao, Save_RelativeRecordFolderOfTheMachine_IsTheSameFolderAfterwards) {
    Gravar(Maquina(), ArquivoMaquina + "[Historico]\r\nPasta=historico\r\n");
    Abrir();
    const QString nota = Controle<QLabel>("lblHistorico").text();
    EXPECT_EQ(
        nota,
        QStringLiteral("O histórico de exportações fica em %1.").arg(CaminhoParaQString(Maquina() / "historico")));
    EXPECT_TRUE(Pressionar("btnSalvar").empty());
    EXPECT_EQ(TArquivoConexao(Usuario() / "sistema_qor.ini").PastaHistorico(), Maquina() / "historico");
    EXPECT_EQ(THistoricoExportacao::Pasta(), Maquina() / "historico");
}

// Going portable, the profiles, the window's values and the record come along when the user says so: from then on
// they are read beside the program.
TEST_F(TTesteConexao, PortableChoice_OffersToCopyTheFilesThatWillBeReadBesideTheProgram) {
    Gravar(Usuario(), "[ip]\r\nlocal=a\r\n");
    const std::vector<std::pair<std::string, std::string>> arquivos = {
        {"PerfilTorvane.txt", ArquivoDePerfis({P("BEBIDAS") + "(1)"})},
        {"ExportacaoKOTR.ini", "[QOR]\r\nEmpresa=3\r\n"},
        {"HistoricoExportacao.csv", "Data e hora;x\r\n"}};
    for (const auto& [nome, conteudo] : arquivos)
        GravarBinario(Usuario() / nome, conteudo);
    Abrir();
    QCheckBox& portatil = Controle<QCheckBox>("cbPortatil");
    portatil.setFocus();
    QTest::keyClick(&portatil, Qt::Key_Space);
    EXPECT_TRUE(Controle<QLabel>("lblHistorico")
                    .text()
                    .endsWith(QStringLiteral("; depois de salvar, em %1.").arg(CaminhoParaQString(Programa()))));
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    const auto caixas = Pressionar("btnSalvar");
    ASSERT_EQ(caixas.size(), 1u);
    EXPECT_EQ(caixas[0].rfind("Confirmação (pergunta, *Sim/Não): Depois de salvar, o programa lê PerfilTorvane.txt, "
                              "ExportacaoKOTR.ini, HistoricoExportacao.csv da pasta do programa, " +
                                  CaminhoUtf8(Programa()),
                              0),
              0u)
        << caixas[0];
    EXPECT_TRUE(InstalacaoPortatil());
    for (const auto& [nome, conteudo] : arquivos) {
        EXPECT_EQ(LerBinario(Programa() / nome), conteudo) << nome;
        EXPECT_EQ(LerBinario(Usuario() / nome), conteudo) << nome << " stays where it was";
    }
}

TEST_F(TTesteConexao, ScreenReader_NamesEveryControlByItsLabel) {
    Gravar(Maquina(), ArquivoMaquina);
    Abrir();
    EXPECT_EQ(ProblemasAcessiveis(*FJanela, QStringLiteral("Conexão com o banco de dados")),
              std::vector<std::string>{});
    for (const auto& [nome, texto] : std::vector<std::pair<const char*, const char*>>{{"EditServidor", "Servidor"},
                                                                                      {"EditPorta", "Porta"},
                                                                                      {"EditBanco", "Banco de dados"},
                                                                                      {"EditUsuario", "Usuário"},
                                                                                      {"EditSenha", "Senha"},
                                                                                      {"EditFilial", "Filial"}})
        EXPECT_EQ(NomeAcessivel(Controle(nome)), QString::fromUtf8(texto));
}

} // namespace
