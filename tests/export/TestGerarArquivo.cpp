#include "TestDb.h"

#include "UArquivos.h"
#include "UCp1252.h"
#include "UDados.h"
#include "UErro.h"
#include "UPastaPrograma.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// One row of table receber, each value an SQL literal.
struct TReceber {
    std::string numlanc = "'1893'";
    std::string datahora = "'2024-03-05 14:22:00'";
    std::string vencimento = "'2024-04-05 00:00:00'";
    std::string valortotal = "10.00";
    std::string amort = "0";
    std::string apagado = "'N'";
    int clientes = 1;
    int filial = 1;
    int produto = 1;
};

// An export line from its fields; the name is filled with blanks to 40 characters.
std::string Linha(const std::string& torvane, const std::string& chapa, const std::string& nome,
                  const std::string& data, const std::string& numlanc, const std::string& centavos) {
    std::string linha = torvane + chapa + nome + std::string(40 - nome.size(), ' ') + data + numlanc + "01" + centavos;
    EXPECT_EQ(linha.size(), 80u) << linha;
    return linha + "\r\n";
}

class TInformacaoGravada : public IInformacao {
public:
    void Informar(const std::string& texto, const std::string& titulo) override {
        Textos.push_back(texto);
        Titulos.push_back(titulo);
    }
    std::vector<std::string> Textos;
    std::vector<std::string> Titulos;
};

class TProgressoGravado : public IProgresso {
public:
    void SetMaximo(int maximo) override { Chamadas.push_back("max " + std::to_string(maximo)); }
    void SetPosicao(int posicao) override { Chamadas.push_back("pos " + std::to_string(posicao)); }
    void Passo() override { Chamadas.push_back("passo"); }
    std::vector<std::string> Chamadas;
};

class TEventosContados : public IEventos {
public:
    void ProcessarEventos() override { ++Vezes; }
    int Vezes = 0;
};

class TesteGerarArquivo : public TTesteBanco {
protected:
    void SetUp() override {
        TTesteBanco::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Executar(Conexao(), "INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N'), (2, 'EMPRESA DOIS', 'N');"
                            "INSERT INTO filial VALUES (1, 'LOJA CENTRO', '12345678000190', 'N');"
                            "INSERT INTO produto VALUES (1, 'BEBIDA', 10), (2, 'DOCE', 20), (3, 'PAO', 30);"
                            "INSERT INTO clientes VALUES (1, 'CLIENTE EXEMPLO', '4521', 1, 'N'),"
                            " (2, 'OUTRA EMPRESA', '77', 2, 'N'), (3, 'SEGUNDO CLIENTE', '12', 1, 'N')");
        TDadosExportacao::SetInformacao(&FInformacao);
        TDadosExportacao::SetProgresso(&FProgresso);
        TDadosExportacao::SetEventos(&FEventos);
    }

    void Inserir(const TReceber& r) {
        Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, "
                            "clientes_id, filial_id, produto_id) VALUES (" +
                                r.numlanc + ", " + r.datahora + ", " + r.vencimento + ", " + r.valortotal + ", " +
                                r.amort + ", " + r.apagado + ", " + std::to_string(r.clientes) + ", " +
                                std::to_string(r.filial) + ", " + std::to_string(r.produto) + ")");
    }

    void InserirCliente(int id, const std::string& nome, const std::string& chapa) {
        Executar(Conexao(),
                 "INSERT INTO clientes VALUES (" + std::to_string(id) + ", " + nome + ", " + chapa + ", 1, 'N')");
    }

    // March 2024 by posting date, company 1, Torvane number 7, no profile.
    TResultadoExportacao Gerar(bool dataLancamento = true, int perfil = 0, int codTorvane = 7,
                               TDataHora de = TDataHora::Data(2024, 3, 1),
                               TDataHora ate = TDataHora::Data(2024, 3, 31)) {
        return TDadosExportacao::GerarArquivo(FPasta->Caminho(), "saida.txt", dataLancamento, de, ate, 1, codTorvane,
                                              perfil);
    }

    std::filesystem::path Saida() const { return FPasta->Sistema() / "saida.txt"; }
    std::string LerSaida() const { return LerBinario(Saida()); }

    // Everything in the folder but the settings files the test wrote itself.
    std::vector<std::string> ArquivosDaPasta() const {
        std::vector<std::string> nomes;
        for (const auto& item : std::filesystem::directory_iterator(FPasta->Sistema()))
            nomes.push_back(item.path().filename().string());
        std::sort(nomes.begin(), nomes.end());
        return nomes;
    }

    void GravarPerfis(const std::string& conteudo) { GravarBinario(FPasta->Sistema() / "PerfilTorvane.txt", conteudo); }

    // Runs the export expecting a failure; returns its message.
    template <typename F> std::string Falha(F&& exportar) {
        try {
            exportar();
        } catch (const EFalha& e) {
            return e.what();
        }
        ADD_FAILURE() << "no failure";
        return {};
    }

    TInformacaoGravada FInformacao;
    TProgressoGravado FProgresso;
    TEventosContados FEventos;
};

const std::string Descricao60(60, ' ');

} // namespace

TEST_F(TesteGerarArquivo, GerarArquivo_WorkedExample_WritesTheLineAndReportsSuccess) {
    Inserir({.numlanc = "'1893'", .datahora = "'2024-03-05 14:22:00'", .valortotal = "1234.50"});

    const auto resultado = Gerar();

    EXPECT_EQ(LerSaida(), "070000004521CLIENTE EXEMPLO                         0503202400189301000000123450\r\n");
    EXPECT_TRUE(resultado.Gerado);
    EXPECT_EQ(resultado.Caminho, FPasta->Caminho() + "saida.txt");
    EXPECT_EQ(resultado.Linhas, 1u);
    EXPECT_EQ(resultado.TotalCentavos, 123450);
    ASSERT_EQ(FInformacao.Textos.size(), 1u);
    EXPECT_EQ(FInformacao.Textos[0], "Arquivo \"saida.txt\"  gerado com sucesso.");
    EXPECT_EQ(FInformacao.Titulos[0], "Informa\xE7\xE3o");
}

TEST_F(TesteGerarArquivo, GerarArquivo_RowsOfOnePosting_AreSummedIntoOneLine) {
    Inserir({.numlanc = "'10'", .valortotal = "1.10", .produto = 1});
    Inserir({.numlanc = "'10'", .valortotal = "2.20", .produto = 2});
    Inserir({.numlanc = "'10'", .valortotal = "3.30", .produto = 3});
    // Same number, another time of day: another line.
    Inserir({.numlanc = "'11'", .datahora = "'2024-03-06 08:00:00'", .valortotal = "5.00"});
    Inserir({.numlanc = "'11'", .datahora = "'2024-03-07 08:00:00'", .valortotal = "6.00"});
    // Same number, another customer: another line.
    Inserir({.numlanc = "'12'", .valortotal = "7.00", .clientes = 1});
    Inserir({.numlanc = "'12'", .valortotal = "8.00", .clientes = 3});

    const auto resultado = Gerar();

    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000010", "000000000660") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "06032024", "000011", "000000000500") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "07032024", "000011", "000000000600") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000012", "000000000700") +
                              Linha("07", "0000000012", "SEGUNDO CLIENTE", "05032024", "000012", "000000000800"));
    EXPECT_EQ(resultado.Linhas, 5u);
    EXPECT_EQ(resultado.TotalCentavos, 660 + 500 + 600 + 700 + 800);
    EXPECT_EQ(std::filesystem::file_size(Saida()), 5u * 82u);
}

TEST_F(TesteGerarArquivo, GerarArquivo_WhereClause_TakesOnlyQualifyingRows) {
    // Each number names the case; only the rows marked "in" reach the file.
    Inserir({.numlanc = "'100'", .valortotal = "1.00"});                   // in
    Inserir({.numlanc = "'101'", .apagado = "'S'"});                       // deleted
    Inserir({.numlanc = "'102'", .apagado = "NULL"});                      // deleted flag NULL
    Inserir({.numlanc = "'103'", .amort = "100"});                         // amortised
    Inserir({.numlanc = "'104'", .amort = "NULL"});                        // amortisation NULL
    Inserir({.numlanc = "'105'", .valortotal = "2.00", .amort = "99.99"}); // in
    Inserir({.numlanc = "'106'", .valortotal = "0.00"});                   // nothing to receive
    Inserir({.numlanc = "'107'", .valortotal = "NULL"});                   // amount NULL
    Inserir({.numlanc = "'108'", .valortotal = "-5.00"});                  // negative
    Inserir({.numlanc = "'109'", .clientes = 2});                          // another company's customer
    Inserir({.numlanc = "'110'", .clientes = 99});                         // no such customer
    Inserir({.numlanc = "'111'", .filial = 99});                           // no such branch
    Inserir({.numlanc = "'112'", .produto = 99});                          // no such product
    Inserir({.numlanc = "'113'", .datahora = "'2024-03-01 00:00:00'", .valortotal = "3.00"}); // in: first second
    Inserir({.numlanc = "'114'", .datahora = "'2024-02-29 23:59:59'"});                       // a second too early
    Inserir({.numlanc = "'115'", .datahora = "'2024-03-31 23:59:59'", .valortotal = "4.00"}); // in: last second
    Inserir({.numlanc = "'116'", .datahora = "'2024-04-01 00:00:00'"});                       // a second too late
    Inserir({.numlanc = "'117'", .datahora = "NULL", .vencimento = "'2024-03-10 00:00:00'"}); // no posting date
    // A posting with one qualifying row and one deleted row: only the first adds to the amount.
    Inserir({.numlanc = "'118'", .valortotal = "5.00"});
    Inserir({.numlanc = "'118'", .valortotal = "50.00", .apagado = "'S'"});

    const auto resultado = Gerar();

    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000100", "000000000100") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000105", "000000000200") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "01032024", "000113", "000000000300") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "31032024", "000115", "000000000400") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000118", "000000000500"));
    EXPECT_EQ(resultado.Linhas, 5u);
}

TEST_F(TesteGerarArquivo, GerarArquivo_ByDueDate_ChoosesByDueDateAndWritesThePostingDate) {
    Inserir({.numlanc = "'200'", .datahora = "'2023-12-24 10:00:00'", .vencimento = "'2024-03-01 00:00:00'"});
    Inserir({.numlanc = "'201'", .datahora = "'2024-03-05 10:00:00'", .vencimento = "'2024-04-01 00:00:00'"});
    Inserir({.numlanc = "'202'", .datahora = "NULL", .vencimento = "'2024-03-31 23:59:59'", .valortotal = "2.00"});
    Inserir({.numlanc = "'203'", .datahora = "'2024-03-05 10:00:00'", .vencimento = "NULL"});

    Gerar(false);

    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "24122023", "000200", "000000001000") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "30121899", "000202", "000000000200"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_Profile_LimitsTheGroupsAndTheAmounts) {
    GravarPerfis("Todos os Grupos" + std::string(45, ' ') + "\r\n" +          //
                 "Bebidas e doces" + std::string(45, ' ') + " (10,20) \r\n" + //
                 "Sem grupos" + std::string(50, ' ') + "\r\n" +               //
                 "Curto\r\n");
    Inserir({.numlanc = "'300'", .valortotal = "1.00", .produto = 1});
    Inserir({.numlanc = "'300'", .valortotal = "2.00", .produto = 2});
    Inserir({.numlanc = "'300'", .valortotal = "4.00", .produto = 3});
    Inserir({.numlanc = "'301'", .valortotal = "8.00", .produto = 3}); // none of its rows in the groups

    const std::string todas = Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000300", "000000000700") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000301", "000000000800");
    Gerar(true, 1);
    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000300", "000000000300"));
    for (const int perfil : {2, 3, 0, -1}) {
        Gerar(true, perfil);
        EXPECT_EQ(LerSaida(), todas) << "profile line " << perfil;
    }
    // Line 0 and "nothing selected" never open the file, so not even a missing file matters.
    std::filesystem::remove(FPasta->Sistema() / "PerfilTorvane.txt");
    Gerar(true, 0);
    EXPECT_EQ(LerSaida(), todas);
    Gerar(true, 1);
    EXPECT_EQ(LerSaida(), todas);
}

TEST_F(TesteGerarArquivo, GerarArquivo_NamesAndBadges_AreCutAndFilledByBytes) {
    // Latin-1 bytes on the wire, one byte a letter in the file.
    InserirCliente(10, TextoAnsi("'JOÃO AÇÃO ÉÍÓÚ ÇÑ'"), "'9'");
    InserirCliente(11, "'ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789VWXYZ4444'", "'12345678901'");
    InserirCliente(12, "''", "''");
    InserirCliente(13, "NULL", "NULL");
    InserirCliente(14, TextoAnsi("'Açúcar Ñandú Gêmeos Pão de Ló 12345678ÃÕÇ'"), TextoAnsi("'ÁB'"));
    Inserir({.numlanc = "'1'", .clientes = 10});
    Inserir({.numlanc = "'2'", .clientes = 11});
    Inserir({.numlanc = "'3'", .clientes = 12});
    Inserir({.numlanc = "'4'", .clientes = 13});
    Inserir({.numlanc = "'5'", .clientes = 14});

    Gerar();

    EXPECT_EQ(LerSaida(),
              Linha("07", "0000000009", TextoAnsi("JOÃO AÇÃO ÉÍÓÚ ÇÑ"), "05032024", "000001", "000000001000") +
                  Linha("07", "1234567890", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789VWXY", "05032024", "000002",
                        "000000001000") +
                  Linha("07", "0000000000", "", "05032024", "000003", "000000001000") +
                  Linha("07", "0000000000", "", "05032024", "000004", "000000001000") +
                  Linha("07", TextoAnsi("00000000ÁB"), TextoAnsi("Açúcar Ñandú Gêmeos Pão de Ló 12345678ÃÕ"),
                        "05032024", "000005", "000000001000"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_Amounts_AreRoundedToCentsHalfAwayFromZero) {
    Executar(Conexao(), "ALTER TABLE receber MODIFY valortotal DECIMAL(15,3)");
    Inserir({.numlanc = "'1'", .valortotal = "1234.50"});
    Inserir({.numlanc = "'2'", .valortotal = "12.345"});
    Inserir({.numlanc = "'3'", .valortotal = "0.004"});
    Inserir({.numlanc = "'4'", .valortotal = "12.344"});
    Inserir({.numlanc = "'5'", .valortotal = "0.005"});
    // Sums of thousandths: 0.002 + 0.003 is half a cent.
    Inserir({.numlanc = "'6'", .valortotal = "0.002"});
    Inserir({.numlanc = "'6'", .valortotal = "0.003", .produto = 2});
    Inserir({.numlanc = "'7'", .valortotal = "9999999999.994"});

    const auto resultado = Gerar();

    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000001", "000000123450") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000002", "000000001235") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000003", "000000000000") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000004", "000000001234") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000005", "000000000001") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000006", "000000000001") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000007", "999999999999"));
    EXPECT_EQ(resultado.TotalCentavos, 123450 + 1235 + 0 + 1234 + 1 + 1 + 999999999999);
}

TEST_F(TesteGerarArquivo, GerarArquivo_PostingNumbers_AreReadWholeAsDecimals) {
    Inserir({.numlanc = "'0'"});
    Inserir({.numlanc = "'0001893'"});
    Inserir({.numlanc = "'+7'"});
    Inserir({.numlanc = "'999999'"});

    Gerar();

    // In the server's order: "+" sorts before the digits.
    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000007", "000000001000") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "000000", "000000001000") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "001893", "000000001000") +
                              Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "999999", "000000001000"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_CodTorvane_IsWrittenWithTwoDigits) {
    Inserir({});
    for (const auto& [codigo, campo] : std::vector<std::pair<int, std::string>>{{0, "00"}, {7, "07"}, {99, "99"}}) {
        Gerar(true, 0, codigo);
        EXPECT_EQ(LerSaida(), Linha(campo, "0000004521", "CLIENTE EXEMPLO", "05032024", "001893", "000000001000"));
    }
}

TEST_F(TesteGerarArquivo, GerarArquivo_FolderWithOrWithoutSeparator_WritesTheSameFile) {
    Inserir({});
    const std::string pasta = FPasta->Caminho();
    const auto resultado =
        TDadosExportacao::GerarArquivo(pasta.substr(0, pasta.size() - 1), "a.txt", true, TDataHora::Data(2024, 3, 1),
                                       TDataHora::Data(2024, 3, 31), 1, 7, 0);
    EXPECT_EQ(resultado.Caminho, pasta + "a.txt");
    EXPECT_EQ(FInformacao.Textos.back(), "Arquivo \"a.txt\"  gerado com sucesso.");
    const std::string esperado = Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "001893", "000000001000");
    EXPECT_EQ(LerBinario(FPasta->Sistema() / "a.txt"), esperado);
    TDadosExportacao::GerarArquivo(pasta, "b.txt", true, TDataHora::Data(2024, 3, 1), TDataHora::Data(2024, 3, 31), 1,
                                   7, 0);
    EXPECT_EQ(LerBinario(FPasta->Sistema() / "b.txt"), esperado);
}

TEST_F(TesteGerarArquivo, GerarArquivo_ExistingFile_IsReplacedWhole) {
    GravarBinario(Saida(), std::string(1000, 'x'));
    Inserir({});

    Gerar();

    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "001893", "000000001000"));
    EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"saida.txt"});
}

TEST_F(TesteGerarArquivo, GerarArquivo_NoRows_LeavesExistingFileAlone) {
    GravarBinario(Saida(), "antigo\r\n");
    Inserir({.numlanc = "'1'", .datahora = "'2024-04-05 10:00:00'"});

    const auto resultado = Gerar();
    // A period whose start lies after its end finds nothing either.
    const auto invertido = Gerar(true, 0, 7, TDataHora::Data(2024, 4, 30), TDataHora::Data(2024, 4, 1));

    EXPECT_FALSE(resultado.Gerado);
    EXPECT_FALSE(invertido.Gerado);
    EXPECT_EQ(LerSaida(), "antigo\r\n");
    EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"saida.txt"});
    ASSERT_EQ(FInformacao.Textos.size(), 2u);
    EXPECT_EQ(FInformacao.Textos[0], "Nenhum registro encontrado para a sele\xE7\xE3o.");
    EXPECT_EQ(FInformacao.Titulos[0], "Informa\xE7\xE3o");
    EXPECT_TRUE(FProgresso.Chamadas.empty());
    EXPECT_EQ(FEventos.Vezes, 0);
}

TEST_F(TesteGerarArquivo, GerarArquivo_NoRowsAndNoFile_CreatesNothing) {
    Gerar();
    EXPECT_TRUE(ArquivosDaPasta().empty());
    ASSERT_EQ(FInformacao.Textos.size(), 1u);
}

TEST_F(TesteGerarArquivo, GerarArquivo_Gauge_CountsEveryRowAndPumpsEventsOncePerRow) {
    Inserir({.numlanc = "'1'"});
    Inserir({.numlanc = "'2'"});
    Inserir({.numlanc = "'3'"});

    Gerar();

    EXPECT_EQ(FProgresso.Chamadas, (std::vector<std::string>{"max 3", "pos 0", "passo", "passo", "passo"}));
    EXPECT_EQ(FEventos.Vezes, 3);
}

TEST_F(TesteGerarArquivo, GerarArquivo_WithoutFrontEnd_StillWritesTheFile) {
    TDadosExportacao::SetInformacao(nullptr);
    TDadosExportacao::SetProgresso(nullptr);
    TDadosExportacao::SetEventos(nullptr);
    Inserir({});
    EXPECT_TRUE(Gerar().Gerado);
    EXPECT_EQ(LerSaida(), Linha("07", "0000004521", "CLIENTE EXEMPLO", "05032024", "001893", "000000001000"));
}

TEST_F(TesteGerarArquivo, GerarArquivo_RowThatIsNotANumber_StopsAndLeavesExistingFileAlone) {
    GravarBinario(Saida(), "antigo\r\n");
    Inserir({.numlanc = "'1'"});
    Inserir({.numlanc = "'12A'"});
    Inserir({.numlanc = "'13'"});

    EXPECT_EQ(Falha([&] { Gerar(); }), "'12A' is not a valid integer value");

    EXPECT_EQ(LerSaida(), "antigo\r\n");
    EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"saida.txt"});
    // The gauge shows the row done before the failing one.
    EXPECT_EQ(FProgresso.Chamadas, (std::vector<std::string>{"max 3", "pos 0", "passo"}));
    EXPECT_TRUE(FInformacao.Textos.empty());
}

TEST_F(TesteGerarArquivo, GerarArquivo_EmptyOrSignOnlyPostingNumber_FailsAsNotAnInteger) {
    for (const std::string numlanc : {"''", "NULL", "'-'", "' 12'", "'$1A'", "'1.5'"}) {
        Executar(Conexao(), "DELETE FROM receber");
        Inserir({.numlanc = numlanc});
        std::string texto = numlanc == "NULL" ? "" : numlanc.substr(1, numlanc.size() - 2);
        EXPECT_EQ(Falha([&] { Gerar(); }), "'" + texto + "' is not a valid integer value") << numlanc;
        EXPECT_FALSE(std::filesystem::exists(Saida()));
    }
}

TEST_F(TesteGerarArquivo, GerarArquivo_ValuesThatDoNotFit_AreRefusedNamingPostingAndField) {
    GravarBinario(Saida(), "antigo\r\n");
    struct TCaso {
        std::string numlanc;
        std::string valortotal;
        std::string mensagem;
    };
    const std::vector<TCaso> casos = {
        {"'1234567'", "1.00",
         "Lançamento 1234567: o número do lançamento não cabe no campo de 6 dígitos (0 a 999999). "
         "Nenhum arquivo foi gravado."},
        {"'-42'", "1.00",
         "Lançamento -42: o número do lançamento não cabe no campo de 6 dígitos (0 a 999999). "
         "Nenhum arquivo foi gravado."},
        {"'99999999999999999999'", "1.00",
         "Lançamento 99999999999999999999: o número do lançamento não cabe no campo de 6 dígitos (0 a 999999). "
         "Nenhum arquivo foi gravado."},
        {"'55'", "10000000000.00",
         "Lançamento 55: o valor 10000000000.000 não cabe no campo de 12 dígitos do valor em centavos. "
         "Nenhum arquivo foi gravado."},
        {"'56'", "9999999999.995",
         "Lançamento 56: o valor 9999999999.995 não cabe no campo de 12 dígitos do valor em centavos. "
         "Nenhum arquivo foi gravado."},
    };
    Executar(Conexao(), "ALTER TABLE receber MODIFY valortotal DECIMAL(20,3)");
    for (const auto& caso : casos) {
        Executar(Conexao(), "DELETE FROM receber");
        Inserir({.numlanc = "'1'"});
        Inserir({.numlanc = caso.numlanc, .valortotal = caso.valortotal});
        EXPECT_EQ(Cp1252ParaUtf8(Falha([&] { Gerar(); })), caso.mensagem);
        EXPECT_EQ(LerSaida(), "antigo\r\n");
        EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"saida.txt"});
    }
    EXPECT_TRUE(FInformacao.Textos.empty());
}

TEST_F(TesteGerarArquivo, GerarArquivo_CodTorvaneOutsideTwoDigits_IsRefusedBeforeAnyQuery) {
    Inserir({});
    TDadosExportacao::DefinirConexao(nullptr);
    for (const int codigo : {100, 123, -1}) {
        EXPECT_EQ(Falha([&] { Gerar(true, 0, codigo); }),
                  TextoAnsi("O número da empresa na Torvane (" + std::to_string(codigo) +
                            ") não cabe no campo de 2 dígitos (0 a 99). Nenhum arquivo foi gravado."));
    }
    EXPECT_TRUE(ArquivosDaPasta().empty());
}

TEST_F(TesteGerarArquivo, GerarArquivo_MalformedGroupList_IsRefusedBeforeAnyQuery) {
    GravarPerfis("Todos os Grupos" + std::string(45, ' ') + "\r\n" + Descricao60 + "(1) or 1=1\r\n" + Descricao60 +
                 "(1,2\r\n");
    // Without a connection any query would fail with another message.
    TDadosExportacao::DefinirConexao(nullptr);
    const std::string arquivo = TDadosExportacao::ArquivoPerfis();
    EXPECT_EQ(Falha([&] { Gerar(true, 1); }),
              TextoAnsi("O perfil da linha 1 do arquivo de perfis (") + arquivo +
                  TextoAnsi(") tem uma lista de grupos inválida: (1) or 1=1. A lista deve ser como (12,15,40). "
                            "Refaça o vínculo de grupos desse perfil em Configurações. Nenhum arquivo foi gravado."));
    EXPECT_NE(Falha([&] { Gerar(true, 2); }).find(TextoAnsi("O perfil da linha 2 ")), std::string::npos);
    EXPECT_EQ(Falha([&] { Gerar(true, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(ArquivosDaPasta(), std::vector<std::string>{"PerfilTorvane.txt"});
}

TEST_F(TesteGerarArquivo, GerarArquivo_FolderThatCannotHoldTheFile_FailsWithCannotCreate) {
    Inserir({});
    GravarBinario(FPasta->Sistema() / "arquivo", "x");
    struct TCaso {
        std::string pasta;
        int erro;
    };
    const std::vector<TCaso> casos = {{FPasta->Caminho() + "nao-existe", ENOENT},
                                      {FPasta->Caminho() + "arquivo", ENOTDIR}};
    for (const auto& caso : casos) {
        const std::string caminho = caso.pasta + SeparadorPasta() + "saida.txt";
        EXPECT_EQ(Falha([&] {
                      TDadosExportacao::GerarArquivo(caso.pasta, "saida.txt", true, TDataHora::Data(2024, 3, 1),
                                                     TDataHora::Data(2024, 3, 31), 1, 7, 0);
                  }),
                  "Cannot create file \"" + caminho + "\". " + std::generic_category().message(caso.erro));
    }
    // A folder by the file's name cannot be replaced by it.
    std::filesystem::create_directory(Saida());
    EXPECT_EQ(Falha([&] { Gerar(); }),
              "Cannot create file \"" + FPasta->Caminho() + "saida.txt\". " + std::generic_category().message(EISDIR));
    EXPECT_TRUE(FInformacao.Textos.empty());
    EXPECT_EQ(ArquivosDaPasta(), (std::vector<std::string>{"arquivo", "saida.txt"}));
}

TEST_F(TesteGerarArquivo, SqlExportacao_BuildsTheQueryTextPieceByPiece) {
    const std::string esperado =
        " select  \r\n    receber.numlanc \r\n    ,receber.datahora \r\n   , clientes.nome \r\n"
        "   ,clientes.chapa \r\n   ,SUM(receber.valortotal) as valor \r\n from \r\n   receber \r\n"
        " join clientes \r\n   on (clientes.clientes_id = receber.clientes_id) \r\n join filial \r\n"
        "   on (receber.filial_id = filial.filial_id) \r\n join produto \r\n"
        "   on (receber.produto_id = produto.produto_id) \r\n where  \r\n"
        "   receber.amort < 100   and receber.valortotal > 0.00   and receber.apagado = \"N\" \r\n";
    EXPECT_EQ(TDadosExportacao::SqlExportacao(true, TDataHora::Data(2024, 3, 1), TDataHora{2024, 3, 31, 14, 5, 6}, 12,
                                              "(12,15,40)"),
              esperado + "   and (receber.datahora between \"2024-03-01 00:00:00\" and \"2024-03-31 23:59:59\")"
                         " and clientes.empresa_id = 12 and produto.grupo_id in (12,15,40)"
                         "  group by    receber.numlanc    ,receber.datahora    ,clientes.nome    ,clientes.chapa ");
    EXPECT_EQ(TDadosExportacao::SqlExportacao(false, TDataHora::Data(987, 1, 9), TDataHora::Data(2024, 12, 1), -3, ""),
              esperado + "   and (receber.vencimento between \"0987-01-09 00:00:00\" and \"2024-12-01 23:59:59\")"
                         " and clientes.empresa_id = -3"
                         "  group by    receber.numlanc    ,receber.datahora    ,clientes.nome    ,clientes.chapa ");
}
