#include "TestDb.h"

#include "UDataHora.h"
#include "UTexto.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#ifndef TORVANE_EXPORT_BIN
#error "TORVANE_EXPORT_BIN must name the built command"
#endif

namespace {

struct TExecucao {
    int Status = -1;
    std::string Saida;
    std::string Erro;
};

std::string Aspas(const std::string& texto) {
    std::string saida = "'";
    for (const char c : texto)
        saida += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return saida + "'";
}

std::string DataSql(const TDataHora& data, const char* hora) {
    return "'" + data.TextoDataIso() + " " + hora + "'";
}

const std::string LinhaExemplo = "070000004521CLIENTE EXEMPLO                         0503202400189301000000123450\r\n";

// The command runs from a folder of its own, which is its program folder: its settings files are there.
class TesteComandoExportacao : public TTesteBanco {
protected:
    void SetUp() override {
        TTesteBanco::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Executar(Conexao(), "INSERT INTO empresa VALUES (1, 'EMPRESA UM', 'N');"
                            "INSERT INTO filial VALUES (1, 'LOJA CENTRO', '12345678000190', 'N');"
                            "INSERT INTO produto VALUES (1, 'BEBIDA', 10), (2, 'DOCE', 20);"
                            "INSERT INTO clientes VALUES (1, 'CLIENTE EXEMPLO', '4521', 1, 'N')");
        FPrograma = FPasta->Sistema() / "torvane-export";
        std::filesystem::copy_file(TORVANE_EXPORT_BIN, FPrograma);
        std::filesystem::permissions(FPrograma, std::filesystem::perms::owner_all);
        GravarSistemaQorIni();
        FDestino = FPasta->Sistema() / "saida";
        std::filesystem::create_directory(FDestino);
    }

    void Inserir(const std::string& numlanc, const std::string& datahora, const std::string& vencimento,
                 const std::string& valor, int produto = 1) {
        Executar(Conexao(), "INSERT INTO receber (numlanc, datahora, vencimento, valortotal, amort, apagado, "
                            "clientes_id, filial_id, produto_id) VALUES ('" +
                                numlanc + "', " + datahora + ", " + vencimento + ", " + valor + ", 0, 'N', 1, 1, " +
                                std::to_string(produto) + ")");
    }

    void InserirExemplo() { Inserir("1893", "'2024-03-05 14:22:00'", "'2024-04-05 00:00:00'", "1234.50"); }

    TExecucao Rodar(const std::vector<std::string>& argumentos) {
        const std::filesystem::path saida = FSaidas.Sistema() / "stdout";
        const std::filesystem::path erro = FSaidas.Sistema() / "stderr";
        std::string comando = Aspas(FPrograma.string());
        for (const auto& argumento : argumentos)
            comando += " " + Aspas(argumento);
        comando += " >" + Aspas(saida.string()) + " 2>" + Aspas(erro.string()) + " </dev/null";
        TExecucao execucao;
        const int status = std::system(comando.c_str());
#ifdef _WIN32
        execucao.Status = status;
#else
        execucao.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        execucao.Saida = LerBinario(saida);
        execucao.Erro = LerBinario(erro);
        return execucao;
    }

    // Every option given: March 2024 by posting date, company 1, Torvane 7.
    std::vector<std::string> Completo(const std::string& arquivo = "dados") const {
        return {"--diretorio", FDestino.string(), "--arquivo",  arquivo,     "--data", "lancamento",    "--de",
                "2024-03-01",  "--ate",           "2024-03-31", "--empresa", "1",      "--cod-torvane", "7"};
    }

    std::filesystem::path Ini() const {
        return FPasta->Sistema() / "ExportacaoKOTR.ini";
    }

    std::vector<std::string> ArquivosDoDestino() const {
        std::vector<std::string> nomes;
        for (const auto& item : std::filesystem::directory_iterator(FDestino))
            nomes.push_back(item.path().filename().string());
        return nomes;
    }

    std::filesystem::path FPrograma;
    std::filesystem::path FDestino;
    TPastaTemporaria FSaidas;
};

} // namespace

TEST_F(TesteComandoExportacao, AllOptions_WritesTheFileAndReportsPathLinesAndTotal) {
    InserirExemplo();
    Inserir("1894", "'2024-03-06 08:00:00'", "'2024-04-06 00:00:00'", "0.05");

    const auto execucao = Rodar(Completo());

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"),
              LinhaExemplo + "070000004521CLIENTE EXEMPLO                         0603202400189401000000000005\r\n");
    EXPECT_EQ(execucao.Saida, (FDestino / "dados.txt").string() + "\t2\t1234.55\n");
    // Not a terminal: no progress bar, only the message.
    EXPECT_EQ(execucao.Erro, "Arquivo \"dados.txt\"  gerado com sucesso.\n");
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(TesteComandoExportacao, FileName_FollowsTheTxtRuleAndTheTerminalEncoding) {
    InserirExemplo();
    struct TCaso {
        std::string digitado;
        std::string gravado;
    };
    for (const auto& caso : std::vector<TCaso>{{"abc", "abc.txt"},
                                               {"Dados.TXT", "Dados.TXT"},
                                               {"a.txt.bak", "a.txt.bak"},
                                               {"x.tx", "x.tx.txt"},
                                               {"relatório março", "relatório março.txt"}}) {
        const auto execucao = Rodar(Completo(caso.digitado));
        EXPECT_EQ(execucao.Status, 0) << caso.digitado << ": " << execucao.Erro;
        EXPECT_EQ(LerBinario(FDestino / std::filesystem::u8path(caso.gravado)), LinhaExemplo) << caso.gravado;
        EXPECT_EQ(execucao.Saida, FDestino.string() + "/" + caso.gravado + "\t1\t1234.50\n");
        EXPECT_EQ(execucao.Erro, "Arquivo \"" + caso.gravado + "\"  gerado com sucesso.\n");
    }
}

TEST_F(TesteComandoExportacao, MissingOptions_ComeFromTheSettingsFileWhichStaysUntouched) {
    // Due date basis from TipoData; the row's posting date lies outside the period, its due date inside.
    Inserir("77", "'2024-01-10 10:00:00'", "'2024-03-15 00:00:00'", "2.00");
    Inserir("78", "'2024-03-10 10:00:00'", "'2024-05-15 00:00:00'", "3.00");
    const std::string ini =
        "[QOR]\r\nDiretorio=" + FDestino.string() + "\r\nEmpresa=1\r\nCodTorvane=9\r\nTipoData=1\r\n";
    GravarBinario(Ini(), ini);

    const auto execucao = Rodar({"--arquivo", "x", "--de", "2024-03-01", "--ate", "2024-03-31"});

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "x.txt"),
              "090000004521CLIENTE EXEMPLO                         1001202400007701000000000200\r\n");
    EXPECT_EQ(LerBinario(Ini()), ini);
}

TEST_F(TesteComandoExportacao, GivenOptions_OverrideTheSettingsFile) {
    InserirExemplo();
    Inserir("78", "'2024-01-10 10:00:00'", "'2024-03-15 00:00:00'", "3.00");
    const std::string ini = "[QOR]\r\nDiretorio=/nao/existe\r\nEmpresa=5\r\nCodTorvane=9\r\nTipoData=1\r\n";
    GravarBinario(Ini(), ini);

    const auto execucao = Rodar(Completo());

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), LinhaExemplo);
    EXPECT_EQ(LerBinario(Ini()), ini);
}

TEST_F(TesteComandoExportacao, NoPeriodGiven_ExportsThePreviousCalendarMonth) {
    const TPeriodo periodo = MesAnterior(Agora());
    Inserir("1", DataSql(periodo.Inicio, "00:00:00"), "NULL", "1.00");
    Inserir("2", DataSql(periodo.Fim, "23:59:59"), "NULL", "2.00");
    Inserir("3", DataSql(Agora(), "00:00:00"), "NULL", "4.00");
    const auto data = [](const TDataHora& d) {
        return FormatarZeros(d.Dia, 2) + FormatarZeros(d.Mes, 2) + FormatarZeros(d.Ano, 4);
    };

    const auto execucao =
        Rodar({"--diretorio", FDestino.string(), "--arquivo", "mes.txt", "--empresa", "1", "--cod-torvane", "7"});

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "mes.txt"), "070000004521CLIENTE EXEMPLO                         " +
                                                    data(periodo.Inicio) + "00000101000000000100\r\n" +
                                                    "070000004521CLIENTE EXEMPLO                         " +
                                                    data(periodo.Fim) + "00000201000000000200\r\n");
}

TEST_F(TesteComandoExportacao, Profile_LimitsTheGroups) {
    GravarBinario(FPasta->Sistema() / "PerfilTorvane.txt",
                  "Todos os Grupos" + std::string(45, ' ') + "\r\nDoces" + std::string(55, ' ') + "(20)\r\n");
    Inserir("1", "'2024-03-05 14:22:00'", "NULL", "1.00", 1);
    Inserir("1", "'2024-03-05 14:22:00'", "NULL", "2.00", 2);
    auto argumentos = Completo();
    argumentos.insert(argumentos.end(), {"--perfil", "1"});

    const auto execucao = Rodar(argumentos);

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"),
              "070000004521CLIENTE EXEMPLO                         0503202400000101000000000200\r\n");
}

TEST_F(TesteComandoExportacao, NothingFound_ExitsThreeAndLeavesExistingFileAlone) {
    GravarBinario(FDestino / "dados.txt", "antigo\r\n");

    const auto execucao = Rodar(Completo());

    EXPECT_EQ(execucao.Status, 3);
    EXPECT_EQ(execucao.Saida, "");
    EXPECT_EQ(execucao.Erro, "Nenhum registro encontrado para a seleção.\n");
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), "antigo\r\n");
}

TEST_F(TesteComandoExportacao, FailingRow_ExitsOneAndLeavesExistingFileAlone) {
    GravarBinario(FDestino / "dados.txt", "antigo\r\n");
    Inserir("12A", "'2024-03-05 14:22:00'", "NULL", "1.00");

    const auto execucao = Rodar(Completo());

    EXPECT_EQ(execucao.Status, 1);
    EXPECT_EQ(execucao.Saida, "");
    EXPECT_EQ(execucao.Erro, "'12A' is not a valid integer value\n");
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), "antigo\r\n");
    EXPECT_EQ(ArquivosDoDestino(), std::vector<std::string>{"dados.txt"});
}

TEST_F(TesteComandoExportacao, NoConnection_ExitsOneWithTheClientsMessage) {
    InserirExemplo();
    GravarBinario(FPasta->Sistema() / "sistema_qor.ini",
                  "[ip]\r\nlocal=127.0.0.1\r\ndatabase=" + NomeBanco() +
                      "\r\nusuario=ninguem\r\nPorta=" + std::to_string(Servidor().Porta) + "\r\n");

    const auto execucao = Rodar(Completo());

    EXPECT_EQ(execucao.Status, 1);
    EXPECT_NE(execucao.Erro.find("Access denied for user 'ninguem'"), std::string::npos) << execucao.Erro;
    EXPECT_TRUE(ArquivosDoDestino().empty());
}

TEST_F(TesteComandoExportacao, ValuesThatFailTheChecks_ExitTwoWithTheWindowsTexts) {
    InserirExemplo();
    struct TCaso {
        std::string opcao;
        std::string valor;
        std::string mensagem;
    };
    const std::string inexistente = FDestino.string() + "/nova";
    const std::vector<TCaso> casos = {
        {"--diretorio", "  ", "Selecione o diretório onde será gerado o arquivo."},
        {"--diretorio", inexistente, "O Diretório \"" + inexistente + "/\" não existe."},
        {"--de", "2024-02-30", "Período inicial inválido. Informe a data como AAAA-MM-DD."},
        {"--de", "01/03/2024", "Período inicial inválido. Informe a data como AAAA-MM-DD."},
        {"--ate", "2024-3-31", "Período final inválido. Informe a data como AAAA-MM-DD."},
        {"--empresa", "0", "Informe o número da empresa"},
        {"--empresa", "-4", "Informe o número da empresa"},
        {"--arquivo", " \t ", "Informe o nome do arquivo."},
        {"--cod-torvane", "0", "Informe o número da empresa na Torvane"},
        {"--cod-torvane", "100", "Informe o número da empresa na Torvane"},
    };
    for (const auto& caso : casos) {
        auto argumentos = Completo();
        argumentos.insert(argumentos.end(), {caso.opcao, caso.valor});
        const auto execucao = Rodar(argumentos);
        EXPECT_EQ(execucao.Status, 2) << caso.opcao << " " << caso.valor;
        EXPECT_EQ(execucao.Erro, caso.mensagem + "\n");
        EXPECT_EQ(execucao.Saida, "");
    }
    // Nothing was written, and the missing folder was not created.
    EXPECT_TRUE(ArquivosDoDestino().empty());
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(TesteComandoExportacao, NoSettingsAndNoOptions_AsksForTheFolderFirst) {
    const auto execucao = Rodar({"--arquivo", "x"});
    EXPECT_EQ(execucao.Status, 2);
    EXPECT_EQ(execucao.Erro, "Selecione o diretório onde será gerado o arquivo.\n");
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(TesteComandoExportacao, BadCommandLine_ExitsTwo) {
    for (const auto& argumentos : std::vector<std::vector<std::string>>{{},
                                                                        {"--diretorio", FDestino.string()},
                                                                        {"--arquivo", "x", "--data", "hoje"},
                                                                        {"--arquivo", "x", "--empresa", "um"},
                                                                        {"--arquivo", "x", "--perfil"},
                                                                        {"--arquivo", "x", "--desconhecida"},
                                                                        {"--arquivo", "x", "sobra"}}) {
        const auto execucao = Rodar(argumentos);
        EXPECT_EQ(execucao.Status, 2) << execucao.Erro;
        EXPECT_NE(execucao.Erro.find("Use --help"), std::string::npos) << execucao.Erro;
        EXPECT_EQ(execucao.Saida, "");
    }
}

TEST_F(TesteComandoExportacao, Help_ListsTheOptionsAndExitsZero) {
    const auto execucao = Rodar({"--help"});
    EXPECT_EQ(execucao.Status, 0);
    for (const char* opcao :
         {"--diretorio", "--arquivo", "--data", "--de", "--ate", "--perfil", "--empresa", "--cod-torvane", "--help"})
        EXPECT_NE(execucao.Saida.find(opcao), std::string::npos) << opcao;
    EXPECT_EQ(execucao.Erro, "");
}
