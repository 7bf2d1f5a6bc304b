#include "CaixaFalsa.h"
#include "ImpressaoQt.h"
#include "TestDb.h"

#include "UArquivos.h"
#include "UCp1252.h"
#include "UDados.h"
#include "UDataHora.h"
#include "UEditNumero.h"
#include "UFConfiguracoes.h"
#include "UFMain.h"
#include "UFalhas.h"
#include "UPastaPrograma.h"
#include "UValoresExportacao.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Company 1 has three receivables: 101 posted and due in February 2024 (group 1), 102 posted in January and
// due in February (group 2), 103 posted and due in February (group 2). Company 2 has none; company 3 is deleted.
const char* const DadosBasicos = R"(
INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N'), (2, 'COMÉRCIO DOIS', 'N'), (3, 'APAGADA', 'S');
INSERT INTO filial VALUES (1, 'LOJA CENTRO', '12345678000190', 'N');
INSERT INTO clientes VALUES (1, 'JOÃO DA SILVA', '4521', 1, 'N'), (2, 'MARIA', '77', 2, 'N');
INSERT INTO grupo VALUES (1, 'BEBIDAS', 'N'), (2, 'DOCES', 'N');
INSERT INTO produto VALUES (1, 'REFRIGERANTE', 1), (2, 'BOLO', 2);
INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id, filial_id, produto_id)
VALUES ('101', '2024-02-10 09:00:00', '2024-02-28 00:00:00', 150.25, 0, 'N', 1, 1, 1),
       ('102', '2024-01-20 08:00:00', '2024-02-20 00:00:00', 10.00, 0, 'N', 1, 1, 2),
       ('103', '2024-02-15 10:30:00', '2024-03-15 00:00:00', 20.50, 0, 'N', 1, 1, 2);
)";

std::string Preenchido(const std::string& texto) {
    std::string linha = texto;
    linha.resize(60, ' ');
    return linha;
}

// The posting numbers of an export file, sorted (positions 61 to 66 of each 80-character line).
std::vector<std::string> Lancamentos(const std::string& conteudo) {
    std::vector<std::string> numeros;
    for (std::size_t inicio = 0; inicio + 82 <= conteudo.size(); inicio += 82)
        numeros.push_back(conteudo.substr(inicio + 60, 6));
    std::sort(numeros.begin(), numeros.end());
    return numeros;
}

// Acts on the next modal dialog of class T as soon as it is open (the test is then inside its exec).
// Stops looking when destroyed, so a dialog that never opened cannot catch a later test.
template <class T> class TAoAbrir {
public:
    explicit TAoAbrir(std::function<void(T&)> acao) : FEstado(std::make_shared<TEstado>()) {
        FEstado->Acao = std::move(acao);
        Agendar(FEstado);
    }
    ~TAoAbrir() { FEstado->Ativo = false; }
    TAoAbrir(const TAoAbrir&) = delete;
    TAoAbrir& operator=(const TAoAbrir&) = delete;

    bool Abriu() const { return FEstado->Abriu; }

private:
    struct TEstado {
        std::function<void(T&)> Acao;
        bool Ativo = true;
        bool Abriu = false;
    };

    static void Agendar(const std::shared_ptr<TEstado>& estado) {
        QTimer::singleShot(0, [estado] {
            if (!estado->Ativo || estado->Abriu)
                return;
            if (auto* dialogo = qobject_cast<T*>(QApplication::activeModalWidget())) {
                estado->Abriu = true;
                estado->Acao(*dialogo);
            } else {
                Agendar(estado);
            }
        });
    }

    std::shared_ptr<TEstado> FEstado;
};

class TTesteJanela : public TTesteBanco {
protected:
    void SetUp() override {
        TTesteBanco::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        DefinirRelogio([] { return TDataHora{2024, 3, 31, 10, 0, 0}; });
        GravarSistemaQorIni("[FilialMatriz]\r\nCodFisica=1\r\n");
        Executar(Conexao(), TextoAnsi(DadosBasicos));
        FSaida = FPasta->Caminho() + "saida";
        std::filesystem::create_directory(CaminhoSistema(FSaida));
    }

    void TearDown() override {
        FJanela.reset();
        DefinirRelogio(nullptr);
        TTesteBanco::TearDown();
    }

    TFMain& Abrir() {
        // The window that goes lets go of the export's interfaces: it goes before the next one registers.
        FJanela.reset();
        FJanela = std::make_unique<TFMain>();
        FJanela->show();
        FJanela->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(FJanela.get()));
        return *FJanela;
    }

    template <class T> T& Controle(const char* nome) {
        T* controle = FJanela->findChild<T*>(QString::fromLatin1(nome));
        if (!controle)
            throw std::runtime_error(std::string("no control ") + nome);
        return *controle;
    }

    QString Foco() const {
        const QWidget* foco = FJanela->focusWidget();
        return foco ? foco->objectName() : QString();
    }

    // Fills every field so that the checks pass and the export finds receivables 101 and 103.
    void PreencherValidos() {
        Controle<QLineEdit>("EditDiretorio").setText(QString::fromStdString(FSaida));
        Controle<QLineEdit>("EditEmpresa").setText(QStringLiteral("1"));
        Controle<QLineEdit>("EditNomeArquivo").setText(QStringLiteral("dados"));
        Controle<QLineEdit>("EditCodTorvane").setText(QStringLiteral("7"));
    }

    void Gerar() { Controle<QPushButton>("btnGerar").click(); }

    std::string ArquivoSaida(const std::string& nome) const { return FSaida + "/" + nome; }
    bool ConfiguracoesGravadas() const { return ArquivoExiste(TValoresExportacao::ArquivoConfiguracoes()); }

    void GravarConfiguracoes(const std::string& texto) {
        GravarBinario(CaminhoSistema(TValoresExportacao::ArquivoConfiguracoes()), texto);
    }

    void GravarPerfis(const std::vector<std::string>& linhas) {
        GravarLinhas(TDadosExportacao::ArquivoPerfis(), linhas);
    }

    std::vector<std::string> Textos() const {
        std::vector<std::string> textos;
        for (const auto& chamada : FCaixa.Chamadas)
            textos.push_back(chamada.Texto);
        return textos;
    }

    TCaixaFalsa FCaixa;
    std::unique_ptr<TFMain> FJanela;
    std::string FSaida;
};

// --- The show sequence --------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Show_WithoutSettingsFile_ShowsConnectionBranchAndDefaults) {
    Abrir();

    EXPECT_TRUE(FCaixa.Chamadas.empty());
    EXPECT_EQ(Controle<QLabel>("lblDataBase").text().toStdString(),
              "Conectado à " + NomeBanco() + " em (" + Servidor().Host + ")");
    EXPECT_EQ(Controle<QLabel>("lblFilial").text(), QStringLiteral("Filial: 1 - LOJA CENTRO (12345678000190)"));
    EXPECT_EQ(Controle<QLineEdit>("EditDiretorio").text(), QString());
    EXPECT_EQ(Controle<QLineEdit>("EditEmpresa").text(), QString());
    EXPECT_EQ(Controle<QLineEdit>("EditCodTorvane").text(), QString());
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").currentIndex(), -1);
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 2) << "the deleted company is left out";
    EXPECT_TRUE(Controle<QRadioButton>("rdDataLancamento").isChecked());
    EXPECT_EQ(Controle<QDateEdit>("EditDe").date(), QDate(2024, 2, 1));
    EXPECT_EQ(Controle<QDateEdit>("EditAte").date(), QDate(2024, 2, 29));
    ASSERT_EQ(Controle<QComboBox>("cbPerfis").count(), 1);
    EXPECT_EQ(Controle<QComboBox>("cbPerfis").itemText(0), QStringLiteral("Todos os Grupos"));
    EXPECT_EQ(Controle<QComboBox>("cbPerfis").currentIndex(), 0);
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    EXPECT_EQ(Foco(), QStringLiteral("EditDiretorio"));
    EXPECT_FALSE(ConfiguracoesGravadas()) << "showing the window writes nothing";
}

TEST_F(TTesteJanela, Show_WithSettingsFile_RestoresValuesAndShowsStoredCompany) {
    GravarConfiguracoes("[QOR]\r\nDiretorio= /dados/saida \r\nEmpresa=2\r\nCodTorvane=150\r\nTipoData=2\r\n");
    Abrir();

    EXPECT_EQ(Controle<QLineEdit>("EditDiretorio").text(), QStringLiteral("/dados/saida"));
    EXPECT_EQ(Controle<QLineEdit>("EditEmpresa").text(), QStringLiteral("2"));
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").currentText(), QStringLiteral("COMÉRCIO DOIS"));
    EXPECT_EQ(Controle<QLineEdit>("EditCodTorvane").text(), QStringLiteral("150")) << "typing limit only";
    EXPECT_TRUE(Controle<QRadioButton>("rdDataVencimento").isChecked());
}

TEST_F(TTesteJanela, Show_TipoData_SelectsDateBasis) {
    const struct {
        const char* Valor;
        bool Vencimento;
    } casos[] = {{"0", false}, {"1", true}, {"2", true}, {"-1", true}, {"abc", false}, {"", false}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(std::string("TipoData=") + caso.Valor);
        GravarConfiguracoes(std::string("[QOR]\r\nTipoData=") + caso.Valor + "\r\n");
        Abrir();
        EXPECT_EQ(Controle<QRadioButton>("rdDataVencimento").isChecked(), caso.Vencimento);
        EXPECT_EQ(Controle<QRadioButton>("rdDataLancamento").isChecked(), !caso.Vencimento);
    }
}

TEST_F(TTesteJanela, Show_ProposesPreviousCalendarMonth) {
    const struct {
        TDataHora Hoje;
        QDate De;
        QDate Ate;
    } casos[] = {
        {{2024, 3, 31, 23, 59, 0}, QDate(2024, 2, 1), QDate(2024, 2, 29)},
        {{2023, 3, 31, 8, 0, 0}, QDate(2023, 2, 1), QDate(2023, 2, 28)},
        {{2024, 1, 15, 12, 0, 0}, QDate(2023, 12, 1), QDate(2023, 12, 31)},
        {{2024, 7, 1, 0, 0, 0}, QDate(2024, 6, 1), QDate(2024, 6, 30)},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Hoje.TextoExibicao());
        DefinirRelogio([&caso] { return caso.Hoje; });
        Abrir();
        EXPECT_EQ(Controle<QDateEdit>("EditDe").date(), caso.De);
        EXPECT_EQ(Controle<QDateEdit>("EditAte").date(), caso.Ate);
    }
}

TEST_F(TTesteJanela, Show_BranchQueryFails_ShowsFailureAndLeavesWindowUsable) {
    Executar(Conexao(), "DROP TABLE filial");
    Abrir();

    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    const auto& falha = FCaixa.Chamadas[0];
    EXPECT_NE(falha.Texto.find("filial"), std::string::npos) << falha.Texto;
    EXPECT_EQ(falha.Texto.back(), '.');
    EXPECT_EQ(falha.Titulo, Cp1252ParaUtf8(TituloAplicacao()));
    EXPECT_EQ(falha.Icone, TIconeMensagem::Parada);
    EXPECT_EQ(falha.Botoes, TBotoesMensagem::Ok);

    EXPECT_TRUE(FJanela->isVisible());
    EXPECT_FALSE(Controle<QLabel>("lblDataBase").text().isEmpty()) << "the step before the failure ran";
    EXPECT_TRUE(Controle<QLabel>("lblFilial").text().isEmpty());
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 0) << "the steps after the failure did not run";
    EXPECT_EQ(Controle<QComboBox>("cbPerfis").count(), 1);

    FCaixa.Chamadas.clear();
    QTest::keyClick(&Controle<QLineEdit>("EditDiretorio"), Qt::Key_F3);
    EXPECT_EQ(Textos(), std::vector<std::string>{"Selecione o diretório onde será gerado o arquivo."});
}

TEST_F(TTesteJanela, Show_CompanyQueryFails_LaterStepsSkippedButExportStillRuns) {
    Executar(Conexao(), "DROP TABLE empresa");
    GravarConfiguracoes("[QOR]\r\nEmpresa=1\r\n");
    Abrir();

    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Parada);
    EXPECT_EQ(Controle<QLabel>("lblFilial").text(), QStringLiteral("Filial: 1 - LOJA CENTRO (12345678000190)"));
    EXPECT_NE(Controle<QDateEdit>("EditDe").date(), QDate(2024, 2, 1)) << "no period was proposed";
    EXPECT_EQ(Controle<QLineEdit>("EditEmpresa").text(), QString()) << "the settings were not read";

    FCaixa.Chamadas.clear();
    PreencherValidos();
    Controle<QDateEdit>("EditDe").setDate(QDate(2024, 2, 1));
    Controle<QDateEdit>("EditAte").setDate(QDate(2024, 2, 29));
    Gerar();
    EXPECT_EQ(Textos(), std::vector<std::string>{"Arquivo \"dados.txt\"  gerado com sucesso."});
    EXPECT_EQ(Lancamentos(LerBinario(CaminhoSistema(ArquivoSaida("dados.txt")))),
              (std::vector<std::string>{"000101", "000103"}));
}

// --- Field checks -----------------------------------------------------------------------------------------------

struct TEsperada {
    std::string Texto;
    TIconeMensagem Icone;
};

struct TCasoValidacao {
    const char* Nome;
    // Applied to the valid fields; "%P" in the folder stands for the test's own folder.
    const char* Diretorio;
    const char* Empresa;
    const char* NomeArquivo;
    const char* CodTorvane;
    std::vector<TRespostaMensagem> Respostas;
    std::vector<TEsperada> Mensagens;
    // Where the focus ends; empty: where it was (EditNomeArquivo, where F3 was pressed).
    const char* Foco;
};

std::string TrocarPasta(std::string texto, const std::string& pasta) {
    for (auto posicao = texto.find("%P"); posicao != std::string::npos; posicao = texto.find("%P"))
        texto.replace(posicao, 2, pasta);
    return texto;
}

TEST_F(TTesteJanela, ValidarCampos_EachFailingCheck_ShowsItsMessageAndMovesFocus) {
    using R = TRespostaMensagem;
    const auto aviso = TIconeMensagem::Exclamacao;
    const auto pergunta = TIconeMensagem::Pergunta;
    const TCasoValidacao casos[] = {
        {"no folder",
         "",
         nullptr,
         nullptr,
         nullptr,
         {},
         {{"Selecione o diretório onde será gerado o arquivo.", aviso}},
         "EditDiretorio"},
        {"blank folder",
         " \t ",
         nullptr,
         nullptr,
         nullptr,
         {},
         {{"Selecione o diretório onde será gerado o arquivo.", aviso}},
         "EditDiretorio"},
        {"missing folder, No",
         "%Pnova",
         nullptr,
         nullptr,
         nullptr,
         {R::Nao},
         {{"O Diretório \"%Pnova/\" não existe, deseja criá-lo?", pergunta},
          {"Operação cancelada pelo usuário.", aviso}},
         ""},
        {"missing parent, Yes",
         "%Pfalta/nova",
         nullptr,
         nullptr,
         nullptr,
         {R::Sim},
         {{"O Diretório \"%Pfalta/nova/\" não existe, deseja criá-lo?", pergunta},
          {"Não foi possível criar o diretório \"%Pfalta/nova/\".", aviso}},
         ""},
        {"no company", nullptr, "", nullptr, nullptr, {}, {{"Informe o número da empresa", aviso}}, "cmbEmpresa"},
        {"company 0", nullptr, "0", nullptr, nullptr, {}, {{"Informe o número da empresa", aviso}}, "cmbEmpresa"},
        {"no file name", nullptr, nullptr, "", nullptr, {}, {{"Informe o nome do arquivo.", aviso}}, "EditNomeArquivo"},
        {"blank file name",
         nullptr,
         nullptr,
         "   ",
         nullptr,
         {},
         {{"Informe o nome do arquivo.", aviso}},
         "EditNomeArquivo"},
        {"no Torvane number",
         nullptr,
         nullptr,
         nullptr,
         "",
         {},
         {{"Informe o número da empresa na Torvane", aviso}},
         "EditCodTorvane"},
        {"Torvane number 0",
         nullptr,
         nullptr,
         nullptr,
         "0",
         {},
         {{"Informe o número da empresa na Torvane", aviso}},
         "EditCodTorvane"},
    };
    const std::string pasta = FPasta->Caminho();
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        std::filesystem::remove(CaminhoSistema(TValoresExportacao::ArquivoConfiguracoes()));
        FCaixa.Chamadas.clear();
        FCaixa.Respostas.assign(caso.Respostas.begin(), caso.Respostas.end());
        Abrir();
        PreencherValidos();
        if (caso.Diretorio)
            Controle<QLineEdit>("EditDiretorio").setText(QString::fromStdString(TrocarPasta(caso.Diretorio, pasta)));
        if (caso.Empresa)
            Controle<QLineEdit>("EditEmpresa").setText(QString::fromUtf8(caso.Empresa));
        if (caso.NomeArquivo)
            Controle<QLineEdit>("EditNomeArquivo").setText(QString::fromUtf8(caso.NomeArquivo));
        if (caso.CodTorvane)
            Controle<QLineEdit>("EditCodTorvane").setText(QString::fromUtf8(caso.CodTorvane));
        Controle<QLineEdit>("EditNomeArquivo").setFocus();

        QTest::keyClick(&Controle<QLineEdit>("EditNomeArquivo"), Qt::Key_F3);

        ASSERT_EQ(FCaixa.Chamadas.size(), caso.Mensagens.size());
        for (std::size_t i = 0; i < caso.Mensagens.size(); ++i) {
            const auto& chamada = FCaixa.Chamadas[i];
            EXPECT_EQ(chamada.Texto, TrocarPasta(caso.Mensagens[i].Texto, pasta));
            EXPECT_EQ(chamada.Icone, caso.Mensagens[i].Icone);
            if (chamada.Icone == TIconeMensagem::Pergunta) {
                EXPECT_EQ(chamada.Titulo, "Confirmação");
                EXPECT_EQ(chamada.Botoes, TBotoesMensagem::SimNao);
                EXPECT_FALSE(chamada.NaoPadrao) << "Yes is the default button";
            } else {
                EXPECT_EQ(chamada.Titulo, "Atenção");
                EXPECT_EQ(chamada.Botoes, TBotoesMensagem::Ok);
            }
        }
        EXPECT_EQ(Foco(), QString::fromUtf8(*caso.Foco ? caso.Foco : "EditNomeArquivo"));
        EXPECT_FALSE(ConfiguracoesGravadas()) << "a failed check writes no settings";
        EXPECT_FALSE(ArquivoExiste(ArquivoSaida("dados.txt")));
        EXPECT_FALSE(DiretorioExiste(pasta + "nova")) << "No creates nothing";
    }
}

TEST_F(TTesteJanela, ValidarCampos_StoredTorvaneNumberAbove99_FailsItsCheck) {
    const std::string ini = "[QOR]\r\nCodTorvane=150\r\n";
    GravarConfiguracoes(ini);
    Abrir();
    Controle<QLineEdit>("EditDiretorio").setText(QString::fromStdString(FSaida));
    Controle<QLineEdit>("EditEmpresa").setText(QStringLiteral("1"));
    Controle<QLineEdit>("EditNomeArquivo").setText(QStringLiteral("dados"));
    EXPECT_EQ(Controle<QLineEdit>("EditCodTorvane").text(), QStringLiteral("150"));
    Gerar();
    EXPECT_EQ(Textos(), std::vector<std::string>{"Informe o número da empresa na Torvane"});
    EXPECT_EQ(Foco(), QStringLiteral("EditCodTorvane"));
    EXPECT_EQ(LerBinario(CaminhoSistema(TValoresExportacao::ArquivoConfiguracoes())), ini);
    EXPECT_FALSE(ArquivoExiste(ArquivoSaida("dados.txt")));
}

TEST_F(TTesteJanela, ValidarCampos_FolderCreatedOnYes_StaysWhenALaterCheckFails) {
    Abrir();
    PreencherValidos();
    const std::string nova = FPasta->Caminho() + "nova";
    Controle<QLineEdit>("EditDiretorio").setText(QString::fromStdString(nova));
    Controle<QLineEdit>("EditNomeArquivo").clear();
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    Gerar();
    EXPECT_EQ(Textos(), (std::vector<std::string>{"O Diretório \"" + nova + "/\" não existe, deseja criá-lo?",
                                                  "Informe o nome do arquivo."}));
    EXPECT_TRUE(DiretorioExiste(nova));
}

TEST_F(TTesteJanela, ValidarCampos_FolderCreatedOnYes_ExportGoesThere) {
    Abrir();
    PreencherValidos();
    const std::string nova = FPasta->Caminho() + "nova";
    Controle<QLineEdit>("EditDiretorio").setText(QString::fromStdString(nova));
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    Gerar();
    EXPECT_TRUE(ArquivoExiste(nova + "/dados.txt"));
    EXPECT_EQ(TValoresExportacao::Ler().Diretorio, nova) << "stored as typed, without the separator";
}

// --- Generation -------------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Gerar_FileNameRule_CompletesWithTxtOnlyWhereNeeded) {
    const struct {
        const char* Digitado;
        const char* Gerado;
    } casos[] = {
        {"abc", "abc.txt"},         {"abcd", "abcd.txt"},       {"x.tx", "x.tx.txt"},
        {"Dados.TXT", "Dados.TXT"}, {"a.txt.bak", "a.txt.bak"}, {".txt", ".txt"},
        {" ab", " ab.txt"},         {"abc ", "abc .txt"},       {"relatório", "relatório.txt"},
    };
    Abrir();
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Digitado);
        FCaixa.Chamadas.clear();
        PreencherValidos();
        Controle<QLineEdit>("EditNomeArquivo").setText(QString::fromUtf8(caso.Digitado));
        Gerar();
        EXPECT_EQ(Textos(),
                  std::vector<std::string>{std::string("Arquivo \"") + caso.Gerado + "\"  gerado com sucesso."});
        EXPECT_TRUE(ArquivoExiste(ArquivoSaida(TextoAnsi(caso.Gerado))));
    }
}

TEST_F(TTesteJanela, Gerar_PassesEveryValueOfTheWindowToTheExport) {
    GravarPerfis({Preenchido("Todos os Grupos"), Preenchido("Bebidas") + "(1)", Preenchido("Doces") + "(2)"});
    const struct {
        const char* Nome;
        bool Vencimento;
        int Perfil;
        std::vector<std::string> Lancamentos;
    } casos[] = {
        {"posting date, all groups", false, 0, {"000101", "000103"}},
        {"due date, all groups", true, 0, {"000101", "000102"}},
        {"posting date, profile 1", false, 1, {"000101"}},
        {"posting date, profile 2", false, 2, {"000103"}},
    };
    Abrir();
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.Nome);
        PreencherValidos();
        Controle<QLineEdit>("EditCodTorvane").setText(QStringLiteral("7"));
        Controle<QRadioButton>(caso.Vencimento ? "rdDataVencimento" : "rdDataLancamento").setChecked(true);
        Controle<QComboBox>("cbPerfis").setCurrentIndex(caso.Perfil);
        Gerar();
        const std::string conteudo = LerBinario(CaminhoSistema(ArquivoSaida("dados.txt")));
        EXPECT_EQ(Lancamentos(conteudo), caso.Lancamentos);
        ASSERT_FALSE(conteudo.empty());
        EXPECT_EQ(conteudo.substr(0, 12), "070000004521") << "Torvane number, then the badge";
    }
}

TEST_F(TTesteJanela, Gerar_AfterExport_WritesSettingsAsShown) {
    Abrir();
    PreencherValidos();
    Controle<QRadioButton>("rdDataVencimento").setChecked(true);
    Gerar();
    ASSERT_TRUE(ConfiguracoesGravadas());
    const TValoresExportacao valores = TValoresExportacao::Ler();
    EXPECT_EQ(valores.Diretorio, FSaida);
    EXPECT_EQ(valores.Empresa, 1);
    EXPECT_EQ(valores.CodTorvane, 7);
    EXPECT_EQ(valores.TipoData, 1);
    const std::string ini = LerBinario(CaminhoSistema(TValoresExportacao::ArquivoConfiguracoes()));
    EXPECT_LT(ini.find("Diretorio="), ini.find("Empresa=")) << ini;
    EXPECT_LT(ini.find("CodTorvane="), ini.find("TipoData=")) << ini;
}

TEST_F(TTesteJanela, Gerar_NothingFound_InformsAndStillWritesSettings) {
    Abrir();
    PreencherValidos();
    Controle<QLineEdit>("EditEmpresa").setText(QStringLiteral("2"));
    Gerar();
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_EQ(FCaixa.Chamadas[0].Texto, "Nenhum registro encontrado para a seleção.");
    EXPECT_EQ(FCaixa.Chamadas[0].Titulo, "Informação");
    EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Informacao);
    EXPECT_FALSE(ArquivoExiste(ArquivoSaida("dados.txt")));
    ASSERT_TRUE(ConfiguracoesGravadas());
    EXPECT_EQ(TValoresExportacao::Ler().Empresa, 2);
}

TEST_F(TTesteJanela, Gerar_CompanyNotListed_PassesTheCheckAndExports) {
    Abrir();
    PreencherValidos();
    Controle<QLineEdit>("EditEmpresa").setText(QStringLiteral("3"));
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").currentIndex(), -1);
    Gerar();
    EXPECT_EQ(Textos(), std::vector<std::string>{"Nenhum registro encontrado para a seleção."});
    EXPECT_EQ(TValoresExportacao::Ler().Empresa, 3);
}

TEST_F(TTesteJanela, Gerar_ExportFails_ShowsFailureWritesNoSettingsAndStaysUsable) {
    Abrir();
    Executar(Conexao(), "DROP TABLE receber");
    PreencherValidos();
    Gerar();
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_EQ(FCaixa.Chamadas[0].Icone, TIconeMensagem::Parada);
    EXPECT_EQ(FCaixa.Chamadas[0].Titulo, Cp1252ParaUtf8(TituloAplicacao()));
    EXPECT_NE(FCaixa.Chamadas[0].Texto.find("receber"), std::string::npos) << FCaixa.Chamadas[0].Texto;
    EXPECT_FALSE(ConfiguracoesGravadas());
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    EXPECT_TRUE(Controle<QPushButton>("btnGerar").isEnabled());

    Executar(Conexao(), "CREATE TABLE receber (receber_id INT PRIMARY KEY, numlanc VARCHAR(20), datahora DATETIME, "
                        "vencimento DATETIME, valortotal DECIMAL(15,2), amort DECIMAL(5,2), apagado CHAR(1), "
                        "clientes_id INT, filial_id INT, produto_id INT)");
    FCaixa.Chamadas.clear();
    QTest::keyClick(&Controle<QLineEdit>("EditNomeArquivo"), Qt::Key_F3);
    EXPECT_EQ(Textos(), std::vector<std::string>{"Nenhum registro encontrado para a seleção."});
    EXPECT_TRUE(ConfiguracoesGravadas());
}

TEST_F(TTesteJanela, Gerar_DuringExport_GaugeShownAndGerarDisabled) {
    Abrir();
    PreencherValidos();
    bool painelDurante = false;
    bool gerarDurante = true;
    int maximo = 0;
    int posicao = 0;
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) {
        painelDurante = Controle<QFrame>("pnlProgress").isVisible();
        gerarDurante = Controle<QPushButton>("btnGerar").isEnabled();
        maximo = Controle<QProgressBar>("oProgress").maximum();
        posicao = Controle<QProgressBar>("oProgress").value();
    };
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    Gerar();
    ASSERT_EQ(FCaixa.Chamadas.size(), 1u);
    EXPECT_TRUE(painelDurante);
    EXPECT_FALSE(gerarDurante);
    EXPECT_EQ(maximo, 2);
    EXPECT_EQ(posicao, 2);
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    EXPECT_TRUE(Controle<QPushButton>("btnGerar").isEnabled());
}

TEST_F(TTesteJanela, Gerar_SecondStartWhileExportRuns_IsRefused) {
    Abrir();
    PreencherValidos();
    // Handled between two rows of the export, when the window lets pending events run.
    QCoreApplication::postEvent(&Controle<QLineEdit>("EditNomeArquivo"),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier));
    QCoreApplication::postEvent(&Controle<QPushButton>("btnGerar"),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
    QCoreApplication::postEvent(&Controle<QPushButton>("btnGerar"),
                                new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier));
    Gerar();
    EXPECT_EQ(Textos(), std::vector<std::string>{"Arquivo \"dados.txt\"  gerado com sucesso."});
    QCoreApplication::processEvents();
    EXPECT_EQ(FCaixa.Chamadas.size(), 1u) << "nothing was left waiting to start again";
}

TEST_F(TTesteJanela, Close_WhileExportRuns_WaitsForTheExportAndItsSettings) {
    Abrir();
    PreencherValidos();
    QCoreApplication::postEvent(&Controle<QLineEdit>("EditNomeArquivo"),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    bool visivelNoFim = false;
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) { visivelNoFim = FJanela->isVisible(); };
    Gerar();
    EXPECT_EQ(Textos(), std::vector<std::string>{"Arquivo \"dados.txt\"  gerado com sucesso."});
    EXPECT_TRUE(visivelNoFim) << "the window stays while the export runs";
    EXPECT_EQ(Lancamentos(LerBinario(CaminhoSistema(ArquivoSaida("dados.txt")))),
              (std::vector<std::string>{"000101", "000103"}));
    EXPECT_TRUE(ConfiguracoesGravadas());
    EXPECT_FALSE(FJanela->isVisible()) << "then it closes";
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 0) << "and lets the company list go";
}

// --- Keys -------------------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Keys_F3FromAnyControl_Generates) {
    Abrir();
    const char* const controles[] = {"EditDiretorio", "EditEmpresa", "cmbEmpresa", "cbPerfis", "EditDe", "btnFechar"};
    for (const char* nome : controles) {
        SCOPED_TRACE(nome);
        FCaixa.Chamadas.clear();
        PreencherValidos();
        QWidget& controle = Controle<QWidget>(nome);
        controle.setFocus();
        QTest::keyClick(&controle, Qt::Key_F3);
        EXPECT_EQ(Textos(), std::vector<std::string>{"Arquivo \"dados.txt\"  gerado com sucesso."});
        EXPECT_TRUE(FJanela->isVisible());
    }
}

TEST_F(TTesteJanela, Keys_Esc_ClosesAtOnceWithoutWritingSettings) {
    Abrir();
    PreencherValidos();
    QTest::keyClick(&Controle<QLineEdit>("EditNomeArquivo"), Qt::Key_Escape);
    EXPECT_FALSE(FJanela->isVisible());
    EXPECT_TRUE(FCaixa.Chamadas.empty());
    EXPECT_FALSE(ConfiguracoesGravadas());
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 0) << "the company list is let go";
}

TEST_F(TTesteJanela, Keys_OtherKeysReachTheFocusedControl) {
    Abrir();
    QLineEdit& nome = Controle<QLineEdit>("EditNomeArquivo");
    nome.setFocus();
    QTest::keyClicks(&nome, QStringLiteral("dados"));
    QTest::keyClick(&nome, Qt::Key_Backspace);
    EXPECT_EQ(nome.text(), QStringLiteral("dado"));
    EXPECT_TRUE(FCaixa.Chamadas.empty());
}

TEST_F(TTesteJanela, Keys_TabVisitsControlsInOrder) {
    Abrir();
    const auto visitar = [this] {
        QStringList visitados = {Foco()};
        for (int i = 0; i < 40 && visitados.size() < 12; ++i) {
            if (!QApplication::focusWidget())
                break;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (Foco() != visitados.back())
                visitados.append(Foco());
        }
        return visitados;
    };
    const QStringList depoisDaData = {"EditDe",   "EditAte",         "EditEmpresa",    "cmbEmpresa",
                                      "cbPerfis", "EditNomeArquivo", "EditCodTorvane", "btnConfiguracoes",
                                      "btnGerar", "btnFechar"};
    EXPECT_EQ(visitar(), QStringList({"EditDiretorio", "rdDataLancamento"}) + depoisDaData);

    // The arrow keys pick the other date basis, and Tab then stops there.
    Controle<QRadioButton>("rdDataLancamento").setFocus();
    QTest::keyClick(&Controle<QRadioButton>("rdDataLancamento"), Qt::Key_Right);
    EXPECT_TRUE(Controle<QRadioButton>("rdDataVencimento").isChecked());
    Controle<QLineEdit>("EditDiretorio").setFocus();
    EXPECT_EQ(visitar(), QStringList({"EditDiretorio", "rdDataVencimento"}) + depoisDaData);
}

// --- Numeric and folder edits -------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Edits_TypingIsLimitedAndShownWithoutLeadingZeros) {
    Abrir();
    QLineEdit& cod = Controle<QLineEdit>("EditCodTorvane");
    QTest::keyClicks(&cod, QStringLiteral("123"));
    EXPECT_EQ(cod.text(), QStringLiteral("12"));
    cod.clear();
    QTest::keyClicks(&cod, QStringLiteral("a-7"));
    EXPECT_EQ(cod.text(), QStringLiteral("7"));

    QLineEdit& empresa = Controle<QLineEdit>("EditEmpresa");
    QTest::keyClicks(&empresa, QStringLiteral("002"));
    QTest::keyClick(&empresa, Qt::Key_Return);
    EXPECT_EQ(empresa.text(), QStringLiteral("2"));
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").currentText(), QStringLiteral("COMÉRCIO DOIS"));

    QLineEdit& diretorio = Controle<QLineEdit>("EditDiretorio");
    QTest::keyClicks(&diretorio, QStringLiteral("/tmp/Saida"));
    EXPECT_EQ(diretorio.text(), SistemaIgnoraCaixa() ? QStringLiteral("/TMP/SAIDA") : QStringLiteral("/tmp/Saida"));
}

TEST_F(TTesteJanela, Edits_FolderButton_ChosenFolderReplacesText) {
    Abrir();
    QLineEdit& diretorio = Controle<QLineEdit>("EditDiretorio");
    diretorio.setText(QStringLiteral("texto digitado"));
    const QString escolhida = QString::fromStdString(FSaida);
    const TAoAbrir<QFileDialog> escolher([&escolhida](QFileDialog& dialogo) {
        dialogo.setDirectory(escolhida);
        dialogo.selectFile(escolhida);
        static_cast<QDialog&>(dialogo).accept();
    });
    QAction* botao = diretorio.findChild<QAction*>(QStringLiteral("btnEscolherDiretorio"));
    ASSERT_NE(botao, nullptr);
    botao->trigger();
    EXPECT_TRUE(escolher.Abriu());
    EXPECT_EQ(diretorio.text(), escolhida);
}

// --- Company link -----------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, CompanyLink_TypedNumberShowsCompanyAndPickWritesNumber) {
    Abrir();
    QLineEdit& empresa = Controle<QLineEdit>("EditEmpresa");
    QComboBox& lookup = Controle<QComboBox>("cmbEmpresa");

    QTest::keyClicks(&empresa, QStringLiteral("1"));
    EXPECT_EQ(lookup.currentText(), QStringLiteral("EMPRESA UM"));
    QTest::keyClick(&empresa, Qt::Key_Backspace);
    QTest::keyClicks(&empresa, QStringLiteral("2"));
    EXPECT_EQ(lookup.currentText(), QStringLiteral("COMÉRCIO DOIS"));
    QTest::keyClicks(&empresa, QStringLiteral("9"));
    EXPECT_EQ(lookup.currentIndex(), -1) << "29 is no listed company";
    EXPECT_EQ(empresa.text(), QStringLiteral("29")) << "an empty lookup does not change the number";

    lookup.setFocus();
    for (int linha = 0; linha < lookup.count(); ++linha) {
        SCOPED_TRACE(linha);
        QTest::keyClick(&lookup, linha == 0 ? Qt::Key_Home : Qt::Key_Down);
        ASSERT_EQ(lookup.currentIndex(), linha);
        EXPECT_EQ(empresa.text(), QString::number(lookup.currentData(Qt::UserRole).toInt()));
        EXPECT_EQ(lookup.currentText(), linha == 0 ? QStringLiteral("EMPRESA UM") : QStringLiteral("COMÉRCIO DOIS"));
    }
}

// --- Profiles ---------------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Profiles_ListedFromFileWithItemZeroSelected) {
    GravarPerfis(
        {Preenchido("Todos os Grupos"), Preenchido(TextoAnsi("Acessórios")) + "(1)", Preenchido("Doces") + "(2)"});
    Abrir();
    QComboBox& perfis = Controle<QComboBox>("cbPerfis");
    ASSERT_EQ(perfis.count(), 3);
    EXPECT_EQ(perfis.itemText(0), QString::fromStdString(Preenchido("Todos os Grupos")));
    EXPECT_EQ(perfis.itemText(1), QStringLiteral("Acessórios") + QString(50, ' '));
    EXPECT_EQ(perfis.itemText(2), QString::fromStdString(Preenchido("Doces")));
    EXPECT_EQ(perfis.currentIndex(), 0);
}

TEST_F(TTesteJanela, Profiles_EmptyFile_OffersAllGroupsOnly) {
    GravarBinario(CaminhoSistema(TDadosExportacao::ArquivoPerfis()), "");
    Abrir();
    QComboBox& perfis = Controle<QComboBox>("cbPerfis");
    ASSERT_EQ(perfis.count(), 1);
    EXPECT_EQ(perfis.itemText(0), QStringLiteral("Todos os Grupos"));
}

TEST_F(TTesteJanela, Profiles_AfterProfileWindow_ListIsRebuiltWithItemZeroSelected) {
    GravarPerfis({Preenchido("Todos os Grupos"), Preenchido("Bebidas") + "(1)"});
    Abrir();
    QComboBox& perfis = Controle<QComboBox>("cbPerfis");
    perfis.setCurrentIndex(1);
    GravarPerfis({Preenchido("Todos os Grupos"), Preenchido("Bebidas") + "(1)", Preenchido("Doces") + "(2)"});

    const TAoAbrir<TFConfiguracoes> fechar([](TFConfiguracoes& janela) { janela.reject(); });
    Controle<QPushButton>("btnConfiguracoes").click();

    EXPECT_TRUE(fechar.Abriu());
    EXPECT_EQ(perfis.count(), 3);
    EXPECT_EQ(perfis.currentIndex(), 0);
}

// --- The window itself ----------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Window_IsBorderlessFixedAndCentred) {
    TFMain& janela = Abrir();
    EXPECT_TRUE(janela.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(janela.size(), QSize(336, 361));
    EXPECT_EQ(janela.minimumSize(), janela.maximumSize());
    const QRect tela = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(std::abs(janela.geometry().center().x() - tela.center().x()), 1);
    EXPECT_LE(std::abs(janela.geometry().center().y() - tela.center().y()), 1);
    EXPECT_FALSE(Controle<QLabel>("imgLogo").pixmap().isNull()) << "the logo is compiled in";
    EXPECT_EQ(Controle<QLabel>("imgLogo").pixmap().size(), QSize(47, 28));
}

} // namespace
