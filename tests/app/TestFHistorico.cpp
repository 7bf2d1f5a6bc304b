#include "app/TesteJanelaPrincipal.h"

#include "app/UFHistorico.h"
#include "platform/UAcrescentarArquivo.h"
#include "platform/ULeituraArquivo.h"

#include <QComboBox>
#include <QLabel>
#include <QTableView>

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
