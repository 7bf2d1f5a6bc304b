#include "app/TesteJanelaPrincipal.h"

#include "app/UFComparacao.h"
#include "app/UFHistorico.h"
#include "export/UCopiasExportacao.h"
#include "platform/UAcrescentarArquivo.h"
#include "platform/ULeituraArquivo.h"
#include "qtbase/UEscolhaArquivo.h"

#include <QComboBox>
#include <QLabel>
#include <QTableView>

#include <deque>
#include <optional>

TEST_F(TTesteJanela, Historico_CtrlH_ShowsTheRecordNewestFirstFiltersByCompanyAndChecksTheSelectedFile) {
    Abrir();
    PreencherValidos();
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{Sucesso});
    Escrever("EditNomeArquivo", "outro");
    FCaixa.Respostas = {TRespostaMensagem::Sim};
    EXPECT_EQ(Gerar("EditNomeArquivo").size(), 2u) << "asked, then written";
    // Another clerk's export of another company, and a row that a full disk cut short.
    TRegistroExportacao alheio = THistoricoExportacao::Ler().Registros.back();
    alheio.Empresa = 2;
    alheio.NomeEmpresa = TextoAnsi("COMÉRCIO DOIS");
    alheio.Arquivo = CaminhoDeUtf8(Saida("alheio.txt"));
    AcrescentarArquivo(THistoricoExportacao::Arquivo(), "31/03/2024 10:00:00;ana;1;EMP");
    THistoricoExportacao::Registrar(alheio);
    // dados.txt is changed after it was sent; outro.txt stays as written.
    GravarBinario(CaminhoDeUtf8(Saida("dados.txt")), "mudado\r\n");

    FCaixa.Chamadas.clear();
    const auto arquivos = [](QTableView& grade) {
        TTextos nomes;
        for (int linha = 0; linha < grade.model()->rowCount(); ++linha)
            nomes.push_back(std::filesystem::path(grade.model()->index(linha, 5).data().toString().toStdU16String())
                                .filename()
                                .string());
        return nomes;
    };
    TTextos vistos[2];
    std::string aviso;
    std::vector<QString> focos;
    TTextos acessibilidade = {"not checked"};
    TAoAbrir<TFHistorico> historico([&](TFHistorico& janela) {
        auto& grade = ::Controle<QTableView>(janela, "GridHistorico");
        acessibilidade = ProblemasAcessiveis(janela, QStringLiteral("Histórico de exportações"));
        vistos[0] = arquivos(grade);
        aviso = ::Controle<QLabel>(janela, "lblAviso").text().toStdString();
        auto& empresas = ::Controle<QComboBox>(janela, "cmbEmpresa");
        empresas.setFocus();
        QTest::keyClick(&empresas, Qt::Key_Down);
        vistos[1] = arquivos(grade);
        // The newest row of the company is selected: outro.txt, then dados.txt one row down.
        QTest::keyClick(&empresas, Qt::Key_Tab);
        focos.push_back(janela.focusWidget()->objectName());
        QTest::keyClick(&grade, Qt::Key_Tab);
        focos.push_back(janela.focusWidget()->objectName());
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return);
        grade.setFocus();
        QTest::keyClick(&grade, Qt::Key_Down);
        QTest::keyClick(&grade, Qt::Key_Tab);
        QTest::keyClick(janela.focusWidget(), Qt::Key_Enter);
        QTest::keyClick(&janela, Qt::Key_Escape);
    });
    QTest::keyClick(&Controle<QWidget>("EditNomeArquivo"), Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(historico.Executou());
    EXPECT_EQ(focos, (std::vector<QString>{"GridHistorico", "btnConferir"}));
    EXPECT_EQ(acessibilidade, TTextos{});
    EXPECT_EQ(vistos[0], (TTextos{"alheio.txt", "outro.txt", "dados.txt"}));
    EXPECT_EQ(vistos[1], (TTextos{"outro.txt", "dados.txt"}));
    EXPECT_NE(aviso.find("tem 1 linha danificada"), std::string::npos) << aviso;
    const TTextos caixas = FCaixa.Resumos();
    ASSERT_EQ(caixas.size(), 2u);
    EXPECT_TRUE(caixas[0].starts_with("Informação (informação, OK): O arquivo \"" + Saida("outro.txt") +
                                      "\" é o mesmo que foi gerado.\nExportação de "))
        << caixas[0];
    EXPECT_TRUE(caixas[1].starts_with("Atenção (aviso, OK): O arquivo \"" + Saida("dados.txt") +
                                      "\" não é mais o que foi gerado.\nExportação de "))
        << caixas[1];
}

namespace {

TRegistroExportacao Exportacao(int empresa, const std::string& nome, const std::filesystem::path& arquivo) {
    TRegistroExportacao r;
    r.Momento = {2024, 3, 5, 14, 22, 0};
    r.Empresa = empresa;
    r.NomeEmpresa = nome;
    r.CodTorvane = 7;
    r.DataInicial = TDataHora::Data(2024, 2, 1);
    r.DataFinal = TDataHora::Data(2024, 2, 29);
    r.Arquivo = arquivo;
    r.Sha256 = std::string(64, '0');
    return r;
}

} // namespace

// A company renamed between two exports is listed once, by its newest name; a file gone since it was sent is a
// warning; and rows that waited for a busy record go into it when the window opens.
TEST(TTesteHistorico, CompanyByItsNewestName_AMissingFileWarns_WaitingRowsGoInOnOpening) {
    TPastaTemporaria pasta;
    UsarPastaDoTeste(pasta);
    TCaixaFalsa caixa;
    THistoricoExportacao::Registrar(Exportacao(5, "NOME ANTIGO", pasta.Sistema() / "a.txt"));
    THistoricoExportacao::Registrar(Exportacao(5, "NOME NOVO", pasta.Sistema() / "b.txt"));
    const std::string esperando = LerBinario(THistoricoExportacao::Arquivo())
                                      .substr(LerBinario(THistoricoExportacao::Arquivo()).rfind("05/03/2024"));
    GravarBinario(THistoricoExportacao::ArquivoPendente(), esperando);
    {
        TFHistorico janela(nullptr);
        janela.show();
        auto& empresas = ::Controle<QComboBox>(janela, "cmbEmpresa");
        ASSERT_EQ(empresas.count(), 2);
        EXPECT_EQ(empresas.itemText(1).toStdString(), "5 - NOME NOVO");
        EXPECT_FALSE(ArquivoExiste(THistoricoExportacao::ArquivoPendente()));
        EXPECT_EQ(::Controle<QTableView>(janela, "GridHistorico").model()->rowCount(), 3);
        ::Controle<QWidget>(janela, "btnConferir").setFocus();
        Tecla(janela, "btnConferir", Qt::Key_Return);
    }
    RestaurarPastas();
    ASSERT_EQ(caixa.Resumos().size(), 1u);
    EXPECT_EQ(caixa.Resumos()[0].rfind("Atenção (aviso, OK): O arquivo \"" + CaminhoUtf8(pasta.Sistema() / "b.txt") +
                                           "\" não existe mais.",
                                       0),
              0u)
        << caixa.Resumos()[0];
}

namespace {

// Stands in for the pickers while it lives: gives the scripted answers in turn, none once they have run out.
class TEscolhaFalsa : public TEscolhaArquivo {
public:
    TEscolhaFalsa() { TEscolhaArquivo::Definir(this); }
    ~TEscolhaFalsa() override { TEscolhaArquivo::Definir(nullptr); }
    TEscolhaFalsa(const TEscolhaFalsa&) = delete;
    TEscolhaFalsa& operator=(const TEscolhaFalsa&) = delete;

    std::optional<std::filesystem::path> EscolherPasta(QWidget*, const QString& titulo,
                                                       const std::filesystem::path& inicial) override {
        return Responder(titulo, inicial);
    }
    std::optional<std::filesystem::path> EscolherArquivoParaSalvar(QWidget*, const QString& titulo,
                                                                   const std::filesystem::path& sugerido,
                                                                   const QString&) override {
        return Responder(titulo, sugerido);
    }

    std::deque<std::filesystem::path> Respostas;
    // "title: proposed path", one for each picker opened.
    TTextos Pedidos;

private:
    std::optional<std::filesystem::path> Responder(const QString& titulo, const std::filesystem::path& proposto) {
        Pedidos.push_back(titulo.toStdString() + ": " + CaminhoUtf8(proposto));
        if (Respostas.empty())
            return std::nullopt;
        auto resposta = Respostas.front();
        Respostas.pop_front();
        return resposta;
    }
};

TTextos Linhas(QTableView& grade, int coluna) {
    TTextos linhas;
    for (int linha = 0; linha < grade.model()->rowCount(); ++linha)
        linhas.push_back(grade.model()->index(linha, coluna).data().toString().toStdString());
    return linhas;
}

} // namespace

// For the selected row, "Comparar com o banco" opens what has changed since the file was sent, whose report keeps
// the rows shown; "Salvar o arquivo enviado…" writes the file as sent again, from its copy, asking before it
// replaces one. Both say why when the file sent can no longer be had.
TEST_F(TTesteJanela, Historico_CompararComOBancoAndSalvarOArquivoEnviado_ByKeys) {
    Abrir();
    PreencherValidos();
    EXPECT_EQ(Gerar("EditNomeArquivo"), TTextos{Sucesso});
    const auto dados = CaminhoDeUtf8(Saida("dados.txt"));
    const std::string enviado = LerBinario(dados);
    std::filesystem::remove(dados);
    Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id, "
                        "filial_id, produto_id) VALUES ('104', '2024-02-16 10:00:00', '2024-03-16 00:00:00', 5, 0, "
                        "'N', 1, 1, 1)");
    Executar(Conexao(), "UPDATE receber SET valortotal = 25 WHERE numlanc = '103'");
    Executar(Conexao(), "UPDATE receber SET amort = 150.25 WHERE numlanc = '101'");
    TEscolhaFalsa escolha;
    const auto relatorio = CaminhoDeUtf8(Saida("relatorio.csv"));
    escolha.Respostas = {relatorio, CaminhoDeUtf8(FSaida), CaminhoDeUtf8(FSaida), CaminhoDeUtf8(FSaida)};

    std::string resumo;
    TTextos grupos, novos, acessibilidade = {"not opened"}, focos;
    const auto comparar = std::make_unique<TAoAbrir<TFComparacao>>([&](TFComparacao& janela) {
        acessibilidade = ProblemasAcessiveis(janela, QStringLiteral("Comparação com o banco"));
        // Read as a screen reader reads it: the label's name is its text.
        resumo = NomeAcessivel(::Controle<QLabel>(janela, "lblResumo")).toStdString();
        auto& grade = ::Controle<QTableView>(janela, "GridDiferencas");
        grupos = Linhas(grade, 0);
        QTest::keyClick(&grade, Qt::Key_Backtab);
        QTest::keyClick(janela.focusWidget(), Qt::Key_Down); // "novo"
        novos = Linhas(grade, 4);
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(janela.focusWidget(), Qt::Key_Tab);
            focos.push_back(janela.focusWidget()->objectName().toStdString());
        }
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return);
        QTest::keyClick(&janela, Qt::Key_Escape);
    });
    TAoAbrir<TFHistorico> historico([&](TFHistorico& janela) {
        auto& grade = ::Controle<QTableView>(janela, "GridHistorico");
        QTest::keyClick(&grade, Qt::Key_Tab);
        QTest::keyClick(janela.focusWidget(), Qt::Key_Tab);
        focos.push_back(janela.focusWidget()->objectName().toStdString());
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return);
        QTest::keyClick(janela.focusWidget(), Qt::Key_Tab);
        focos.push_back(janela.focusWidget()->objectName().toStdString());
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return); // into a folder without the file
        GravarBinario(dados, "outro\r\n");
        FCaixa.Respostas = {TRespostaMensagem::Nao, TRespostaMensagem::Sim};
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return); // asked, and left alone
        EXPECT_EQ(LerBinario(dados), "outro\r\n");
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return); // asked, and replaced
        EXPECT_EQ(LerBinario(dados), enviado);
        // With neither the copy nor the file as written, neither can be done.
        std::filesystem::remove_all(TCopiasExportacao::Pasta());
        GravarBinario(dados, "outro\r\n");
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return);
        QTest::keyClick(janela.focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(janela.focusWidget(), Qt::Key_Return);
        QTest::keyClick(&janela, Qt::Key_Escape);
    });
    FCaixa.Chamadas.clear();
    QTest::keyClick(&Controle<QWidget>("EditNomeArquivo"), Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(historico.Executou());
    EXPECT_EQ(acessibilidade, TTextos{});
    EXPECT_EQ(focos, (TTextos{"btnComparar", "GridDiferencas", "btnSalvarRelatorio", "btnSalvarEnviado"}));
    for (const char* linha :
         {"\nEnviado: 2 lançamentos, R$ 170,75 (exportação de 31/03/2024 10:00:00",
          "\nNão estão mais em aberto: 1 lançamento, R$ 150,25.", "\nAlterados: 1 lançamento, diferença de +R$ 4,50.",
          "\nNovos: 1 lançamento, R$ 5,00.", "\nEm aberto agora: 2 lançamentos, R$ 30,00 (iguais ao enviado: 0)."})
        EXPECT_NE(resumo.find(linha), std::string::npos) << linha << " in " << resumo;
    EXPECT_EQ(grupos, (TTextos{"não está mais em aberto – pago (amort de 100 ou mais)", "alterado", "novo"}));
    EXPECT_EQ(novos, TTextos{"104"});
    EXPECT_EQ(LerBinario(relatorio), TextoAnsi("Grupo;Chapa;Nome;Data;Número;Valor enviado;Valor agora\r\n"
                                               "novo;0000004521;JOÃO DA SILVA;16/02/2024;104;;5,00\r\n"));
    EXPECT_EQ(escolha.Pedidos,
              (TTextos{"Salvar relatório: " + Saida("comparacao_dados.csv"), "Salvar o arquivo enviado: " + FSaida,
                       "Salvar o arquivo enviado: " + FSaida, "Salvar o arquivo enviado: " + FSaida}));
    const TTextos caixas = FCaixa.Resumos();
    const std::string substituir =
        "Confirmação (pergunta, Sim/*Não): O arquivo \"" + Saida("dados.txt") + "\" já existe. Substituí-lo?";
    const std::string salvo =
        "Informação (informação, OK): O arquivo enviado foi salvo em \"" + Saida("dados.txt") + "\".";
    ASSERT_EQ(caixas.size(), 7u) << ::testing::PrintToString(caixas);
    EXPECT_EQ(caixas[0], "Informação (informação, OK): Relatório salvo em \"" + Saida("relatorio.csv") + "\".");
    EXPECT_EQ(TTextos(caixas.begin() + 1, caixas.begin() + 5), (TTextos{salvo, substituir, substituir, salvo}));
    for (const std::string& falha : {caixas[5], caixas[6]}) {
        EXPECT_EQ(falha.rfind(TCaixaFalsa::InicioFalhaPadrao(), 0), 0u) << falha;
        EXPECT_NE(falha.find("O arquivo enviado não pode mais ser lido: sua cópia"), std::string::npos) << falha;
    }
}
