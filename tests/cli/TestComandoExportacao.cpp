#include "support/TestDb.h"
#include "support/TextosVerificacao.h"

#include "dao/UConexao.h"
#include "dao/UDao.h"
#include "export/UHistoricoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UDataHora.h"
#include "platform/UIni.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaPrograma.h"
#include "platform/UProcesso.h"
#include "platform/UTexto.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifndef TORVANE_EXPORT_BIN
#error "TORVANE_EXPORT_BIN must name the built command"
#endif

namespace {

struct TExecucao {
    int Status = -1;
    std::string Saida;
    std::string Erro;
};

#ifndef _WIN32
// For the install step, which runs through the shell.
std::string Aspas(const std::string& texto) {
    std::string saida = "'";
    for (const char c : texto)
        saida += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return saida + "'";
}
#endif

// The program file's name on this platform.
std::filesystem::path Executavel(const std::string& nome) {
#ifdef _WIN32
    return nome + ".exe";
#else
    return nome;
#endif
}

// The command's text with its line ends as on Linux: a Windows console program ends its lines with CR LF.
std::string LinhasLf(std::string texto) {
#ifdef _WIN32
    for (std::size_t lugar; (lugar = texto.find("\r\n")) != std::string::npos;)
        texto.erase(lugar, 1);
#endif
    return texto;
}

// A path as the command prints it.
std::string Texto(const std::filesystem::path& caminho) {
    return CaminhoUtf8(caminho);
}

std::string PerfilInexistente(const std::string& perfil, const std::string& semArquivo) {
    return "O perfil " + perfil + " não existe no arquivo de perfis " + "{perfis}" + semArquivo +
           ". Informe a linha de um perfil do arquivo, ou 0 para todos os grupos.";
}

const std::string LinhaExemplo = "070000004521CLIENTE EXEMPLO                         0503202400189301000000123450\r\n";

// The command runs from a folder of its own, which is its program folder: its settings files are there.
class TesteComandoExportacao : public TTesteBanco {
protected:
    void Preparar() override {
        InserirCadastros();
        FPrograma = FPasta.Sistema() / Executavel("torvane-export");
        std::filesystem::copy_file(CaminhoDeUtf8(TORVANE_EXPORT_BIN), FPrograma);
        std::filesystem::permissions(FPrograma, std::filesystem::perms::owner_all);
        GravarSistemaQorIni();
        FDestino = FPasta.Sistema() / "saida";
        std::filesystem::create_directory(FDestino);
    }

    void InserirExemplo() { Inserir({{.valortotal = "1234.50"}}); }

    TExecucao Rodar(const std::vector<std::string>& argumentos) {
        const std::filesystem::path saida = FSaidas.Sistema() / "stdout";
        const std::filesystem::path erro = FSaidas.Sistema() / "stderr";
        TExecucao execucao;
        execucao.Status = RodarPrograma(
            {FPrograma, argumentos, FAmbiente, FSaidaPadrao.empty() ? saida : FSaidaPadrao, erro, FEntrada});
        execucao.Saida = LinhasLf(FSaidaPadrao.empty() ? LerBinario(saida) : std::string());
        execucao.Erro = LinhasLf(LerBinario(erro));
        return execucao;
    }

    // Every option given: March 2024 by posting date, company 1, Torvane 7.
    std::vector<std::string> Completo(const std::string& arquivo = "dados") const {
        return {"--diretorio", Texto(FDestino), "--arquivo",  arquivo,     "--data", "lancamento",    "--de",
                "2024-03-01",  "--ate",         "2024-03-31", "--empresa", "1",      "--cod-torvane", "7"};
    }

    std::filesystem::path Ini() const { return FPasta.Sistema() / "ExportacaoKOTR.ini"; }

    // Copies the command and the settings file pointing at the test database into the folder, which
    // becomes the command's program folder.
    void InstalarEm(const std::filesystem::path& pasta, bool comConfiguracao) {
        std::filesystem::create_directories(pasta);
        std::filesystem::copy_file(FPrograma, pasta / Executavel("torvane-export"));
        if (comConfiguracao)
            std::filesystem::copy_file(FPasta.Sistema() / "sistema_qor.ini", pasta / "sistema_qor.ini");
        FPrograma = pasta / Executavel("torvane-export");
    }

    std::filesystem::path FPrograma;
    std::filesystem::path FDestino;
    std::vector<std::pair<std::string, std::string>> FAmbiente; // variables set for the command
    std::filesystem::path FSaidaPadrao;                         // where standard output goes instead of a file
    std::filesystem::path FEntrada;                             // standard input's file; none: empty
    TPastaTemporaria FSaidas;
};

} // namespace

TEST_F(TesteComandoExportacao, AllOptions_WritesTheFileAndReportsPathLinesAndTotal) {
    Inserir({{.valortotal = "1234.50"},
             {.numlanc = "'1894'",
              .datahora = "'2024-03-06 08:00:00'",
              .vencimento = "'2024-04-06 00:00:00'",
              .valortotal = "0.05"}});
    // The name follows the ".txt" rule; the terminal's encoding is UTF-8 here. The same period again is pointed
    // out, newest export first, and exported all the same.
    std::string anterior;
    int exportados = 0;
    for (const auto& [digitado, gravado] : std::vector<std::pair<std::string, std::string>>{
             {"dados", "dados.txt"}, {"Dados.TXT", "Dados.TXT"}, {"relatório março", "relatório março.txt"}}) {
        const auto execucao = Rodar(Completo(digitado));

        EXPECT_EQ(execucao.Status, 0) << digitado << ": " << execucao.Erro;
        EXPECT_EQ(LerBinario(FDestino / std::filesystem::u8path(gravado)),
                  LinhaExemplo +
                      "070000004521CLIENTE EXEMPLO                         0603202400189401000000000005\r\n");
        EXPECT_EQ(execucao.Saida, Texto(FDestino / CaminhoDeUtf8(gravado)) + "\t2\t1234.55\n");
        // Not a terminal: no progress bar, only the messages.
        const std::string sucesso =
            "Arquivo \"" + gravado + "\"  gerado com sucesso.\n2 lançamentos, total R$ 1.234,55\n";
        const auto linhas = DividirLinhas(execucao.Erro);
        ASSERT_EQ(linhas.size(), exportados == 0 ? 2u : 3u + exportados) << execucao.Erro;
        EXPECT_TRUE(execucao.Erro.ends_with(sucesso)) << execucao.Erro;
        if (exportados > 0) {
            EXPECT_EQ(linhas[0], "Este período já foi exportado para esta empresa:");
            EXPECT_TRUE(linhas[1].starts_with("Exportação de ")) << linhas[1];
            EXPECT_TRUE(linhas[1].ends_with(": empresa 1, período de 01/03/2024 a 31/03/2024 pela data de lançamento, "
                                            "arquivo \"" +
                                            anterior + "\", 2 lançamentos, total R$ 1.234,55."))
                << linhas[1];
        }
        anterior = Texto(FDestino / CaminhoDeUtf8(gravado));
        ++exportados;
    }
    // Each file can be checked later against the record: the same bytes, or not.
    const auto conferido = Rodar({"--conferir", anterior});
    EXPECT_EQ(conferido.Status, 0) << conferido.Erro;
    EXPECT_TRUE(conferido.Saida.starts_with("O arquivo \"" + anterior + "\" é o mesmo que foi gerado.\n"))
        << conferido.Saida;
    // Only a customer's name changed: the same lines and total, another fingerprint.
    std::string nome = LerBinario(CaminhoDeUtf8(anterior));
    nome.replace(nome.find("CLIENTE EXEMPLO"), 15, "CLIENTE EXEMPLA");
    GravarBinario(CaminhoDeUtf8(anterior), nome);
    const auto renomeado = Rodar({"--conferir", anterior});
    EXPECT_EQ(renomeado.Status, 1);
    EXPECT_NE(renomeado.Saida.find("\nSHA-256: registrado "), std::string::npos) << renomeado.Saida;
    GravarBinario(FDestino / "dados.txt", LinhaExemplo);
    const auto alterado = Rodar({"--conferir", Texto(FDestino / "dados.txt")});
    EXPECT_EQ(alterado.Status, 1);
    EXPECT_TRUE(alterado.Saida.starts_with("O arquivo \"" + Texto(FDestino / "dados.txt") +
                                           "\" não é mais o que foi gerado.\n"))
        << alterado.Saida;
    EXPECT_EQ(Rodar({"--conferir", Texto(Ini())}).Status, 1) << "a file the record does not hold";
    EXPECT_EQ(Rodar({"--conferir", anterior, "--arquivo", "x"}).Status, 2);
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

// The same file written again, most likely within the same second: it is checked against its last row.
TEST_F(TesteComandoExportacao, Conferir_FileWrittenSeveralTimes_IsCheckedAgainstTheLastExport) {
    Inserir({{.valortotal = "1234.50"}, {.numlanc = "'1894'", .datahora = "'2024-03-06 08:00:00'"}});
    auto segundaMetade = Completo();
    segundaMetade[7] = "2024-03-06";
    for (const auto& argumentos : {Completo(), segundaMetade}) {
        ASSERT_EQ(Rodar(argumentos).Status, 0);
        const auto conferido = Rodar({"--conferir", Texto(FDestino / "dados.txt")});
        EXPECT_EQ(conferido.Status, 0) << argumentos[7] << ": " << conferido.Saida;
    }
}

TEST_F(TesteComandoExportacao, MissingOptions_ComeFromTheSettingsFileWhichStaysUntouched) {
    InserirExemplo();
    // Group 20, left out by the profile.
    Inserir({{.valortotal = "5.00", .produto = 2}});
    // Due date basis from TipoData: this row's posting date lies outside the period, its due date inside.
    Inserir({{.numlanc = "'77'",
              .datahora = "'2024-01-10 10:00:00'",
              .vencimento = "'2024-03-15 00:00:00'",
              .valortotal = "2.00"}});
    std::string ini = "[QOR]\r\nDiretorio=" + Texto(FDestino) + "\r\nEmpresa=1\r\nCodTorvane=9\r\nTipoData=1\r\n";
    GravarBinario(Ini(), ini);

    const auto execucao = Rodar({"--arquivo", "x", "--de", "2024-03-01", "--ate", "2024-03-31"});
    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "x.txt"),
              "090000004521CLIENTE EXEMPLO                         1001202400007701000000000200\r\n");
    EXPECT_EQ(LerBinario(Ini()), ini);
    // Options given win over the file; the profile is only ever an option.
    ini = "[QOR]\r\nDiretorio=/nao/existe\r\nEmpresa=5\r\nCodTorvane=9\r\nTipoData=1\r\n";
    GravarBinario(Ini(), ini);
    GravarBinario(FPasta.Sistema() / "PerfilTorvane.txt", ArquivoDePerfis({P("Bebidas") + "(10)"}));
    auto argumentos = Completo();
    argumentos.insert(argumentos.end(), {"--perfil", "1"});
    EXPECT_EQ(Rodar(argumentos).Status, 0);
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), LinhaExemplo);
    EXPECT_EQ(LerBinario(Ini()), ini);
}

TEST_F(TesteComandoExportacao, NoPeriodGiven_ExportsThePreviousCalendarMonth) {
    const TPeriodo periodo = MesAnterior(Agora());
    const auto em = [](const TDataHora& dia, const std::string& hora) { return "'" + dia.TextoDataIso() + hora + "'"; };
    Inserir(
        {{.numlanc = "'1'", .datahora = em(periodo.Inicio, " 00:00:00"), .vencimento = "NULL", .valortotal = "1.00"},
         {.numlanc = "'2'", .datahora = em(periodo.Fim, " 23:59:59"), .vencimento = "NULL", .valortotal = "2.00"},
         {.numlanc = "'3'", .datahora = em(Agora(), " 00:00:00"), .vencimento = "NULL", .valortotal = "4.00"}});
    const auto data = [](const TDataHora& d) {
        return FormatarZeros(d.Dia, 2) + FormatarZeros(d.Mes, 2) + FormatarZeros(d.Ano, 4);
    };

    const auto execucao =
        Rodar({"--diretorio", Texto(FDestino), "--arquivo", "mes.txt", "--empresa", "1", "--cod-torvane", "7"});

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "mes.txt"), "070000004521CLIENTE EXEMPLO                         " +
                                                    data(periodo.Inicio) + "00000101000000000100\r\n" +
                                                    "070000004521CLIENTE EXEMPLO                         " +
                                                    data(periodo.Fim) + "00000201000000000200\r\n");
}

TEST_F(TesteComandoExportacao, NothingFoundOrFailure_ExitsThreeOrOneAndLeavesExistingFileAlone) {
    GravarBinario(FDestino / "dados.txt", "antigo\r\n");
    const auto rodar = [&](int status) {
        const auto execucao = Rodar(Completo());
        EXPECT_EQ(execucao.Status, status);
        EXPECT_EQ(execucao.Saida, "");
        EXPECT_EQ(NomesNaPasta(FDestino), std::vector<std::string>{"dados.txt"});
        EXPECT_EQ(LerBinario(FDestino / "dados.txt"), "antigo\r\n");
        return execucao.Erro;
    };
    EXPECT_EQ(rodar(3), "Nenhum registro encontrado para a seleção.\n");
    Inserir({{.numlanc = "'12A'", .vencimento = "NULL", .valortotal = "1.00"}});
    EXPECT_EQ(rodar(1), "'12A' is not a valid integer value\n");
    // A link at the file's name is no file to replace: the link and the linked file stay as they are.
    const auto ligado = FPasta.Sistema() / "ligado.txt";
    std::filesystem::rename(FDestino / "dados.txt", ligado);
    std::error_code semLink;
    std::filesystem::create_symlink(ligado, FDestino / "dados.txt", semLink);
    if (!semLink) {
        EXPECT_NE(rodar(1).find("Não é um arquivo comum"), std::string::npos);
        EXPECT_TRUE(std::filesystem::is_symlink(FDestino / "dados.txt"));
    } else {
        // Wine makes no symbolic links; the platform tests cover the refusal where it can.
        std::filesystem::rename(ligado, FDestino / "dados.txt");
    }
    GravarBinario(FPasta.Sistema() / "sistema_qor.ini",
                  "[ip]\r\nlocal=127.0.0.1\r\ndatabase=" + NomeBanco() +
                      "\r\nusuario=ninguem\r\nPorta=" + std::to_string(Servidor().Porta) + "\r\n");
    const std::string negado = rodar(1);
    EXPECT_NE(negado.find("Access denied for user 'ninguem'"), std::string::npos) << negado;
}

TEST_F(TesteComandoExportacao, NamesAndFoldersBeyondCodePage1252_AreTheFileSystems) {
    InserirExemplo();
    // A program folder of such a name still finds its own settings.
    InstalarEm(FPasta.Sistema() / CaminhoDeUtf8("użyt"), true);
    const auto destino = FDestino / CaminhoDeUtf8("saída_ł");
    std::filesystem::create_directory(destino);
    auto argumentos = Completo("relatório_ł");
    argumentos[1] = CaminhoUtf8(destino);

    const auto execucao = Rodar(argumentos);
    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(NomesNaPasta(destino), std::vector<std::string>{"relatório_ł.txt"});
    EXPECT_EQ(LerBinario(destino / CaminhoDeUtf8("relatório_ł.txt")), LinhaExemplo);
    EXPECT_EQ(execucao.Saida, Texto(destino / CaminhoDeUtf8("relatório_ł.txt")) + "\t1\t1234.50\n");
}

TEST_F(TesteComandoExportacao, Installed_TreeIsCompleteAndTheCommandKeepsItsSettingsInTheUsersFolder) {
    InserirExemplo();
#ifdef _WIN32
    // The installer's tree is checked where it is made (scripts/windows); a copy in a folder of its own with no
    // settings beside it is what the installer leaves in Program Files. The user's and the machine's folders
    // come from the variables Windows sets.
    InstalarEm(FPasta.Sistema() / "Arquivos de Programas" / "Torvane", false);
    const auto instalado = FPrograma.parent_path();
    const auto usuario = FPasta.Sistema() / "AppData" / "ExportacaoTorvane";
    FAmbiente = {{"APPDATA", Texto(FPasta.Sistema() / "AppData")},
                 {"ProgramData", Texto(FPasta.Sistema() / "ProgramData")}};
#else
    const auto raiz = FPasta.Sistema() / "raiz";
    const std::string instalar = "DESTDIR=" + Aspas(raiz.string()) + " " + Aspas(TORVANE_CMAKE) + " --install " +
                                 Aspas(TORVANE_BUILD_DIR) + " --prefix /usr >/dev/null";
    ASSERT_EQ(std::system(instalar.c_str()), 0);
    std::vector<std::string> arvore = {"usr/bin/torvane-export", "usr/share/man/man1/torvane-export.1.gz",
                                       "usr/share/doc/exportacao-torvane/README.md",
                                       "usr/share/doc/exportacao-torvane/copyright"};
#ifdef TORVANE_COM_JANELAS
    const std::string entrada = "usr/share/applications/br.com.torvane.exportacao.desktop";
    const std::string metadados = "usr/share/metainfo/br.com.torvane.exportacao.metainfo.xml";
    arvore.insert(arvore.end(), {"usr/bin/ExportacaoTorvane", "usr/share/man/man1/ExportacaoTorvane.1.gz", entrada,
                                 metadados, "usr/share/icons/hicolor/scalable/apps/br.com.torvane.exportacao.svg"});
    EXPECT_EQ(std::system(("desktop-file-validate " + Aspas((raiz / entrada).string())).c_str()), 0);
    EXPECT_EQ(std::system(("appstreamcli validate --no-net >/dev/null " + Aspas((raiz / metadados).string())).c_str()),
              0);
#endif
    for (const auto& arquivo : arvore)
        EXPECT_TRUE(std::filesystem::is_regular_file(raiz / arquivo)) << arquivo;

    // No settings beside the installed program: they come from the user's folder.
    FPrograma = raiz / "usr" / "bin" / "torvane-export";
    const auto instalado = FPrograma.parent_path();
    const auto usuario = FPasta.Sistema() / "config" / "exportacao-torvane";
    // No server on the default socket either: a run without settings must fail to connect.
    FAmbiente = {{"XDG_CONFIG_HOME", Texto(FPasta.Sistema() / "config")},
                 {"MYSQL_UNIX_PORT", Texto(FPasta.Sistema() / "nenhum.sock")}};
#endif
    std::filesystem::create_directories(usuario);
    std::filesystem::copy_file(FPasta.Sistema() / "sistema_qor.ini", usuario / "sistema_qor.ini");
    GravarBinario(usuario / "ExportacaoKOTR.ini",
                  "[QOR]\r\nDiretorio=" + Texto(FDestino) + "\r\nEmpresa=1\r\nCodTorvane=7\r\n");
    const auto conteudoBin = NomesNaPasta(instalado);

    const auto execucao = Rodar({"--arquivo", "x", "--de", "2024-03-01", "--ate", "2024-03-31"});
    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "x.txt"), LinhaExemplo);
    EXPECT_EQ(NomesNaPasta(instalado), conteudoBin) << "nothing is written beside an installed program";
    EXPECT_NE(Rodar({"--help"}).Saida.find(Texto(usuario)), std::string::npos) << "--help tells where";

    std::filesystem::remove(usuario / "sistema_qor.ini");
    const auto semConfiguracao = Rodar({"--arquivo", "x", "--de", "2024-03-01", "--ate", "2024-03-31"});
    EXPECT_EQ(semConfiguracao.Status, 1);
    // The folders the start-up box names, in its order.
    EXPECT_NE(semConfiguracao.Erro.find("Nenhum sistema_qor.ini foi encontrado em: " + Texto(instalado) + ", " +
                                        Texto(usuario) + " e "),
              std::string::npos)
        << semConfiguracao.Erro;
}

// Two clerks, each with the office's connection settings in a user folder of their own, share the record that the
// settings name: each sees what the other sent.
TEST_F(TesteComandoExportacao, SharedRecord_EveryAccountSeesTheOthersExports) {
    InserirExemplo();
    const auto escritorio = FPasta.Sistema() / "escritorio";
    InstalarEm(FPasta.Sistema() / "programa", false);
    const auto conta = [&](const std::string& nome) {
        const auto base = FPasta.Sistema() / nome;
#ifdef _WIN32
        const auto usuario = base / "ExportacaoTorvane";
        const std::vector<std::pair<std::string, std::string>> ambiente = {
            {"APPDATA", Texto(base)}, {"ProgramData", Texto(FPasta.Sistema() / "ProgramData")}};
#else
        const auto usuario = base / "exportacao-torvane";
        const std::vector<std::pair<std::string, std::string>> ambiente = {{"XDG_CONFIG_HOME", Texto(base)}};
#endif
        std::filesystem::create_directories(usuario);
        GravarBinario(usuario / "sistema_qor.ini", LerBinario(FPasta.Sistema() / "sistema_qor.ini") +
                                                       "[Historico]\r\nPasta=" + CaminhoParaValor(escritorio) + "\r\n");
        return ambiente;
    };
    const auto ana = conta("ana"), bruno = conta("bruno");

    FAmbiente = ana;
    ASSERT_EQ(Rodar(Completo("primeiro")).Status, 0);
    FAmbiente = bruno;
    const auto execucao = Rodar(Completo("segundo"));
    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_TRUE(execucao.Erro.starts_with("Este período já foi exportado para esta empresa:\nExportação de "))
        << execucao.Erro;
    EXPECT_NE(execucao.Erro.find("arquivo \"" + Texto(FDestino / "primeiro.txt") + "\""), std::string::npos)
        << execucao.Erro;
    for (const auto& ambiente : {ana, bruno}) {
        FAmbiente = ambiente;
        for (const char* arquivo : {"primeiro.txt", "segundo.txt"})
            EXPECT_EQ(Rodar({"--conferir", Texto(FDestino / arquivo)}).Status, 0) << arquivo;
    }
    // The copies of what was sent live beside the record, for every clerk of the office.
    EXPECT_EQ(NomesNaPasta(escritorio), (std::vector<std::string>{"ArquivosEnviados", "HistoricoExportacao.csv"}));
    EXPECT_EQ(NomesNaPasta(escritorio / "ArquivosEnviados").size(), 1u) << "the same bytes, kept once";
}

// A number in Torvane that the record knows only as another company's stops a scheduled run, unless accepted.
TEST_F(TesteComandoExportacao, CodeOfAnotherCompany_IsRefusedUnlessAccepted) {
    InserirExemplo();
    ASSERT_EQ(Rodar(Completo()).Status, 0);
    auto outra = Completo("outra");
    outra[outra.size() - 3] = "2";
    const auto recusada = Rodar(outra);
    EXPECT_EQ(recusada.Status, 1);
    EXPECT_TRUE(recusada.Erro.starts_with("O código Torvane 7 foi usado para a empresa 1 – EMPRESA UM (última vez em "))
        << recusada.Erro;
    EXPECT_TRUE(recusada.Erro.ends_with("). Gerar a empresa 2 com o código 7?\nUse --aceitar-codigo para gerar assim "
                                        "mesmo.\n"))
        << recusada.Erro;
    EXPECT_EQ(recusada.Saida, "");
    outra.push_back("--aceitar-codigo");
    EXPECT_EQ(Rodar(outra).Status, 3) << "accepted, the run goes on, and company 2 has nothing to send";
    // Its own code again, the company goes without a question.
    EXPECT_EQ(Rodar(Completo()).Status, 0);
}

// The month-end of every company in one run: each company with its own number and file, exported, checked and
// recorded on its own, so that unfit postings in one leave the others written.
TEST_F(TesteComandoExportacao, SeveralCompanies_EachItsOwnFileAndLine_AFailureLeavesTheOthersWritten) {
    Executar(Conexao(), "INSERT INTO empresa VALUES (3, 'TERCEIRA', 'N'), (4, 'APAGADA', 'S');"
                        "INSERT INTO clientes VALUES (4, 'CLIENTE TRES', '9', 3, 'N')");
    Inserir({{.valortotal = "1234.50"}, {.numlanc = "'12A'", .clientes = 2}, {.numlanc = "'55'", .clientes = 4}});
    auto argumentos = Completo("e{empresa}_{codtorvane}");
    argumentos.resize(argumentos.size() - 4);
    argumentos.insert(argumentos.end(), {"--empresa", "todas", "--cod-torvane", "1=7,2=8,3=9"});
    const auto execucao = Rodar(argumentos);
    EXPECT_EQ(execucao.Status, 1) << execucao.Erro;
    const auto linhas = DividirLinhas(execucao.Saida);
    ASSERT_EQ(linhas.size(), 3u) << execucao.Saida;
    EXPECT_EQ(linhas[0], "1\t" + Texto(FDestino / "e1_7.txt") + "\t1\t1234.50");
    EXPECT_EQ(linhas[1], "2\t\tfalhou: '12A' is not a valid integer value");
    EXPECT_EQ(linhas[2], "3\t" + Texto(FDestino / "e3_9.txt") + "\t1\t10.00");
    EXPECT_EQ(NomesNaPasta(FDestino), (std::vector<std::string>{"e1_7.txt", "e3_9.txt"}));
    EXPECT_EQ(LerBinario(FDestino / "e1_7.txt"), LinhaExemplo);
    std::vector<std::pair<int, int>> registrados;
    for (const auto& registro : THistoricoExportacao::Ler().Registros)
        registrados.emplace_back(registro.Empresa, registro.CodTorvane);
    EXPECT_EQ(registrados, (std::vector<std::pair<int, int>>{{1, 7}, {3, 9}}));

    // Later runs take each company's own number from what was sent.
    std::filesystem::remove(FDestino / "e1_7.txt");
    argumentos.resize(argumentos.size() - 4);
    argumentos.insert(argumentos.end(), {"--empresa", "3,1"});
    const auto denovo = Rodar(argumentos);
    EXPECT_EQ(denovo.Status, 0) << denovo.Erro;
    EXPECT_EQ(denovo.Saida, "3\t" + Texto(FDestino / "e3_9.txt") + "\t1\t10.00\n1\t" + Texto(FDestino / "e1_7.txt") +
                                "\t1\t1234.50\n");
    // A company whose number nobody knows, one number for all, or one file for all: said before anything is done.
    for (const auto& [empresas, codigos, arquivo, motivo] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"1,2", "", "e{empresa}",
              "A empresa 2 não tem número na Torvane conhecido: informe-o com --cod-torvane 2=N."},
             {"1,3", "7", "e{empresa}", "Com várias empresas, informe o número na Torvane de cada uma"},
             {"1,3", "", "mesmo", "Com várias empresas, o nome do arquivo deve ter {empresa}"}}) {
        SCOPED_TRACE(empresas + " " + codigos + " " + arquivo);
        auto errado = Completo(arquivo);
        errado.resize(errado.size() - 4);
        errado.insert(errado.end(), {"--empresa", empresas});
        if (!codigos.empty())
            errado.insert(errado.end(), {"--cod-torvane", codigos});
        const auto recusada = Rodar(errado);
        EXPECT_EQ(recusada.Status, 2);
        EXPECT_EQ(recusada.Erro.rfind(motivo, 0), 0u) << recusada.Erro;
        EXPECT_EQ(recusada.Saida, "");
    }
    EXPECT_EQ(NomesNaPasta(FDestino), (std::vector<std::string>{"e1_7.txt", "e3_9.txt"}));
}

// A look before writing: the table of what would go into the file, with the reason beside what would not, and the
// totals; nothing is written or recorded, and no folder or file name is needed.
TEST_F(TesteComandoExportacao, Visualizar_PrintsTheTableAndTotalsWritingNothing) {
    Executar(Conexao(), "ALTER TABLE clientes MODIFY nome VARCHAR(80) CHARACTER SET utf8mb4;"
                        "INSERT INTO clientes VALUES (20, CONVERT(X'C5817563C3A961' USING utf8mb4), '20', 1, 'N')");
    Inserir({{.valortotal = "1234.50"}, {.numlanc = "'7'", .clientes = 20}, {.numlanc = "'12A'", .clientes = 2}});
    auto argumentos = Completo();
    argumentos.erase(argumentos.begin(), argumentos.begin() + 4);
    argumentos.resize(argumentos.size() - 4);
    argumentos.insert(argumentos.end(), {"--visualizar", "--empresa", "1,2", "--cod-torvane", "1=7,2=8"});

    const auto execucao = Rodar(argumentos);

    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    const std::string cabecalho = "Chapa       Nome                                      Data         Número  "
                                  "      Valor (R$)  Situação";
    EXPECT_EQ(execucao.Saida,
              "Empresa 1\n" + cabecalho + "\n" +
                  "0000004521  CLIENTE EXEMPLO                           05/03/2024     1893          1.234,50  \n" +
                  "0000000020  ?ucéa                                     05/03/2024        7             10,00  o "
                  "nome tem caractere que a página de código 1252 não tem: vai com \"?\"\n"
                  "2 lançamentos, total R$ 1.244,50; 1 nome vai com \"?\"\nEmpresa 2\n" +
                  cabecalho + "\n" +
                  "77          OUTRA EMPRESA                             2024-03-05 14:22:00      12A             "
                  "10.00  Lançamento 12A: '12A' is not a valid integer value\n"
                  "0 lançamentos, total R$ 0,00; 1 lançamento não pode ir para o arquivo\n");
    EXPECT_EQ(NomesNaPasta(FDestino), std::vector<std::string>{});
    EXPECT_EQ(NomesNaPasta(FPasta.Sistema()).size(), 3u) << "no record beside the program and its settings";
    argumentos.insert(argumentos.end(), {"--de", "2024-04-01", "--ate", "2024-04-30"});
    const auto nada = Rodar(argumentos);
    EXPECT_EQ(nada.Status, 3);
    EXPECT_EQ(nada.Saida, "Empresa 1\nEmpresa 2\n");
}

// What changed since a file was sent, for a script: the summary and a line per difference; 0 when nothing did.
TEST_F(TesteComandoExportacao, Comparar_PrintsTheSummaryAndEachDifference_ExitsFourWhenSomethingChanged) {
    InserirExemplo();
    ASSERT_EQ(Rodar(Completo()).Status, 0);
    const std::string arquivo = Texto(FDestino / "dados.txt");
    const auto igual = Rodar({"--comparar", arquivo});
    EXPECT_EQ(igual.Status, 0) << igual.Erro;
    EXPECT_EQ(DividirLinhas(igual.Saida).size(), 5u) << igual.Saida;
    Inserir({{.numlanc = "'77'", .valortotal = "5.00"}});
    const auto mudou = Rodar({"--comparar", arquivo});
    EXPECT_EQ(mudou.Status, 4) << mudou.Erro;
    const auto linhas = DividirLinhas(mudou.Saida);
    ASSERT_EQ(linhas.size(), 6u) << mudou.Saida;
    EXPECT_EQ(linhas[3], "Novos: 1 lançamento, R$ 5,00.");
    EXPECT_EQ(linhas[4], "Em aberto agora: 2 lançamentos, R$ 1.239,50 (iguais ao enviado: 1).");
    EXPECT_EQ(linhas[5], "novo\t0000004521\tCLIENTE EXEMPLO\t05/03/2024\t77\t\t5.00\t");
    // Only the new posting goes, and nothing when nothing is new.
    auto novos = Completo("novos");
    novos.push_back("--somente-novos");
    const auto soNovos = Rodar(novos);
    EXPECT_EQ(soNovos.Status, 0) << soNovos.Erro;
    EXPECT_EQ(LerBinario(FDestino / "novos.txt"),
              "070000004521CLIENTE EXEMPLO                         0503202400007701000000000500\r\n");
    EXPECT_TRUE(THistoricoExportacao::Ler().Registros.back().SomenteNovos) << "recorded as a file of new postings";
    EXPECT_EQ(Rodar(novos).Status, 3);
    EXPECT_EQ(Rodar({"--comparar", Texto(FDestino / "outro.txt")}).Status, 1) << "not in the record";
    EXPECT_EQ(Rodar({"--comparar", arquivo, "--arquivo", "x"}).Status, 2);
}

TEST_F(TesteComandoExportacao, ValuesThatFailTheChecks_ExitTwoWithTheWindowsTexts) {
    InserirExemplo();
    using enum TCampoExportacao;
    const std::string pasta = TextosVerificacao.at(Diretorio);
    const std::string inexistente = Texto(FDestino / "nova");
    const std::string comoData = " Informe a data como AAAA-MM-DD.";
    const std::string de = TextosVerificacao.at(DataInicial) + comoData;
    std::vector<std::vector<std::string>> casos = {
        {"--diretorio", "  ", pasta},
        {"--diretorio", inexistente, "O Diretório \"" + IncluirSeparador(inexistente) + "\" não existe."},
        {"--de", "2024-02-30", de},
        {"--de", "01/03/2024", de},
        {"--ate", "2024-3-31", TextosVerificacao.at(DataFinal) + comoData},
        {"--empresa", "0", TextosVerificacao.at(Empresa)},
        {"--empresa", "-4", TextosVerificacao.at(Empresa)},
        {"--arquivo", " \t ", TextosVerificacao.at(NomeArquivo)},
        {"--cod-torvane", "0", TextosVerificacao.at(CodTorvane)},
        {"--cod-torvane", "100", TextosVerificacao.at(CodTorvane)},
        {"--arquivo", "x.txt/../../alvo.conf", TextoNomeComPasta("x.txt/../../alvo.conf")},
        {"--arquivo", "..", TextoNomeComPasta("..")},
        {"--perfil", "-3", PerfilInexistente("-3", " (o arquivo não existe)")},
        {"--perfil", "1", PerfilInexistente("1", " (o arquivo não existe)")},
    };
#ifdef _WIN32
    casos.push_back({"--arquivo", "nul",
                     "O nome do arquivo \"nul\" não é válido: o Windows reserva esse nome para um "
                     "dispositivo (CON, PRN, AUX, NUL, COM1 a COM9 e LPT1 a LPT9, com ou sem "
                     "extensão)."});
    casos.push_back({"--arquivo", "a?.txt",
                     "O nome do arquivo \"a?.txt\" não é válido: o Windows não aceita os "
                     "caracteres < > : \" / \\ | ? * num nome de arquivo."});
#endif
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso[0] + " " + caso[1]);
        auto argumentos = Completo();
        argumentos.insert(argumentos.end(), {caso[0], caso[1]});
        const auto execucao = Rodar(argumentos);
        EXPECT_EQ(execucao.Status, 2);
        std::string esperado = caso[2];
        if (const auto lugar = esperado.find("{perfis}"); lugar != std::string::npos)
            esperado.replace(lugar, 8, Texto(FPasta.Sistema() / "PerfilTorvane.txt"));
        EXPECT_EQ(execucao.Erro, esperado + "\n");
        EXPECT_EQ(execucao.Saida, "");
    }
    // No settings and no folder given: the folder is asked for first.
    const auto execucao = Rodar({"--arquivo", "x"});
    EXPECT_EQ(execucao.Status, 2);
    EXPECT_EQ(execucao.Erro, pasta + "\n");
    // Nothing was written, and the missing folder was not created.
    EXPECT_TRUE(NomesNaPasta(FDestino).empty());
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(TesteComandoExportacao, Numbers_AreDecimalWithLeadingZeros_AndAProfileMustExist) {
    InserirExemplo();
    GravarBinario(FPasta.Sistema() / "PerfilTorvane.txt", ArquivoDePerfis({P("Bebidas") + "(10)"}));
    auto argumentos = Completo();
    argumentos[11] = "0001";
    argumentos[13] = "010";
    argumentos.insert(argumentos.end(), {"--perfil", "01"});
    const auto execucao = Rodar(argumentos);
    EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), "10" + LinhaExemplo.substr(2));

    argumentos.back() = "2";
    const auto semPerfil = Rodar(argumentos);
    EXPECT_EQ(semPerfil.Status, 2);
    EXPECT_EQ(semPerfil.Erro, "O perfil 2 não existe no arquivo de perfis " +
                                  Texto(FPasta.Sistema() / "PerfilTorvane.txt") +
                                  ". Informe a linha de um perfil do arquivo, ou 0 para todos os grupos.\n");
}

TEST_F(TesteComandoExportacao, ResultLineOrRecordThatCannotBeWritten_ExitsOneWithTheFileInPlace) {
    InserirExemplo();
#ifndef _WIN32
    // Windows has no device that refuses every write, as /dev/full does.
    FSaidaPadrao = "/dev/full";
    const auto execucao = Rodar(Completo());
    EXPECT_EQ(execucao.Status, 1);
    EXPECT_NE(execucao.Erro.find("não foi possível escrever o resultado na saída padrão"), std::string::npos)
        << execucao.Erro;
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), LinhaExemplo);
    FSaidaPadrao.clear();
#endif

    // A folder in the record's place: the export is done, but the run says why it is not in the record.
    std::filesystem::remove(FPasta.Sistema() / "HistoricoExportacao.csv");
    std::filesystem::create_directory(FPasta.Sistema() / "HistoricoExportacao.csv");
    std::filesystem::remove(FDestino / "dados.txt");
    const auto semRegistro = Rodar(Completo());
    EXPECT_EQ(semRegistro.Status, 1);
    EXPECT_EQ(semRegistro.Saida, Texto(FDestino / "dados.txt") + "\t1\t1234.50\n");
    EXPECT_NE(semRegistro.Erro.find("O arquivo foi gerado, mas não foi registrado no histórico de exportações: "),
              std::string::npos)
        << semRegistro.Erro;
    EXPECT_EQ(LerBinario(FDestino / "dados.txt"), LinhaExemplo);

    // The same for the copy of the file sent, whose folder cannot be made.
    std::filesystem::remove(FPasta.Sistema() / "HistoricoExportacao.csv");
    std::filesystem::remove_all(FPasta.Sistema() / "ArquivosEnviados");
    GravarBinario(FPasta.Sistema() / "ArquivosEnviados", "");
    const auto semCopia = Rodar(Completo());
    EXPECT_EQ(semCopia.Status, 1);
    EXPECT_EQ(semCopia.Saida, Texto(FDestino / "dados.txt") + "\t1\t1234.50\n");
    EXPECT_NE(semCopia.Erro.find("O arquivo foi gerado, mas a cópia do arquivo enviado não pôde ser guardada: "),
              std::string::npos)
        << semCopia.Erro;
}

TEST_F(TesteComandoExportacao, BadCommandLine_ExitsTwoSayingWhyInPortugueseAndHelpExitsZero) {
    const std::string sobra = "Argumento não esperado: ";
    const std::string junto = " não pode ser usado com ";
    const std::vector<std::pair<std::vector<std::string>, std::string>> casos = {
        {{}, "Falta a opção --arquivo."},
        {{"--diretorio", Texto(FDestino)}, "Falta a opção --arquivo."},
        {{"--arquivo", "x", "--data", "hoje"}, "--data: \"hoje\" não é um valor aceito: use lancamento ou vencimento"},
        {{"--arquivo", "x", "--empresa", "um"}, "--empresa: \"um\" não é um número inteiro decimal"},
        {{"--arquivo", "x", "--empresa", "09x"}, "--empresa: "},
        {{"--arquivo", "x", "--empresa", "0x1"}, "--empresa: "},
        {{"--arquivo", "x", "--cod-torvane", " 7"}, "--cod-torvane: "},
        {{"--arquivo", "x", "--perfil", "1.0"}, "--perfil: "},
        {{"--arquivo", "x", "--empresa", "9999999999"}, "--empresa: "},
        {{"--arquivo", "x", "--perfil"}, "--perfil: falta o valor"},
        {{"--arquivo="}, "--arquivo: falta o valor"},
        {{"--arquivo", "x", "--desconhecida"}, sobra + "--desconhecida"},
        {{"--arquivo", "x", "sobra"}, sobra + "sobra"},
        {{"--arquivo", "x", "sobra", "outra"}, "Argumentos não esperados: sobra outra"},
        {{"--conferir", "a", "--diretorio", "b"}, "--diretorio" + junto + "--conferir"},
        {{"--embaralhar-senha", "--arquivo", "x"}, "--arquivo" + junto + "--embaralhar-senha"},
        {{"--conferir", "a", "--embaralhar-senha"}, "--conferir" + junto + "--embaralhar-senha"}};
    for (const auto& [argumentos, inicio] : casos) {
        const auto execucao = Rodar(argumentos);
        EXPECT_EQ(execucao.Status, 2) << execucao.Erro;
        EXPECT_EQ(execucao.Erro.rfind(inicio, 0), 0u) << execucao.Erro;
        EXPECT_TRUE(execucao.Erro.ends_with("\nUse --help para ver as opções.\n")) << execucao.Erro;
        EXPECT_EQ(execucao.Saida, "");
    }
    // A decimal number too large is said to be so, with the largest value the option takes.
    EXPECT_EQ(Rodar({"--arquivo", "x", "--cod-torvane", "99999999999"})
                  .Erro.rfind("--cod-torvane: \"99999999999\" é grande demais: o maior valor aceito é 2147483647\n", 0),
              0u);
    const auto ajuda = Rodar({"--help"});
    EXPECT_EQ(ajuda.Status, 0);
    for (const char* texto :
         {"Uso: torvane-export [OPÇÕES]\n", "\nOpções:\n", "--diretorio", "--arquivo", "--data", "--de", "--ate",
          "--perfil", "--empresa", "--cod-torvane", "--embaralhar-senha", "--help"})
        EXPECT_NE(ajuda.Saida.find(texto), std::string::npos) << texto;
    for (const char* ingles : {"Usage", "Options", "OPTIONS", "Excludes", "REQUIRED", "TEXT"})
        EXPECT_EQ(ajuda.Saida.find(ingles), std::string::npos) << ingles;
    EXPECT_EQ(ajuda.Erro, "");
}

TEST_F(TesteComandoExportacao, EmbaralharSenha_PrintsTheStoredFormThatTheConnectionReadsBack) {
    const auto senha = [&](const std::string& entrada) {
        FEntrada = FSaidas.Sistema() / "entrada";
        GravarBinario(FEntrada, entrada);
        return Rodar({"--embaralhar-senha"});
    };
    // Typed in the terminal's encoding (UTF-8 here), stored in code page 1252; the line end is not the password's.
    for (const auto& [entrada, esperada] :
         std::vector<std::pair<std::string, std::string>>{{Servidor().Senha + "\n", Servidor().Senha},
                                                          {"pão ÿ€\r\n", "p\xE3o \xFF\x80"},
                                                          {"sem fim de linha", "sem fim de linha"},
                                                          {std::string(1022, 'x') + "\n", std::string(1022, 'x')},
                                                          {"\n", ""}}) {
        const auto execucao = senha(entrada);
        EXPECT_EQ(execucao.Status, 0) << execucao.Erro;
        EXPECT_EQ(execucao.Erro, "");
        ASSERT_TRUE(execucao.Saida.ends_with("\n")) << execucao.Saida;
        const std::string forma = execucao.Saida.substr(0, execucao.Saida.size() - 1);
        EXPECT_EQ(forma.size(), esperada.empty() ? 0u : 2 + 2 * esperada.size()) << forma;
        GravarBinario(FPasta.Sistema() / "sistema_qor.ini", "[ip]\r\nsenha=" + forma + "\r\n");
        EXPECT_EQ(TDao::LerParametrosConexao("", "ip").Senha, esperada) << forma;
    }
    // The stored form is what the program reads: it connects.
    GravarSistemaQorIni();
    TIniFile(FPasta.Sistema() / "sistema_qor.ini")
        .GravarTexto("ip", "senha", DividirLinhas(senha(Servidor().Senha + "\n").Saida).at(0));
    EXPECT_NE(TDao::Conectar("", "ip"), nullptr);

    for (const auto& [entrada, motivo] : std::vector<std::pair<std::string, std::string>>{
             {"", "Nenhuma senha na entrada padrão.\n"},
             {"łódź\n", "A senha tem caracteres que o código de página 1252 não tem"},
             {"\xE3\n", "A senha tem caracteres que o código de página 1252 não tem"}}) {
        const auto execucao = senha(entrada);
        EXPECT_EQ(execucao.Status, 1);
        EXPECT_EQ(execucao.Erro.rfind(motivo, 0), 0u) << execucao.Erro;
        EXPECT_EQ(execucao.Saida, "");
    }
    // One character more and the file would give back another password: refused as a value the option cannot take.
    const auto longa = senha(std::string(1023, 'x') + "\n");
    EXPECT_EQ(longa.Status, 2);
    EXPECT_EQ(longa.Erro, "A senha tem 1.023 caracteres, e o sistema_qor.ini só devolve inteira uma senha de até 1.022 "
                          "caracteres.\n");
    EXPECT_EQ(longa.Saida, "");
}
