#include "app/TesteJanelaPrincipal.h"

#include "app/UFVisualizacao.h"
#include "platform/UTexto.h"

#include <QBrush>
#include <QLabel>
#include <QTableView>

namespace {

// The grid's rows as the clerk reads them: every column, separated by "|".
TTextos Linhas(QTableView& grade) {
    TTextos linhas;
    for (int linha = 0; linha < grade.model()->rowCount(); ++linha) {
        std::string texto;
        for (int coluna = 0; coluna < grade.model()->columnCount(); ++coluna)
            texto += (coluna ? "|" : "") + grade.model()->index(linha, coluna).data().toString().toStdString();
        linhas.push_back(texto);
    }
    return linhas;
}

// The same fields, read from the lines of a file as it was written.
TTextos LinhasDoArquivo(const std::string& conteudo) {
    TTextos linhas;
    for (std::size_t i = 0; i + 82 <= conteudo.size(); i += 82) {
        const std::string l = conteudo.substr(i, 80);
        std::string nome = Cp1252ParaUtf8(l.substr(12, 40));
        nome.erase(nome.find_last_not_of(' ') + 1);
        const long long centavos = std::stoll(l.substr(68, 12));
        linhas.push_back(l.substr(2, 10) + "|" + nome + "|" + l.substr(52, 2) + "/" + l.substr(54, 2) + "/" +
                         l.substr(56, 4) + "|" + std::to_string(std::stoll(l.substr(60, 6))) + "|" +
                         std::to_string(centavos / 100) + "," + FormatarZeros(centavos % 100, 2) + "|");
    }
    return linhas;
}

} // namespace

// F5 shows what Gerar would write, writing and recording nothing; F3 there writes exactly the rows seen, even when
// the database gained a posting meanwhile.
TEST_F(TTesteJanela, Visualizar_F5ShowsThePostings_F3ThereWritesExactlyTheRowsSeen) {
    Abrir();
    PreencherValidos();
    TTextos vistos, acessibilidade = {"not opened"};
    std::string resumo;
    TAoAbrir<TFVisualizacao> visualizacao([&](TFVisualizacao& janela) {
        acessibilidade = ProblemasAcessiveis(janela, QStringLiteral("Visualizar exportação"));
        auto& grade = ::Controle<QTableView>(janela, "GridLancamentos");
        vistos = Linhas(grade);
        resumo = NomeAcessivel(::Controle<QLabel>(janela, "lblResumo")).toStdString();
        EXPECT_FALSE(std::filesystem::exists(CaminhoDeUtf8(Saida("dados.txt"))));
        EXPECT_FALSE(ArquivoExiste(THistoricoExportacao::Arquivo()));
        Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, "
                            "clientes_id, filial_id, produto_id) VALUES "
                            "('104', '2024-02-16 10:00:00', '2024-03-16 00:00:00', 5, 0, 'N', 1, 1, 1)");
        QTest::keyClick(&grade, Qt::Key_F3);
    });

    EXPECT_EQ(Gerar("EditNomeArquivo", Qt::Key_F5), TTextos{Sucesso});

    EXPECT_TRUE(visualizacao.Executou());
    EXPECT_EQ(acessibilidade, TTextos{});
    EXPECT_EQ(vistos, (TTextos{"0000004521|JOÃO DA SILVA|10/02/2024|101|150,25|",
                               "0000004521|JOÃO DA SILVA|15/02/2024|103|20,50|"}));
    EXPECT_EQ(resumo, "2 lançamentos, total R$ 170,75");
    EXPECT_EQ(LinhasDoArquivo(LerBinario(CaminhoDeUtf8(Saida("dados.txt")))), vistos);
    EXPECT_EQ(THistoricoExportacao::Ler().Registros.size(), 1u);
    EXPECT_TRUE(ConfiguracoesGravadas());
}

// The rows that would not go into the file are marked with the export's reason, and the names the server gave with
// "?" are marked too; Gerar then refuses as the export does, and Esc leaves with nothing written.
TEST_F(TTesteJanela, Visualizar_UnfitPostingsAndLostCharacters_AreMarkedAndNothingIsWritten) {
    Executar(Conexao(),
             "ALTER TABLE clientes MODIFY nome VARCHAR(80) CHARACTER SET utf8mb4;"
             "INSERT INTO clientes VALUES (5, CONVERT(X'C5817563C3A961' USING utf8mb4), '5', 1, 'N');"
             "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, clientes_id,"
             " filial_id, produto_id) VALUES ('105', '2024-02-11 10:00:00', '2024-03-11', 1, 0, 'N', 5, 1, 1),"
             " ('10X', '2024-02-12 10:00:00', '2024-03-12', 2, 0, 'N', 1, 1, 1)");
    Abrir();
    PreencherValidos();
    TTextos vistos;
    std::vector<QColor> cores;
    std::string aviso;
    const auto abrir = [&](Qt::Key tecla) {
        return std::make_unique<TAoAbrir<TFVisualizacao>>([&, tecla](TFVisualizacao& janela) {
            auto& grade = ::Controle<QTableView>(janela, "GridLancamentos");
            vistos = Linhas(grade);
            cores.clear();
            for (int linha = 0; linha < grade.model()->rowCount(); ++linha)
                cores.push_back(grade.model()->index(linha, 1).data(Qt::BackgroundRole).value<QBrush>().color());
            aviso = ::Controle<QLabel>(janela, "lblAviso").text().toStdString();
            QTest::keyClick(&grade, tecla);
        });
    };

    auto visualizacao = abrir(Qt::Key_Escape);
    EXPECT_EQ(Gerar("EditNomeArquivo", Qt::Key_F5), TTextos{});
    EXPECT_EQ(vistos, (TTextos{"0000004521|JOÃO DA SILVA|10/02/2024|101|150,25|",
                               "0000004521|JOÃO DA SILVA|15/02/2024|103|20,50|",
                               "0000000005|?ucéa|11/02/2024|105|1,00|o nome tem caractere que a página de código "
                               "1252 não tem: vai com \"?\"",
                               "4521|JOÃO DA SILVA|2024-02-12 10:00:00|10X|2.00|Lançamento 10X: '10X' is not a "
                               "valid integer value"}));
    EXPECT_EQ(cores[0], QColor(Qt::black)) << "no background of its own";
    EXPECT_NE(cores[2], cores[0]);
    EXPECT_NE(cores[3], cores[2]);
    EXPECT_NE(cores[3], cores[0]);
    EXPECT_NE(aviso.find("vermelho"), std::string::npos);
    EXPECT_NE(aviso.find("amarelo"), std::string::npos);

    visualizacao = abrir(Qt::Key_F3);
    Gerar("EditNomeArquivo", Qt::Key_F5);
    EsperarFalha("'10X' is not a valid integer value");
    EXPECT_EQ(NomesNaPasta(CaminhoDeUtf8(FSaida)), TTextos{});
    EXPECT_FALSE(ArquivoExiste(THistoricoExportacao::Arquivo()));
}
