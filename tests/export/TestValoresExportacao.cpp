#include "support/TestDb.h"

#include "dao/UDao.h"
#include "export/UDados.h"
#include "export/UValoresExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UPastaPrograma.h"
#include "platform/UProcesso.h"

#include <cstdlib>
#include <filesystem>

TEST(TesteCompletarNomeArquivo, AppendsTxtOnlyWhereTheRuleSays) {
    const std::vector<std::pair<std::string, std::string>> casos = {{"abc", "abc.txt"},
                                                                    {"abcd", "abcd.txt"},
                                                                    {"x.tx", "x.tx.txt"},
                                                                    {"Dados.TXT", "Dados.TXT"},
                                                                    {"a.txt.bak", "a.txt.bak"},
                                                                    {".txt", ".txt"},
                                                                    {".TxT", ".TxT"},
                                                                    {" ab", " ab.txt"},
                                                                    {"", ".txt"},
                                                                    {"txt", "txt.txt"},
                                                                    {"RELATÓRIO.TXT", "RELATÓRIO.TXT"},
                                                                    {"relatório_ł", "relatório_ł.txt"}};
    for (const auto& [digitado, passado] : casos)
        EXPECT_EQ(CompletarNomeArquivo(digitado), passado) << digitado;
}

class TesteValoresExportacao : public TTestePasta {
protected:
    std::filesystem::path Ini() const { return FPasta.Sistema() / "ExportacaoKOTR.ini"; }
    static std::vector<int> Numeros(const TValoresExportacao& v) { return {v.Empresa, v.CodTorvane, v.TipoData}; }
};

TEST_F(TesteValoresExportacao, Ler_ReadsSectionQorAndFallsBackOnWhatIsMissingOrNotAWholeNumber) {
    EXPECT_EQ(TValoresExportacao::ArquivoConfiguracoes(), FPasta.Caminho() + "ExportacaoKOTR.ini");
    const auto padrao = TValoresExportacao::Ler();
    EXPECT_EQ(padrao.Diretorio, "");
    EXPECT_EQ(Numeros(padrao), (std::vector<int>{0, 0, 0}));

    GravarBinario(Ini(), "[outra]\r\nEmpresa=9\r\n[qor]\r\ndiretorio= C:\\Sa\xED"
                         "da \r\nEMPRESA=12\r\nCodTorvane=7x\r\nTipoData=2\r\n");
    const auto valores = TValoresExportacao::Ler();
    EXPECT_EQ(valores.Diretorio, CaminhoDeUtf8("C:\\Saída"));
    EXPECT_EQ(Numeros(valores), (std::vector<int>{12, 0, 2}));
}

TEST_F(TesteValoresExportacao, Gravar_WritesTheFourKeysInOrderAndKeepsOtherSections) {
    GravarBinario(Ini(), "[Outra]\r\nChave=1\r\n");
    TValoresExportacao valores;
    valores.Diretorio = "/saida ";
    valores.Empresa = 3;
    valores.CodTorvane = 123;
    valores.TipoData = 5;
    valores.Gravar();

    EXPECT_EQ(Numeros(TValoresExportacao::Ler()), (std::vector<int>{3, 123, 1}));
    const std::string texto = LerBinario(Ini());
    EXPECT_NE(texto.find("[Outra]\r\nChave=1\r\n"), std::string::npos) << texto;
    EXPECT_LT(texto.find("Diretorio="), texto.find("Empresa="));
    EXPECT_LT(texto.find("Empresa="), texto.find("CodTorvane="));
    EXPECT_LT(texto.find("CodTorvane="), texto.find("TipoData="));

    std::filesystem::remove(Ini());
    std::filesystem::create_directory(Ini());
    EXPECT_THROW(valores.Gravar(), EFalha);
}

TEST(TesteNomeArquivo, ProblemaNomeArquivo_ANameThatReachesAnotherFolderIsRefused) {
    for (const char* nome : {"dados", "relatório_ł", "a.b.txt", "...", " .. ", "-x"})
        EXPECT_EQ(ProblemaNomeArquivo(nome), "") << nome;
    const std::string pasta = "informe só o nome do arquivo, sem pasta";
    std::vector<std::pair<std::string, std::string>> casos = {
        {"x.txt/../../victim.conf", pasta}, {"/tmp/dados", pasta}, {"pasta/", pasta}, {".", pasta}, {"..", pasta}};
#ifdef _WIN32
    // Windows also keeps names for its devices, with any extension, and refuses more characters and the end.
    const std::string dispositivo = "o Windows reserva esse nome para um dispositivo";
    const std::string caracteres = "o Windows não aceita os caracteres < > : \" / \\ | ? *";
    const std::string final = "o Windows não aceita um nome que termine em ponto ou espaço";
    casos.insert(casos.end(), {{"..\\dados", pasta},
                               {"C:dados", pasta},
                               {"CON", dispositivo},
                               {"nul.txt", dispositivo},
                               {"Com1", dispositivo},
                               {"LPT9.tar.gz", dispositivo},
                               {"aux .txt", dispositivo},
                               {"a<b", caracteres},
                               {"a>b", caracteres},
                               {"a\"b", caracteres},
                               {"a|b", caracteres},
                               {"a?", caracteres},
                               {"*.txt", caracteres},
                               {"a\tb", caracteres},
                               {"dados.txt.", final},
                               {"Dados.TXT ", final}});
    // Judged as written: "dados." and "abc " become "dados..txt" and "abc .txt".
    for (const char* nome : {"COM0", "COM10", "LPT", "CONSOLE", "nula.txt", "dados.txt.x", "dados.", "abc "})
        EXPECT_EQ(ProblemaNomeArquivo(nome), "") << nome;
#endif
    for (const auto& [nome, motivo] : casos)
        EXPECT_EQ(ProblemaNomeArquivo(nome).rfind(
                      TextoAnsi("O nome do arquivo \"") + nome + TextoAnsi("\" não é válido: " + motivo), 0),
                  0u)
            << nome << ": " << ProblemaNomeArquivo(nome);
}

// Where the settings live, with the user's folders pointed into a temporary folder through the variables
// the system sets: HOME on Linux, APPDATA and ProgramData on Windows.
class TestePastasConfiguracao : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* nome : {"HOME", "XDG_CONFIG_HOME", "APPDATA", "ProgramData"})
            FAmbiente.emplace_back(nome, LerAmbiente(nome).value_or(""));
        DefinirPastaPrograma(Programa());
#ifdef _WIN32
        DefinirPastasConfiguracao({}, {});
        DefinirAmbiente("APPDATA", CaminhoUtf8(Casa() / "Roaming"));
        DefinirAmbiente("ProgramData", CaminhoUtf8(FPasta.Sistema() / "ProgramData"));
#else
        DefinirPastasConfiguracao({}, Sistema());
        DefinirAmbiente("HOME", CaminhoUtf8(Casa()));
        DefinirAmbiente("XDG_CONFIG_HOME", "");
#endif
        std::filesystem::create_directories(Programa());
    }
    void TearDown() override {
        for (const auto& [nome, valor] : FAmbiente)
            DefinirAmbiente(nome, valor);
        RestaurarPastas();
    }
#ifdef _WIN32
    std::filesystem::path Programa() const {
        return FPasta.Sistema() / "Arquivos de Programas" / "Torvane";
    }
    std::filesystem::path Sistema() const {
        return FPasta.Sistema() / "ProgramData" / "ExportacaoTorvane";
    }
    std::filesystem::path Casa() const {
        return FPasta.Sistema() / "AppData";
    }
    std::filesystem::path Usuario() const {
        return Casa() / "Roaming" / "ExportacaoTorvane";
    }
#else
    std::filesystem::path Programa() const {
        return FPasta.Sistema() / "usr" / "bin";
    }
    std::filesystem::path Sistema() const {
        return FPasta.Sistema() / "etc" / "exportacao-torvane";
    }
    std::filesystem::path Casa() const {
        return FPasta.Sistema() / "casa";
    }
    std::filesystem::path Usuario() const {
        return Casa() / ".config" / "exportacao-torvane";
    }
#endif
    static void Gravar(const std::filesystem::path& arquivo, const std::string& texto) {
        std::filesystem::create_directories(arquivo.parent_path());
        GravarBinario(arquivo, texto);
    }
    static std::string Host() {
        return TDao::LerParametrosConexao("", "ip").Host;
    }

    TPastaTemporaria FPasta;
    std::vector<std::pair<std::string, std::string>> FAmbiente;
};

TEST_F(TestePastasConfiguracao, ConnectionSettings_ProgramFolderThenUserThenSystem) {
    EXPECT_FALSE(InstalacaoPortatil());
    EXPECT_EQ(TDao::CaminhoArquivoIni(""), Usuario() / "sistema_qor.ini") << "looked for first in the user's folder";
    EXPECT_EQ(Host(), "");
    Gravar(Sistema() / "sistema_qor.ini", "[ip]\r\nlocal=sistema\r\n");
    EXPECT_EQ(Host(), "sistema");
    Gravar(Usuario() / "sistema_qor.ini", "[ip]\r\nlocal=usuario\r\n");
    EXPECT_EQ(Host(), "usuario");
#ifndef _WIN32
    DefinirAmbiente("XDG_CONFIG_HOME", CaminhoUtf8(FPasta.Sistema() / "xdg"));
    EXPECT_EQ(Host(), "sistema") << "XDG_CONFIG_HOME names the user's folder";
    Gravar(FPasta.Sistema() / "xdg" / "exportacao-torvane" / "sistema_qor.ini", "[ip]\r\nlocal=xdg\r\n");
    EXPECT_EQ(Host(), "xdg");
    DefinirAmbiente("XDG_CONFIG_HOME", "relativa");
    EXPECT_EQ(Host(), "usuario") << "a relative XDG_CONFIG_HOME is ignored";
#endif
    Gravar(Programa() / "sistema_qor.ini", "[ip]\r\nlocal=portatil\r\n");
    EXPECT_TRUE(InstalacaoPortatil());
    EXPECT_EQ(Host(), "portatil");
    EXPECT_EQ(PastasConexao(), std::vector<std::filesystem::path>{Programa()});
}

TEST_F(TestePastasConfiguracao, Installed_ValuesAndProfilesGoToTheUsersFolderMadeOnTheFirstWrite) {
    Gravar(Sistema() / "sistema_qor.ini", "[ip]\r\n");
    TValoresExportacao valores;
    valores.Diretorio = CaminhoDeUtf8("/saída/relatório_ł");
    valores.Empresa = 4;
    valores.Gravar();
    EXPECT_TRUE(ArquivoExiste(Usuario() / "ExportacaoKOTR.ini"));
    EXPECT_EQ(TValoresExportacao::Ler().Diretorio, valores.Diretorio);
    EXPECT_EQ(TValoresExportacao::Ler().Empresa, 4);
    GravarBinario(TDadosExportacao::ArquivoPerfis(), "Todos\r\n" + P("Bebidas") + "(10)\r\n");
    EXPECT_EQ(TDadosExportacao::ArquivoPerfis(), Usuario() / "PerfilTorvane.txt");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(1), "(10)");
    EXPECT_TRUE(NomesNaPasta(Programa()).empty()) << "nothing is ever written beside an installed program";
    EXPECT_EQ(NomesNaPasta(Sistema()), std::vector<std::string>{"sistema_qor.ini"});

    // A user's folder that cannot be made is said plainly.
    std::filesystem::remove_all(Casa());
    GravarBinario(Casa(), "um arquivo onde a pasta deveria estar");
    const std::string falha = TextoDaFalha([&] { valores.Gravar(); });
    EXPECT_EQ(
        falha.rfind(TextoAnsi("Não foi possível criar a pasta de configurações \"") + CaminhoMensagem(Usuario()), 0),
        0u)
        << falha;
}

TEST_F(TestePastasConfiguracao, Portable_AllThreeFilesBesideTheProgram) {
    Gravar(Programa() / "sistema_qor.ini", "[ip]\r\n");
    Gravar(Usuario() / "sistema_qor.ini", "[ip]\r\nlocal=usuario\r\n");
    TValoresExportacao valores;
    valores.CodTorvane = 7;
    valores.Gravar();
    EXPECT_EQ(TValoresExportacao::ArquivoConfiguracoes(), Programa() / "ExportacaoKOTR.ini");
    EXPECT_EQ(TDadosExportacao::ArquivoPerfis(), Programa() / "PerfilTorvane.txt");
    EXPECT_EQ(NomesNaPasta(Programa()), (std::vector<std::string>{"ExportacaoKOTR.ini", "sistema_qor.ini"}));
    EXPECT_EQ(NomesNaPasta(Usuario()), std::vector<std::string>{"sistema_qor.ini"});
}
