#include "app/TesteJanelaPrincipal.h"
#include "support/TestDb.h"
#include "support/TextosVerificacao.h"
#include "support/qt/CaixaFalsa.h"
#include "support/qt/JanelasTeste.h"

#include "app/UEditData.h"
#include "app/UFConexao.h"
#include "app/UFHistorico.h"
#include "app/UFMain.h"
#include "app/UFVisualizacao.h"
#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UAcrescentarArquivo.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UDataHora.h"
#include "platform/UPastaPrograma.h"
#include "platform/UUsuarioSistema.h"
#include "profiles/UFConfiguracoes.h"
#include "qtbase/UCaixaMensagem.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace {

// --- The show sequence --------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Show_WithoutSettingsFile_ShowsConnectionBranchAndDefaults) {
    GravarPerfis(""); // the other tests have no profile file at all
    Abrir();
    EXPECT_TRUE(FCaixa.Chamadas.empty());
    EXPECT_EQ(Controle<QLabel>("lblDataBase").text().toStdString(),
              "Conectado à " + NomeBanco() + " em (" + Servidor().Host + ")");
    EXPECT_EQ(Controle<QLabel>("lblFilial").text(), QStringLiteral("Filial: 1 - LOJA CENTRO (12345678000190)"));
    for (const char* edit : {"EditDiretorio", "EditEmpresa", "EditNomeArquivo", "EditCodTorvane"})
        EXPECT_EQ(Controle(edit).text(), QString()) << edit;
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").currentIndex(), -1);
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 2) << "the deleted company is left out";
    EXPECT_TRUE(Controle<QRadioButton>("rdDataLancamento").isChecked());
    EXPECT_EQ(Controle<QComboBox>("cbPerfis").count(), 1);
    EXPECT_EQ(Controle<QComboBox>("cbPerfis").currentText(), QStringLiteral("Todos os Grupos"));
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    EXPECT_FALSE(Controle<QLabel>("imgLogo").pixmap().isNull()) << "the logo is compiled in";
    // Drawn in Arial or a font of Arial's widths, the caption shows whole.
    const auto& legenda = Controle<QLabel>("lblCaption");
    EXPECT_LE(QFontMetrics(legenda.font()).horizontalAdvance(legenda.text()), legenda.width());
    EXPECT_TRUE(QFontInfo(legenda.font()).family() == QStringLiteral("Arial") ||
                QFontInfo(legenda.font()).family() == QStringLiteral("Liberation Sans"))
        << QFontInfo(legenda.font()).family().toStdString();
    EXPECT_EQ(Foco(), QStringLiteral("EditDiretorio"));
    EXPECT_FALSE(ConfiguracoesGravadas()) << "showing the window writes nothing";
}

TEST_F(TTesteJanela, Show_WithSettingsFile_RestoresValuesAndShowsStoredCompany) {
    GravarConfiguracoes("[QOR]\r\nDiretorio= /dados/saida \r\nEmpresa=2\r\nCodTorvane=150\r\nTipoData=-1\r\n");
    Abrir();
    EXPECT_EQ(Controle("EditDiretorio").text(), QStringLiteral("/dados/saida"));
    EXPECT_EQ(Controle("EditEmpresa").text(), QStringLiteral("2"));
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").currentText(), QStringLiteral("COMÉRCIO DOIS"));
    EXPECT_EQ(Controle("EditCodTorvane").text(), QStringLiteral("150")) << "the digit limit is for typing only";
    EXPECT_TRUE(Controle<QRadioButton>("rdDataVencimento").isChecked()) << "any number but 0 is the due date";
}

TEST_F(TTesteJanela, Show_ProposesPreviousCalendarMonth) {
    const std::vector<std::pair<TDataHora, QDate>> casos = {{{2024, 3, 31, 23, 59, 0}, QDate(2024, 2, 29)},
                                                            {{2023, 3, 31, 8, 0, 0}, QDate(2023, 2, 28)},
                                                            {{2024, 1, 15, 12, 0, 0}, QDate(2023, 12, 31)}};
    for (const auto& [hoje, ultimo] : casos) {
        SCOPED_TRACE(hoje.TextoExibicao());
        DefinirRelogio([hoje = hoje] { return hoje; });
        Abrir();
        EXPECT_EQ(Controle<TEditData>("EditDe").date(), QDate(ultimo.year(), ultimo.month(), 1));
        EXPECT_EQ(Controle<TEditData>("EditAte").date(), ultimo);
    }
}

TEST_F(TTesteJanela, Show_FailingStep_ShowsFailureSkipsLaterStepsAndLeavesWindowUsable) {
    GravarConfiguracoes("[QOR]\r\nEmpresa=1\r\n");
    for (const std::string tabela : {"filial", "empresa"}) {
        SCOPED_TRACE(tabela);
        FCaixa.Chamadas.clear();
        Executar(Conexao(), "RENAME TABLE " + tabela + " TO guardada");
        Abrir();
        Executar(Conexao(), "RENAME TABLE guardada TO " + tabela);
        EsperarFalha(tabela);
        EXPECT_TRUE(FJanela->isVisible());
        EXPECT_FALSE(Controle<QLabel>("lblDataBase").text().isEmpty()) << "the steps before the failure ran";
        EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 0) << "the steps after it did not";
        EXPECT_EQ(Controle("EditEmpresa").text(), QString()) << "the settings were not read";
        PreencherValidos();
        EXPECT_EQ(Gerar(), TTextos{Sucesso});
        EXPECT_EQ(Lancamentos(), (TTextos{"000101", "000103"}));
    }
}

// --- Field checks -----------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, ValidarCampos_EachFailingCheck_ShowsItsMessageAndMovesFocus) {
    using R = TRespostaMensagem;
    const std::string nova = FPasta.Caminho() + "nova";
    const std::string falta = FPasta.Caminho() + "falta" + SeparadorPasta() + "nova";
    using enum TCampoExportacao;
    const std::string empresa = Aviso + TextosVerificacao.at(Empresa);
    const std::string nome = Aviso + TextosVerificacao.at(NomeArquivo);
    const std::string torvane = Aviso + TextosVerificacao.at(CodTorvane);
    const std::string de = Aviso + TextosVerificacao.at(DataInicial);
    const std::string naoCriou = Aviso + "Não foi possível criar o diretório \"" + IncluirSeparador(falta) + "\".";
    // The field changed from the valid values, the answer to a question, the boxes, the focus afterwards.
    const std::vector<std::tuple<const char*, std::string, R, TTextos, const char*>> casos = {
        {"EditDiretorio", "", R::Ok, {SemDiretorio}, "EditDiretorio"},
        {"EditDiretorio", " \t ", R::Ok, {SemDiretorio}, "EditDiretorio"},
        {"EditDiretorio", nova, R::Nao, {PerguntaCriar(nova), Aviso + "Operação cancelada pelo usuário."}, ""},
        {"EditDiretorio", falta, R::Sim, {PerguntaCriar(falta), naoCriou}, ""},
        // Days that do not exist, typed: never moved to another day.
        {"EditDe", "31022024", R::Ok, {de}, "EditDe"},
        {"EditDe", "31", R::Ok, {de}, "EditDe"},
        {"EditAte", "00/03/2024", R::Ok, {Aviso + TextosVerificacao.at(DataFinal)}, "EditAte"},
        {"EditEmpresa", "", R::Ok, {empresa}, "cmbEmpresa"},
        {"EditEmpresa", "0", R::Ok, {empresa}, "cmbEmpresa"},
        {"EditNomeArquivo", "", R::Ok, {nome}, ""},
        {"EditNomeArquivo", "   ", R::Ok, {nome}, ""},
        {"EditCodTorvane", "", R::Ok, {torvane}, "EditCodTorvane"},
        {"EditCodTorvane", "0", R::Ok, {torvane}, "EditCodTorvane"},
        // Only a hand-edited settings file gets such a number into the edit.
        {"EditCodTorvane", "150", R::Ok, {torvane}, "EditCodTorvane"},
    };
    Abrir();
    for (const auto& [campo, texto, resposta, mensagens, foco] : casos) {
        SCOPED_TRACE(std::string(campo) + "=\"" + texto + "\"");
        FCaixa.Respostas = {resposta};
        PreencherValidos();
        Escrever(campo, texto);
        // A date is typed and F3 pressed right in its field; the other fields are left for the file name.
        auto* data = qobject_cast<TEditData*>(&Controle(campo));
        const char* tecla = data ? campo : "EditNomeArquivo";
        Controle(tecla).setFocus();
        EXPECT_EQ(Gerar(tecla), mensagens);
        EXPECT_EQ(Foco(), QString::fromLatin1(*foco ? foco : tecla)) << "empty: where F3 was pressed";
        if (data) {
            QTest::keyClicks(data, QStringLiteral("01022024"));
            EXPECT_EQ(data->date(), QDate(2024, 2, 1)) << "the date typed next replaces the refused one";
        }
        EXPECT_FALSE(ConfiguracoesGravadas()) << "a failed check writes no settings";
        EXPECT_FALSE(ArquivoExiste(Saida("dados.txt")));
        EXPECT_FALSE(DiretorioExiste(nova)) << "No creates nothing";
    }
}

TEST_F(TTesteJanela, ValidarCampos_FileNameThatIsAPath_IsRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directory(CaminhoDeUtf8(Saida("x.txt")));
    GravarBinario(FPasta.Sistema() / "alvo.conf", "intacto");
    Abrir();
    std::vector<std::pair<std::string, std::string>> casos;
    for (const char* nome : {"x.txt/../../alvo.conf", "/tmp/dados", ".", ".."})
        casos.emplace_back(nome, Aviso + TextoNomeComPasta(nome));
#ifdef _WIN32
    // Nor a name Windows keeps for a device, which would never reach a file.
    casos.emplace_back("nul.txt", Aviso + "O nome do arquivo \"nul.txt\" não é válido: o Windows reserva esse nome "
                                          "para um dispositivo (CON, PRN, AUX, NUL, COM1 a COM9 e LPT1 a LPT9, com "
                                          "ou sem extensão).");
#endif
    for (const auto& [nome, recusa] : casos) {
        SCOPED_TRACE(nome);
        PreencherValidos();
        Digitar("EditNomeArquivo", QString::fromStdString(nome));
        Controle("EditCodTorvane").setFocus();
        EXPECT_EQ(Gerar("EditCodTorvane"), TTextos{recusa});
        EXPECT_EQ(Foco(), QStringLiteral("EditNomeArquivo"));
    }
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "alvo.conf"), "intacto");
    EXPECT_EQ(NomesNaPasta(CaminhoDeUtf8(FSaida)), std::vector<std::string>{"x.txt"});
    EXPECT_FALSE(ConfiguracoesGravadas());
}

TEST_F(TTesteJanela, Gerar_FolderAndNameBeyondCodePage1252_AreTheFileSystemsAndStoredAsTyped) {
    // Typed, so upper-cased where the file system ignores case.
    const std::string pasta = Digitado(IncluirSeparador(FSaida) + "użyt_ł");
    Abrir();
    PreencherValidos();
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    Digitar("EditDiretorio", QString::fromStdString(pasta));
    Digitar("EditNomeArquivo", QStringLiteral("relatório_ł"));
    EXPECT_EQ(Gerar("EditNomeArquivo"),
              (TTextos{"Confirmação (pergunta, *Sim/Não): O Diretório \"" + IncluirSeparador(Digitado(FSaida)) +
                           Digitado("u?yt_?") + SeparadorPasta() + "\" não existe, deseja criá-lo?",
                       "Informação (informação, OK): Arquivo \"relatório_?.txt\"  gerado com sucesso." + Totais}));
    EXPECT_EQ(NomesNaPasta(CaminhoDeUtf8(pasta)), std::vector<std::string>{"relatório_ł.txt"});
    EXPECT_EQ(TValoresExportacao::Ler().Diretorio, CaminhoDeUtf8(pasta));
    Abrir();
    EXPECT_EQ(Controle("EditDiretorio").text(), QString::fromStdString(pasta)) << "read back as the same folder";
}

TEST_F(TTesteJanela, ValidarCampos_FolderCreatedOnYes_TakesTheExportAndStaysWhenALaterCheckFails) {
    const std::string nova = FPasta.Caminho() + "nova";
    const std::string outra = FPasta.Caminho() + "outra";
    Abrir();
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    PreencherValidos();
    Escrever("EditDiretorio", nova);
    Escrever("EditNomeArquivo", "");
    EXPECT_EQ(Gerar(), (TTextos{PerguntaCriar(nova), Aviso + TextosVerificacao.at(TCampoExportacao::NomeArquivo)}));
    EXPECT_TRUE(DiretorioExiste(nova));

    FCaixa.Respostas = {TRespostaMensagem::Sim};
    PreencherValidos();
    Escrever("EditDiretorio", outra);
    EXPECT_EQ(Gerar(), (TTextos{PerguntaCriar(outra), Sucesso}));
    EXPECT_TRUE(ArquivoExiste(IncluirSeparador(outra) + "dados.txt"));
    EXPECT_EQ(TValoresExportacao::Ler().Diretorio, outra) << "stored as typed, without the separator";
}

// --- Generation -------------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Gerar_PeriodAlreadySent_AsksFirstWithNoAsTheDefault) {
    Abrir();
    PreencherValidos();
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{Sucesso});
    std::filesystem::remove(CaminhoDeUtf8(Saida("dados.txt")));
    // The second half of the month overlaps the period sent.
    Controle<TEditData>("EditDe").setFocus();
    QTest::keyClicks(&Controle<QWidget>("EditDe"), "15/02/2024");
    const std::string pergunta = "Confirmação (pergunta, Sim/*Não/Somente os novos): Este período já foi exportado "
                                 "para esta empresa:\nExportação de 31/03/2024 "
                                 "10:00:00 por " +
                                 Cp1252ParaUtf8(NomeUsuarioSistema()) +
                                 ": empresa 1, período de 01/02/2024 a 29/02/2024 pela data de lançamento, arquivo \"" +
                                 Saida("dados.txt") + "\", 2 lançamentos, total R$ 170,75.\nGerar o arquivo novamente?";
    // "Não" is the default (marked "*"); answered so, nothing is written and nothing recorded.
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{pergunta});
    EXPECT_FALSE(ArquivoExiste(CaminhoDeUtf8(Saida("dados.txt"))));
    EXPECT_EQ(THistoricoExportacao::Ler().Registros.size(), 1u);
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    EXPECT_EQ(Gerar("EditNomeArquivo"), (TTextos{pergunta, "Informação (informação, OK): Arquivo \"dados.txt\"  "
                                                           "gerado com sucesso.\n1 lançamento, total R$ 20,50"}));
    EXPECT_EQ(THistoricoExportacao::Ler().Registros.size(), 2u);
    // Both exports of the file, made in the same second by the clock, are listed, the last one first.
    const TTextos terceira = Gerar("EditNomeArquivo");
    ASSERT_EQ(terceira.size(), 1u);
    const auto ultima = terceira[0].find("1 lançamento, total R$ 20,50.");
    const auto primeira = terceira[0].find("2 lançamentos, total R$ 170,75.");
    EXPECT_TRUE(ultima < primeira && primeira != std::string::npos) << terceira[0];
    // Another company's exports are not its own; its number in Torvane is, and the window asks before another
    // company goes under it ("Não" the default, marked "*").
    Escrever("EditEmpresa", "2");
    const std::string outra = "Confirmação (pergunta, Sim/*Não): O código Torvane 7 foi usado para a empresa 1 – "
                              "EMPRESA UM (última vez em 31/03/2024 por " +
                              Cp1252ParaUtf8(NomeUsuarioSistema()) + "). Gerar a empresa 2 com o código 7?";
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{outra});
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    EXPECT_EQ(Gerar("EditNomeArquivo"), (TTextos{outra, NadaEncontrado}));
}

// "Somente os novos" writes the postings that no file sent held, from the database (F3) or from what was seen (F5);
// a posting changed since it was sent stays out and is listed for a correction in Torvane.
TEST_F(TTesteJanela, Gerar_PeriodAlreadySent_SomenteOsNovosWritesOnlyTheAddedAndListsTheChanged) {
    Abrir();
    PreencherValidos();
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{Sucesso});
    const auto inserir = [this](const char* numero, const char* valor) {
        Executar(Conexao(), std::string("INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, "
                                        "apagado, clientes_id, filial_id, produto_id) VALUES ('") +
                                numero + "', '2024-02-16 10:00:00', '2024-03-16 00:00:00', " + valor +
                                ", 0, 'N', 1, 1, 1)");
    };
    inserir("104", "5");
    Executar(Conexao(), "UPDATE receber SET valortotal = 25 WHERE numlanc = '103'");
    const std::string alterado = "\n\nAlterados desde que foram enviados, fora do arquivo (corrija-os na Torvane):\n"
                                 "Chapa 0000004521, JOÃO DA SILVA, 15/02/2024, nº 103: alterado, enviado R$ 20,50, "
                                 "agora R$ 25,00.";
    FCaixa.Respostas = {TRespostaMensagem::SomenteNovos};
    const TTextos novos = Gerar("EditNomeArquivo");
    ASSERT_EQ(novos.size(), 2u);
    EXPECT_EQ(novos[0].rfind("Confirmação (pergunta, Sim/*Não/Somente os novos): ", 0), 0u) << novos[0];
    EXPECT_EQ(novos[1], "Informação (informação, OK): Arquivo \"dados.txt\"  gerado com sucesso.\n1 lançamento, "
                        "total R$ 5,00" +
                            alterado);
    EXPECT_EQ(Lancamentos(), TTextos{"000104"});
    EXPECT_TRUE(THistoricoExportacao::Ler().Registros.back().SomenteNovos);

    // The file of new postings counts as sent: nothing is new now, and nothing is written.
    std::filesystem::remove(CaminhoDeUtf8(Saida("dados.txt")));
    FCaixa.Respostas = {TRespostaMensagem::SomenteNovos};
    EXPECT_EQ(Gerar("EditNomeArquivo").at(1), NadaEncontrado + alterado);
    EXPECT_FALSE(ArquivoExiste(CaminhoDeUtf8(Saida("dados.txt"))));

    // From the look before writing, the lines seen are the ones weighed: 105 comes in while the window is open.
    TAoAbrir<TFVisualizacao> visualizacao([&](TFVisualizacao& janela) {
        inserir("105", "6");
        QTest::keyClick(&::Controle<QTableView>(janela, "GridLancamentos"), Qt::Key_F3);
    });
    inserir("106", "7");
    FCaixa.Respostas = {TRespostaMensagem::SomenteNovos};
    EXPECT_EQ(Gerar("EditNomeArquivo", Qt::Key_F5).at(1),
              "Informação (informação, OK): Arquivo \"dados.txt\"  gerado com sucesso.\n1 lançamento, total R$ 7,00" +
                  alterado);
    EXPECT_EQ(Lancamentos(), TTextos{"000106"});
}

// Each company's own number in Torvane and file name come back when the company is typed or picked; a company
// never exported keeps what the fields held, even typed through another's number.
TEST_F(TTesteJanela, Empresa_EachCompanyBringsBackItsOwnCodeAndFileName) {
    Abrir();
    PreencherValidos();
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{Sucesso});
    Escrever("EditDe", "01/01/2024");
    Digitar("EditEmpresa", "2");
    Digitar("EditNomeArquivo", "dois");
    Digitar("EditCodTorvane", "8");
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{NadaEncontrado});
    const auto campos = [&] {
        return std::make_pair(Controle("EditCodTorvane").text().toStdString(),
                              Controle("EditNomeArquivo").text().toStdString());
    };
    Digitar("EditEmpresa", "1");
    EXPECT_EQ(campos(), std::make_pair(std::string("7"), std::string("dados")));
    auto& lista = Controle<QComboBox>("cmbEmpresa");
    lista.setFocus();
    QTest::keyClick(&lista, Qt::Key_Down);
    EXPECT_EQ(lista.currentText().toStdString(), "COMÉRCIO DOIS");
    EXPECT_EQ(campos(), std::make_pair(std::string("8"), std::string("dois")));
    // Company 12 passes through 1 as it is typed, and was never exported: the fields stay as the user left them.
    Digitar("EditNomeArquivo", "doze");
    Digitar("EditCodTorvane", "9");
    Digitar("EditEmpresa", "12");
    EXPECT_EQ(campos(), std::make_pair(std::string("9"), std::string("doze")));

    // A new PC of the office, with nothing saved but the shared record: the codes come from the record.
    FJanela.reset();
    std::filesystem::remove(Ini());
    Abrir();
    Digitar("EditEmpresa", "1");
    EXPECT_EQ(campos(), std::make_pair(std::string("7"), std::string("dados.txt")));
}

TEST_F(TTesteJanela, Gerar_RecordThatCannotBeWritten_IsSaidInTheSuccessBoxAndTheExportStands) {
    Abrir();
    PreencherValidos();
    std::filesystem::create_directory(THistoricoExportacao::Arquivo());
    // A folder at the record's name holds no earlier export, and takes no row.
    const TTextos caixas = Gerar("EditNomeArquivo");
    ASSERT_EQ(caixas.size(), 1u);
    EXPECT_TRUE(caixas[0].starts_with(Sucesso + "\nO arquivo foi gerado, mas não foi registrado no histórico de "
                                                "exportações: "))
        << caixas[0];
    EXPECT_EQ(Lancamentos(), (TTextos{"000101", "000103"}));
    EXPECT_TRUE(ConfiguracoesGravadas()) << "the export is done";
}

TEST_F(TTesteJanela, Gerar_FileNameRule_CompletesWithTxtOnlyWhereNeeded) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"abc", "abc.txt"},         {"abcd", "abcd.txt"},       {"x.tx", "x.tx.txt"},
        {"Dados.TXT", "Dados.TXT"}, {"a.txt.bak", "a.txt.bak"}, {".txt", ".txt"},
        {" ab", " ab.txt"},         {"abc ", "abc .txt"},       {"relatório", "relatório.txt"},
    };
    Abrir();
    for (const auto& [digitado, gerado] : casos) {
        SCOPED_TRACE(digitado);
        PreencherValidos();
        Escrever("EditNomeArquivo", digitado);
        EXPECT_EQ(Gerar(),
                  TTextos{"Informação (informação, OK): Arquivo \"" + gerado + "\"  gerado com sucesso." + Totais});
        EXPECT_TRUE(ArquivoExiste(CaminhoDeUtf8(Saida(gerado))));
    }
}

TEST_F(TTesteJanela, Gerar_PassesEveryValueOfTheWindowToTheExport_StoresThemAlsoWhenNothingIsFound) {
    GravarPerfis(ArquivoDePerfis({P("Bebidas") + "(1)", P("Doces") + "(2)"}));
    // Each case: the company, due date or posting date, the profile, the receivables exported (none: nothing found,
    // and no file), and their total. Company 3 is deleted, so not in the lookup; the check takes it all the same.
    const std::vector<std::tuple<int, bool, int, TTextos, std::string>> casos = {
        {1, false, 0, {"000101", "000103"}, Totais},
        {1, true, 0, {"000101", "000102"}, "\n2 lançamentos, total R$ 160,25"},
        {1, false, 1, {"000101"}, "\n1 lançamento, total R$ 150,25"},
        {1, false, 2, {"000103"}, "\n1 lançamento, total R$ 20,50"},
        {2, false, 0, {}, ""},
        {3, true, 0, {}, ""},
    };
    Abrir();
    const std::string sucesso = Sucesso.substr(0, Sucesso.size() - Totais.size());
    for (const auto& [empresa, vencimento, perfil, lancamentos, totais] : casos) {
        SCOPED_TRACE(std::to_string(empresa) + " " + std::to_string(vencimento) + " " + std::to_string(perfil));
        std::filesystem::remove(Ini());
        std::filesystem::remove(CaminhoDeUtf8(Saida("dados.txt")));
        PreencherValidos();
        Escrever("EditEmpresa", std::to_string(empresa));
        Controle<QRadioButton>(vencimento ? "rdDataVencimento" : "rdDataLancamento").setChecked(true);
        Controle<QComboBox>("cbPerfis").setCurrentIndex(perfil);
        EXPECT_EQ(Gerar(), TTextos{lancamentos.empty() ? NadaEncontrado : sucesso + totais});
        EXPECT_EQ(ArquivoExiste(Saida("dados.txt")), !lancamentos.empty());
        EXPECT_EQ(Lancamentos(), lancamentos);
        EXPECT_TRUE(lancamentos.empty() || LerBinario(CaminhoDeUtf8(Saida("dados.txt"))).rfind("070000004521", 0) == 0)
            << "Torvane number, then the badge";
        const TValoresExportacao valores = TValoresExportacao::Ler();
        EXPECT_EQ(valores.Diretorio, FSaida);
        EXPECT_EQ(valores.Empresa, empresa);
        EXPECT_EQ(valores.CodTorvane, 7);
        EXPECT_EQ(valores.TipoData, vencimento ? 1 : 0);
    }
}

TEST_F(TTesteJanela, Gerar_ExportFails_ShowsFailureWritesNoSettingsAndStaysUsable) {
    Abrir();
    Executar(Conexao(), "DROP TABLE receber");
    PreencherValidos();
    Gerar();
    EsperarFalha("receber");
    EXPECT_FALSE(ConfiguracoesGravadas());
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    Escrever("EditDiretorio", "");
    EXPECT_EQ(Gerar(), TTextos{SemDiretorio}) << "the button works again";
}

TEST_F(TTesteJanela, Gerar_DuringExport_GaugeShownAndSecondStartRefused) {
    Abrir();
    PreencherValidos();
    TeclaDuranteAExportacao("EditNomeArquivo", Qt::Key_F3);
    TeclaDuranteAExportacao("btnGerar", Qt::Key_Space);
    // Seen at the end of the export, when the box shows; the gauge's last position is its maximum.
    std::vector<int> durante;
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) {
        durante = {Controle<QFrame>("pnlProgress").isVisible(), Controle<QPushButton>("btnGerar").isEnabled(),
                   Controle<QProgressBar>("oProgress").maximum(), Controle<QProgressBar>("oProgress").value()};
    };
    EXPECT_EQ(Gerar(), TTextos{Sucesso});
    EXPECT_EQ(durante, (std::vector<int>{true, false, 2, 2}));
    EXPECT_FALSE(Controle<QFrame>("pnlProgress").isVisible());
    EXPECT_TRUE(Controle<QPushButton>("btnGerar").isEnabled());
    QCoreApplication::processEvents();
    EXPECT_EQ(FCaixa.Chamadas.size(), 1u) << "nothing was left waiting to start again";
}

TEST_F(TTesteJanela, Close_WhileExportRuns_WaitsForTheExportAndItsSettings) {
    Abrir();
    PreencherValidos();
    TeclaDuranteAExportacao("EditNomeArquivo", Qt::Key_Escape);
    bool visivelNoFim = false;
    FCaixa.AoMostrar = [&](const TCaixaFalsa::TChamada&) { visivelNoFim = FJanela->isVisible(); };
    EXPECT_EQ(Gerar(), TTextos{Sucesso});
    EXPECT_TRUE(visivelNoFim) << "the window stays while the export runs";
    EXPECT_TRUE(ConfiguracoesGravadas());
    EXPECT_FALSE(FJanela->isVisible()) << "then it closes";
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 0) << "and lets the company list go";
}

// --- Keys and edits ---------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Keys_EnterTwiceOnGerar_ExportsOnceAndKeepsTheWindowAndTheFocus) {
    Abrir();
    PreencherValidos();
    Controle<QPushButton>("btnGerar").setFocus();
    bool durante = false;
    // The second Enter goes to whatever holds the focus while the export lets events run.
    QTimer::singleShot(0, FJanela.get(), [&] {
        durante = !Controle<QPushButton>("btnGerar").isEnabled();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(Gerar("btnGerar", Qt::Key_Return), TTextos{Sucesso});
    EXPECT_TRUE(durante) << "the second Enter came during the export";
    QApplication::processEvents();
    EXPECT_TRUE(FJanela->isVisible());
    EXPECT_EQ(Foco(), QStringLiteral("btnGerar"));
}

TEST_F(TTesteJanela, Keys_F3FromAnyControlGenerates_EscClosesAtOnceWithoutWritingSettings) {
    Abrir();
    for (const char* nome : {"EditDiretorio", "EditEmpresa", "cmbEmpresa", "cbPerfis", "EditDe", "btnFechar"}) {
        SCOPED_TRACE(nome);
        PreencherValidos();
        Controle<QWidget>(nome).setFocus();
        EXPECT_EQ(Gerar(nome), TTextos{Sucesso});
        EXPECT_TRUE(FJanela->isVisible());
    }
    std::filesystem::remove(Ini());
    EXPECT_EQ(Gerar("EditNomeArquivo", Qt::Key_Escape), TTextos{});
    EXPECT_FALSE(FJanela->isVisible());
    EXPECT_FALSE(ConfiguracoesGravadas());
    EXPECT_EQ(Controle<QComboBox>("cmbEmpresa").count(), 0) << "the company list is let go";
}

TEST_F(TTesteJanela, Keys_TabAndShiftTab_WalkTheWindowInItsOrderWithOneStopForEachDate) {
    Abrir();
    for (const char* base : {"rdDataVencimento", "rdDataLancamento"}) {
        SCOPED_TRACE(base);
        QTest::mouseClick(&Controle<QRadioButton>(base), Qt::LeftButton);
        // Round the window and back to where the walk began.
        const std::vector<const char*> ordem = {"EditDiretorio",
                                                base,
                                                "EditDe",
                                                "EditAte",
                                                "EditEmpresa",
                                                "cmbEmpresa",
                                                "cbPerfis",
                                                "EditNomeArquivo",
                                                "EditCodTorvane",
                                                "btnConfiguracoes",
                                                "btnGerar",
                                                "btnFechar",
                                                "btnVariasEmpresas",
                                                "btnVisualizar",
                                                "btnHistorico",
                                                "btnConexao",
                                                "EditDiretorio"};
        Controle<QWidget>("EditDiretorio").setFocus();
        for (std::size_t i = 1; i < ordem.size(); ++i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(Foco(), QString::fromLatin1(ordem[i])) << "Tab from " << ordem[i - 1];
        }
        for (std::size_t i = ordem.size() - 1; i > 0; --i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            EXPECT_EQ(Foco(), QString::fromLatin1(ordem[i - 1])) << "Shift+Tab from " << ordem[i];
        }
    }
}

TEST_F(TTesteJanela, Edits_DateTypedOverAnother_IsExactlyTheDateTyped) {
    DefinirRelogio([] { return TDataHora{2026, 12, 9, 10, 0, 0}; }); // proposes 01/11/2026 to 30/11/2026
    // The field, the keys typed on reaching it with Tab ("<" and ">": the arrow keys), what it shows once Tab has
    // left it, whether that is a date.
    const std::vector<std::tuple<const char*, std::string, std::string, bool>> casos = {
        {"EditAte", "31032024", "31/03/2024", true},   {"EditAte", "31/03/2024", "31/03/2024", true},
        {"EditDe", "29022024", "29/02/2024", true},    {"EditDe", "3/3/2024", "03/03/2024", true},
        {"EditAte", "31", "31/11/2026", false},        {"EditAte", "31022024", "31/02/2024", false},
        {"EditDe", "00/03/2024", "00/03/2024", false}, {"EditDe", "0103", "01/03/2026", true},
        {"EditAte", ">>02", "30/02/2026", false},      {"EditDe", "15>>2025<1", "15/11/2021", true},
    };
    Abrir();
    for (const auto& [nome, teclas, mostrado, valida] : casos) {
        SCOPED_TRACE(std::string(nome) + " " + teclas);
        TEditData& campo = Controle<TEditData>(nome);
        Controle<TEditData>("EditDe").setDate(QDate(2026, 11, 1));
        Controle<TEditData>("EditAte").setDate(QDate(2026, 11, 30));
        Controle<QRadioButton>("rdDataLancamento").setFocus();
        for (int tabs = campo.objectName() == QStringLiteral("EditDe") ? 1 : 2; tabs > 0; --tabs)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(Foco(), campo.objectName());
        for (const char tecla : teclas) {
            if (tecla == '<' || tecla == '>')
                QTest::keyClick(&campo, tecla == '<' ? Qt::Key_Left : Qt::Key_Right);
            else
                QTest::keyClicks(&campo, QString(QLatin1Char(tecla)));
        }
        QTest::keyClick(&campo, Qt::Key_Tab);
        EXPECT_NE(Foco(), campo.objectName()) << "Tab leaves the field";
        EXPECT_EQ(campo.displayText().toStdString(), mostrado);
        EXPECT_EQ(campo.date(), valida ? QDate::fromString(QString::fromStdString(mostrado), "dd/MM/yyyy") : QDate());
        EXPECT_EQ(campo.palette().color(QPalette::Text) == QColor(Qt::red), !valida) << "red while it holds no date";
    }
}

TEST_F(TTesteJanela, Edits_DateCalendar_OpensOnTheFieldsDateAndGivesThePickedDay) {
    Abrir();
    TEditData& de = Controle<TEditData>("EditDe");
    de.setFocus();
    QTest::keyClick(&de, Qt::Key_F4);
    auto& calendario = ::Controle<QCalendarWidget>(de, "calendario");
    ASSERT_TRUE(calendario.isVisible());
    EXPECT_EQ(calendario.selectedDate(), QDate(2024, 2, 1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down); // a week later
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(calendario.isVisible());
    EXPECT_EQ(de.date(), QDate(2024, 2, 8));
    EXPECT_EQ(Foco(), QStringLiteral("EditDe"));

    // No date in the field: the calendar opens on today; Esc closes it and leaves the field and the window alone.
    QTest::keyClicks(&de, QStringLiteral("31"));
    QTest::keyClick(&de, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calendario.isVisible());
    EXPECT_EQ(calendario.selectedDate(), QDate(2024, 3, 31));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(calendario.isVisible());
    EXPECT_TRUE(FJanela->isVisible());
    EXPECT_EQ(de.displayText(), QStringLiteral("31/02/2024"));
}

TEST_F(TTesteJanela, Edits_FolderButton_ChosenFolderReplacesText) {
    Abrir();
    Escrever("EditDiretorio", "texto digitado");
    const QString escolhida = QString::fromStdString(FSaida);
    const TAoAbrir<QFileDialog> escolher([&escolhida](QFileDialog& dialogo) {
        dialogo.setDirectory(escolhida);
        dialogo.selectFile(escolhida);
        static_cast<QDialog&>(dialogo).accept();
    });
    Controle<QAction>("btnEscolherDiretorio").trigger();
    EXPECT_TRUE(escolher.Executou());
    EXPECT_EQ(Controle("EditDiretorio").text(), escolhida);
}

TEST_F(TTesteJanela, Edits_TypingLimited_CompanyNumberAndLookupLinkedBothWays) {
    Abrir();
    QTest::keyClicks(&Controle("EditCodTorvane"), QStringLiteral("1a-23"));
    EXPECT_EQ(Controle("EditCodTorvane").text(), QStringLiteral("12"));
    QTest::keyClicks(&Controle("EditDiretorio"), QStringLiteral("/tmp/Saida"));
    EXPECT_EQ(Controle("EditDiretorio").text(),
              SistemaIgnoraCaixa() ? QStringLiteral("/TMP/SAIDA") : QStringLiteral("/tmp/Saida"));

    QLineEdit& empresa = Controle("EditEmpresa");
    QComboBox& lookup = Controle<QComboBox>("cmbEmpresa");
    QTest::keyClicks(&empresa, QStringLiteral("001"));
    EXPECT_EQ(lookup.currentText(), QStringLiteral("EMPRESA UM"));
    QTest::keyClick(&empresa, Qt::Key_Return);
    EXPECT_EQ(empresa.text(), QStringLiteral("1")) << "shown without leading zeros";
    QTest::keyClick(&empresa, Qt::Key_Backspace);
    QTest::keyClicks(&empresa, QStringLiteral("2"));
    EXPECT_EQ(lookup.currentText(), QStringLiteral("COMÉRCIO DOIS"));
    QTest::keyClicks(&empresa, QStringLiteral("9"));
    EXPECT_EQ(lookup.currentIndex(), -1) << "29 is no listed company";
    EXPECT_EQ(empresa.text(), QStringLiteral("29")) << "an empty lookup does not change the number";

    lookup.setFocus();
    QTest::keyClick(&lookup, Qt::Key_Home);
    EXPECT_EQ(empresa.text(), QStringLiteral("1"));
    QTest::keyClick(&lookup, Qt::Key_Down);
    EXPECT_EQ(empresa.text(), QStringLiteral("2"));
    EXPECT_EQ(lookup.currentText(), QStringLiteral("COMÉRCIO DOIS"));
}

// --- The connection and the screen reader ----------------------------------------------------------------------

// The button that a field draws for one of its actions.
QObject& BotaoDaAcao(QWidget& campo, const char* acao) {
    for (QObject* objeto : ::Controle<QAction>(campo, acao).associatedObjects())
        if (qobject_cast<QAbstractButton*>(objeto))
            return *objeto;
    throw std::runtime_error(std::string("no button for ") + acao);
}

TEST_F(TTesteJanela, ScreenReader_EveryControlHasItsLabelsNameOnce_IconButtonsTheirPurpose) {
    Abrir();
    EXPECT_EQ(ProblemasAcessiveis(*FJanela, QStringLiteral("Exportação financeira Torvane")), TTextos{});
    const std::vector<std::pair<QObject*, const char*>> nomes = {
        {&Controle("EditDiretorio"), "Diretório de Geração do Arquivo"},
        {&BotaoDaAcao(Controle("EditDiretorio"), "btnEscolherDiretorio"), "Escolher a pasta"},
        {&Controle("EditDe"), "Período inicial"},
        {&BotaoDaAcao(Controle("EditDe"), "btnCalendario"), "Calendário do período inicial"},
        {&Controle("EditAte"), "Período final"},
        {&BotaoDaAcao(Controle("EditAte"), "btnCalendario"), "Calendário do período final"},
        {&Controle("EditEmpresa"), "Número da empresa"},
        {&Controle<QComboBox>("cmbEmpresa"), "Empresa"},
        {&Controle<QComboBox>("cbPerfis"), "Perfil"},
        {&Controle("EditNomeArquivo"), "Nome do arquivo"},
        {&Controle("EditCodTorvane"), "Cód. Empresa (Torvane)"},
        {&Controle<QPushButton>("btnConexao"), "Conexão…"}};
    for (const auto& [controle, nome] : nomes)
        EXPECT_EQ(NomeAcessivel(*controle), QString::fromUtf8(nome)) << controle->objectName().toStdString();
    // A list is named by its label; what it shows is still read, as its value.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&Controle<QComboBox>("cbPerfis"))->text(QAccessible::Value),
              QStringLiteral("Todos os Grupos"));
}

TEST_F(TTesteJanela, Conexao_ButtonInTheStatusStrip_OpensTheWindow_ASavedConnectionCountsFromTheNextStart) {
    Abrir();
    QPushButton& botao = Controle<QPushButton>("btnConexao");
    EXPECT_EQ(botao.text(), QStringLiteral("Conexão…"));
    EXPECT_EQ(botao.geometry(), QRect(230, 375, 94, 11));
    EXPECT_TRUE(botao.isFlat());
    EXPECT_EQ(botao.font().pixelSize(), 9);
    for (const char* rotulo : {"lblFilial", "lblDataBase"})
        EXPECT_FALSE(Controle<QLabel>(rotulo).geometry().intersects(botao.geometry())) << rotulo;
    // The settings beside the program would be read-only: from here on they are the user's.
    std::filesystem::create_directory(FPasta.Sistema() / "programa");
    DefinirPastaPrograma(FPasta.Sistema() / "programa");

    for (const bool salvar : {false, true}) {
        SCOPED_TRACE(salvar ? "Salvar" : "Esc");
        FCaixa.Chamadas.clear();
        const TAoAbrir<TFConexao> conexao([salvar](TFConexao& janela) {
            if (!salvar)
                return QTest::keyClick(&janela, Qt::Key_Escape);
            QTest::keyClick(&::Controle<QPushButton>(janela, "btnSalvar"), Qt::Key_Return);
        });
        botao.setFocus();
        QTest::keyClick(&botao, Qt::Key_Return);
        EXPECT_TRUE(conexao.Executou());
        EXPECT_EQ(FCaixa.Resumos(),
                  salvar ? TTextos{"Informação (informação, OK): A nova conexão será usada na próxima vez que o "
                                   "programa for aberto."}
                         : TTextos{});
        EXPECT_TRUE(FJanela->isVisible());
    }
}

// --- Profiles ---------------------------------------------------------------------------------------------------

TEST_F(TTesteJanela, Profiles_ListedFromFile_AndRebuiltAfterTheProfileWindowWithItemZeroSelected) {
    GravarPerfis(ArquivoDePerfis({P(TextoAnsi("Acessórios")) + "(1)"}));
    Abrir();
    QComboBox& perfis = Controle<QComboBox>("cbPerfis");
    ASSERT_EQ(perfis.count(), 2);
    EXPECT_EQ(perfis.itemText(0), QString::fromStdString(P("Todos os Grupos")));
    EXPECT_EQ(perfis.itemText(1), QStringLiteral("Acessórios") + QString(50, ' '));
    perfis.setCurrentIndex(1);

    GravarPerfis(ArquivoDePerfis({P("Bebidas") + "(1)", P("Doces") + "(2)"}));
    const TAoAbrir<TFConfiguracoes> fechar([](TFConfiguracoes& janela) { janela.reject(); });
    Controle<QPushButton>("btnConfiguracoes").click();
    EXPECT_TRUE(fechar.Executou());
    EXPECT_EQ(perfis.count(), 3);
    EXPECT_EQ(perfis.currentIndex(), 0);
}

} // namespace

TEST(TTesteTextosDoQt, QuestionBox_StandardButtonsSpeakPortuguese) {
    TCaixaMensagem real;
    QStringList botoes;
    QTimer::singleShot(0, [&] {
        auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(caixa, nullptr);
        for (const QAbstractButton* botao : caixa->buttons())
            botoes << botao->text().remove(QLatin1Char('&'));
        caixa->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(real.Mostrar(nullptr, "Continuar?", TextoAnsi("Confirmação"), TIconeMensagem::Pergunta,
                           TBotoesMensagem::SimNao, false),
              TRespostaMensagem::Nao);
    botoes.sort();
    EXPECT_EQ(botoes, (QStringList{QStringLiteral("Não"), QStringLiteral("Sim")}));
}

TEST(TTesteTextosDoQt, SentAgainBox_NoIsTheDefaultAndEsc_SomenteOsNovosOnlyByItsButton) {
    TCaixaMensagem real;
    const std::pair<Qt::Key, TRespostaMensagem> casos[] = {{Qt::Key_Return, TRespostaMensagem::Nao},
                                                           {Qt::Key_Escape, TRespostaMensagem::Nao},
                                                           {Qt::Key_Space, TRespostaMensagem::SomenteNovos}};
    for (const auto& [tecla, resposta] : casos) {
        SCOPED_TRACE(tecla);
        QTimer::singleShot(0, [tecla] {
            auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(caixa, nullptr);
            auto* novos = caixa->findChild<QPushButton*>(QStringLiteral("btnSomenteNovos"));
            ASSERT_NE(novos, nullptr);
            EXPECT_EQ(novos->text(), QStringLiteral("Somente os novos"));
            if (tecla == Qt::Key_Space)
                QTest::keyClick(novos, tecla);
            else
                QTest::keyClick(caixa, tecla);
        });
        EXPECT_EQ(real.Mostrar(nullptr, "De novo?", TextoAnsi("Confirmação"), TIconeMensagem::Pergunta,
                               TBotoesMensagem::SimNaoSomenteNovos, true),
                  resposta);
    }
}

TEST(TTesteTextosDoQt, ConnectionFailureBox_OkIsTheDefaultAndEsc_ConfigurarOnlyByItsButton) {
    TCaixaMensagem real;
    for (const bool configurar : {false, true}) {
        SCOPED_TRACE(configurar ? "Configurar conexão…" : "Esc");
        QTimer::singleShot(0, [configurar] {
            auto* caixa = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(caixa, nullptr);
            EXPECT_EQ(caixa->defaultButton(), caixa->button(QMessageBox::Ok));
            auto* botao = caixa->findChild<QPushButton*>(QStringLiteral("btnConfigurarConexao"));
            ASSERT_NE(botao, nullptr);
            EXPECT_EQ(botao->text(), QStringLiteral("Configurar conexão…"));
            if (configurar)
                botao->click();
            else
                QTest::keyClick(caixa, Qt::Key_Escape);
        });
        EXPECT_EQ(real.Mostrar(nullptr, "Sem servidor", "Falha", TIconeMensagem::Exclamacao,
                               TBotoesMensagem::OkConfigurarConexao, false),
                  configurar ? TRespostaMensagem::ConfigurarConexao : TRespostaMensagem::Ok);
    }
}
