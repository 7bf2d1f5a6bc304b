#include "app/TesteJanelaPrincipal.h"

#include "app/UFVariasEmpresas.h"

#include <QCheckBox>
#include <QLabel>

// Three companies of one month-end, marked and numbered by keys: each exported, checked and recorded on its own, the
// unfit posting of one leaving the others written, and one box that says how each went. The questions of a period
// already sent and of another company's number come once for all the companies they concern.
TEST_F(TTesteJanela, VariasEmpresas_EachCompanyItsOwnFile_OneOutcomeBox_QuestionsOnceForAll) {
    Executar(Conexao(),
             "INSERT INTO empresa VALUES (4, 'QUARTA', 'N');"
             "INSERT INTO clientes VALUES (4, 'CLIENTE QUATRO', '44', 4, 'N');"
             "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id,"
             " filial_id, produto_id) VALUES ('401', '2024-02-05 10:00:00', '2024-03-05', 40, 0, 'N', 4, 1, 1),"
             " ('2X', '2024-02-06 10:00:00', '2024-03-06', 3, 0, 'N', 2, 1, 1)");
    Abrir();
    PreencherValidos();
    TTextos acessibilidade = {"not opened"}, caixas[4];
    std::vector<bool> marcadas;
    QString nomes, foco, andamento;
    TTextos mesmoArquivo;
    bool aberta = false;
    TAoAbrir<TFVariasEmpresas> varias([&](TFVariasEmpresas& janela) {
        acessibilidade = ProblemasAcessiveis(janela, QStringLiteral("Várias empresas"));
        for (const char* nome : {"chkEmpresa1", "chkEmpresa2", "chkEmpresa4"})
            marcadas.push_back(::Controle<QCheckBox>(janela, nome).isChecked());
        nomes = ::Controle<QLineEdit>(janela, "EditNomeArquivo2").text() + " " +
                ::Controle<QLineEdit>(janela, "EditNomeArquivo4").text();
        const auto teclas = [&](const QString& texto) { QTest::keyClicks(janela.focusWidget(), texto); };
        const auto tecla = [&](Qt::Key k) { QTest::keyClick(janela.focusWidget(), k); };
        ::Controle<QCheckBox>(janela, "chkEmpresa2").setFocus();
        tecla(Qt::Key_Space);
        // Marked without a number: said, and the number's field takes the focus.
        FCaixa.Chamadas.clear();
        tecla(Qt::Key_F3);
        caixas[0] = FCaixa.Resumos();
        foco = janela.focusWidget()->objectName();
        teclas(QStringLiteral("8"));
        tecla(Qt::Key_Tab);
        tecla(Qt::Key_Tab);
        tecla(Qt::Key_Space);
        tecla(Qt::Key_Tab);
        teclas(QStringLiteral("9"));
        // Company 4 named as company 1's file: it would replace it.
        tecla(Qt::Key_Tab);
        tecla(Qt::Key_End);
        tecla(Qt::Key_Backspace);
        tecla(Qt::Key_Backspace);
        FCaixa.Chamadas.clear();
        tecla(Qt::Key_F3);
        mesmoArquivo = FCaixa.Resumos();
        teclas(QStringLiteral("_4"));
        FCaixa.Chamadas.clear();
        // Esc, handled between two rows, does not close the window under the run.
        for (const auto tipo : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(janela.focusWidget(), new QKeyEvent(tipo, Qt::Key_Escape, Qt::NoModifier));
        tecla(Qt::Key_F3);
        caixas[1] = FCaixa.Resumos();
        aberta = janela.isVisible();
        andamento = ::Controle<QLabel>(janela, "lblEmpresa").text();
        FCaixa.Chamadas.clear();
        tecla(Qt::Key_F3);
        caixas[2] = FCaixa.Resumos();
        // Company 2 with company 1's number.
        ::Controle<QLineEdit>(janela, "EditCodTorvane2").setFocus();
        tecla(Qt::Key_Backspace);
        teclas(QStringLiteral("7"));
        FCaixa.Chamadas.clear();
        tecla(Qt::Key_F3);
        caixas[3] = FCaixa.Resumos();
        tecla(Qt::Key_Escape);
    });
    auto& botao = Controle<QPushButton>("btnVariasEmpresas");
    botao.setFocus();
    QTest::keyClick(&botao, Qt::Key_Return);

    ASSERT_TRUE(varias.Executou());
    EXPECT_EQ(acessibilidade, TTextos{});
    EXPECT_EQ(marcadas, (std::vector<bool>{true, false, false})) << "the main window's company, as it is there";
    EXPECT_EQ(nomes.toStdString(), "dados_2 dados_4");
    EXPECT_EQ(caixas[0], TTextos{Aviso + "Empresa 2 – COMÉRCIO DOIS: Informe o número da empresa na Torvane"});
    EXPECT_EQ(foco.toStdString(), "EditCodTorvane2");
    EXPECT_EQ(caixas[1], TTextos{Aviso + "Empresa 1 – EMPRESA UM: \"dados.txt\" gerado, 2 lançamentos, total R$ "
                                         "170,75.\nEmpresa 2 – COMÉRCIO DOIS: não foi gerado. '2X' is not a valid "
                                         "integer value\nEmpresa 4 – QUARTA: \"dados_4.txt\" gerado, 1 lançamento, "
                                         "total R$ 40,00."});
    EXPECT_EQ(mesmoArquivo, TTextos{Aviso + "As empresas 1 – EMPRESA UM e 4 – QUARTA gravariam o mesmo arquivo, "
                                            "dados.txt. Dê a cada uma um nome de arquivo seu."});
    EXPECT_TRUE(aberta);
    EXPECT_EQ(andamento.toStdString(), "Exportando a empresa 4 – QUARTA (3 de 3)");
    ASSERT_EQ(caixas[2].size(), 1u);
    EXPECT_TRUE(caixas[2][0].starts_with("Confirmação (pergunta, Sim/*Não): Empresa 1 – EMPRESA UM. Este período já "
                                         "foi exportado para esta empresa:"))
        << caixas[2][0];
    EXPECT_NE(caixas[2][0].find("\n\nEmpresa 4 – QUARTA. Este período já foi exportado"), std::string::npos);
    EXPECT_TRUE(caixas[2][0].ends_with("\nGerar os arquivos novamente?"));
    ASSERT_EQ(caixas[3].size(), 1u);
    EXPECT_TRUE(caixas[3][0].starts_with("Confirmação (pergunta, Sim/*Não): O código Torvane 7 foi usado para a "
                                         "empresa 1 – EMPRESA UM (última vez em 31/03/2024"))
        << caixas[3][0];
    EXPECT_TRUE(caixas[3][0].ends_with(
        "Gerar a empresa 2 com o código 7?\n\nAs empresas 1 – EMPRESA UM e 2 – COMÉRCIO DOIS iriam com o mesmo "
        "código Torvane 7.\n\nGerar assim mesmo?"))
        << caixas[3][0];
    EXPECT_EQ(NomesNaPasta(CaminhoDeUtf8(FSaida)), (TTextos{"dados.txt", "dados_4.txt"}));
    EXPECT_EQ(Lancamentos(), (TTextos{"000101", "000103"}));
    std::vector<std::pair<int, int>> registrados;
    for (const auto& registro : THistoricoExportacao::Ler().Registros)
        registrados.emplace_back(registro.Empresa, registro.CodTorvane);
    EXPECT_EQ(registrados, (std::vector<std::pair<int, int>>{{1, 7}, {4, 9}})) << "answered Não: nothing more";

    // Opened again, the companies sent come marked with their own numbers.
    TTextos valores;
    TAoAbrir<TFVariasEmpresas> denovo([&](TFVariasEmpresas& janela) {
        for (const char* empresa : {"1", "2", "4"})
            valores.push_back(
                std::to_string(
                    ::Controle<QCheckBox>(janela, ("chkEmpresa" + std::string(empresa)).c_str()).isChecked()) +
                ::Controle<QLineEdit>(janela, ("EditCodTorvane" + std::string(empresa)).c_str()).text().toStdString());
        // As typed, kept by this PC: the record alone would give the name written, with its ".txt".
        valores.push_back(::Controle<QLineEdit>(janela, "EditNomeArquivo4").text().toStdString());
        QTest::keyClick(&janela, Qt::Key_Escape);
    });
    QTest::keyClick(&botao, Qt::Key_Return);
    EXPECT_EQ(valores, (TTextos{"17", "0", "19", "dados_4"}));
    // The main window's own boxes are back once the window of several companies has gone.
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    EXPECT_EQ(Gerar("EditNomeArquivo").back(), Sucesso);
}
