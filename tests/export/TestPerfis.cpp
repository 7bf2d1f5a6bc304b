#include "TestDb.h"

#include "UArquivos.h"
#include "UCp1252.h"
#include "UDados.h"
#include "UErro.h"
#include "UPastaPrograma.h"

#include <filesystem>
#include <vector>

namespace {

const std::string Todos = "Todos os Grupos" + std::string(45, ' ');
const std::string Descricao = "Bebidas" + std::string(53, ' ');

// The profile file needs no database: a temporary folder stands in as the program's folder.
class TestePerfis : public ::testing::Test {
protected:
    void SetUp() override { DefinirPastaPrograma(FPasta.Caminho()); }
    void TearDown() override { DefinirPastaPrograma(""); }

    std::filesystem::path Arquivo() const { return FPasta.Sistema() / "PerfilTorvane.txt"; }
    void Gravar(const std::string& conteudo) const { GravarBinario(Arquivo(), conteudo); }

    TPastaTemporaria FPasta;
};

} // namespace

TEST_F(TestePerfis, ArquivoPerfis_IsTheFileInTheProgramFolder) {
    const std::string caminho = TDadosExportacao::ArquivoPerfis();
    EXPECT_EQ(caminho, FPasta.Caminho() + SeparadorPasta() + "PerfilTorvane.txt");
    Gravar("x\r\n");
    EXPECT_TRUE(ArquivoExiste(caminho));
    EXPECT_EQ(TDadosExportacao::TamanhoDescricaoPerfil(), 60);
}

TEST_F(TestePerfis, GruposDoPerfil_ReadsTheListAfterTheDescription) {
    struct TCaso {
        const char* nome;
        std::string conteudo;
        int linha;
        std::string grupos;
    };
    const std::vector<TCaso> casos = {
        {"plain list", Todos + "\r\n" + Descricao + "(12,15,40)\r\n", 1, "(12,15,40)"},
        {"blanks and controls around the list", Todos + "\r\n" + Descricao + " \t (12) \t\r\n", 1, "(12)"},
        {"line of exactly 60 characters", Todos + "\r\n" + Descricao + "\r\n", 1, ""},
        {"line shorter than 60", Todos + "\r\nCurto\r\n", 1, ""},
        {"empty line", Todos + "\r\n\r\n" + Descricao + "(3)\r\n", 1, ""},
        {"empty line shifts later lines", Todos + "\r\n\r\n" + Descricao + "(3)\r\n", 2, "(3)"},
        {"LF only", Todos + "\n" + Descricao + "(1)\n" + Descricao + "(2)\n", 2, "(2)"},
        {"CR only", Todos + "\r" + Descricao + "(1)\r" + Descricao + "(2)\r", 2, "(2)"},
        {"mixed line ends", Todos + "\r" + Descricao + "(1)\n" + Descricao + "(2)\r\n" + Descricao + "(4)", 3, "(4)"},
        {"last line without line end", Todos + "\r\n" + Descricao + "(9)", 1, "(9)"},
        {"digits and parentheses in the description", Todos + "\r\n(1,2) 33" + std::string(52, ' ') + "(5)\r\n", 1,
         "(5)"},
        {"accented description padded by bytes",
         Todos + "\r\n" + TextoAnsi("Acessórios") + std::string(50, ' ') + "(7,8)\r\n", 1, "(7,8)"},
        {"list kept as written", Todos + "\r\n" + Descricao + "(1) or 1=1\r\n", 1, "(1) or 1=1"},
    };
    for (const auto& caso : casos) {
        Gravar(caso.conteudo);
        EXPECT_EQ(TDadosExportacao::GruposDoPerfil(caso.linha), caso.grupos) << caso.nome;
    }
}

TEST_F(TestePerfis, GruposDoPerfil_LineZeroOrBelow_NeverOpensTheFile) {
    // A folder by the file's name cannot be read as a file.
    std::filesystem::create_directory(Arquivo());
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(0), "");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(-1), "");
    std::filesystem::remove(Arquivo());
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(0), "");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(-1), "");
    // Line 0 holds the all-groups entry, whatever it carries after column 60.
    Gravar(Todos + "(1)\r\n");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(0), "");
}

TEST_F(TestePerfis, GruposDoPerfil_MissingFile_GivesEmpty) {
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(1), "");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(7), "");
}

TEST_F(TestePerfis, GruposDoPerfil_LinePastTheEnd_FailsWithTheIndexError) {
    Gravar(Todos + "\r\n" + Descricao + "(1)\r\n");
    for (const int linha : {2, 5}) {
        try {
            TDadosExportacao::GruposDoPerfil(linha);
            ADD_FAILURE() << "no failure for line " << linha;
        } catch (const EFalha& e) {
            EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(linha) + ")");
        }
    }
    Gravar("");
    EXPECT_THROW(TDadosExportacao::GruposDoPerfil(1), EFalha);
}

TEST_F(TestePerfis, GruposDoPerfil_ReadsTheFileAfreshEachTime) {
    Gravar(Todos + "\r\n" + Descricao + "(1)\r\n");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(1), "(1)");
    Gravar(Todos + "\r\n" + Descricao + "(2,3)\r\n");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(1), "(2,3)");
}

TEST_F(TestePerfis, ListaGruposValida_AcceptsOnlyDecimalKeyLists) {
    for (const std::string lista : {"", "(1)", "(12,15,40)", "(007)", "(2147483648)"})
        EXPECT_TRUE(TDadosExportacao::ListaGruposValida(lista)) << lista;
    for (const std::string lista : {"()",      "(",      ")",       "(1",         "1)",
                                    "1,2",     "(1,)",   "(,1)",    "(1,,2)",     "( 1)",
                                    "(1 )",    "(1, 2)", "(-1)",    "(+1)",       "(1.5)",
                                    "(a)",     "(1)(2)", "(1),(2)", "(1) or 1=1", "(1);drop table receber",
                                    "(1)\r\n", " (1)",   "(0x1F)",  "(1)--"})
        EXPECT_FALSE(TDadosExportacao::ListaGruposValida(lista)) << lista;
}

TEST_F(TestePerfis, GravarLinhas_ReplacesTheFileWholeWithCrLfAfterEachLine) {
    Gravar(std::string(500, 'x'));
    const std::vector<std::string> linhas = {Todos, TextoAnsi("Acessórios") + std::string(50, ' ') + "(7,8)",
                                             std::string(60, ' ')};

    GravarLinhas(TDadosExportacao::ArquivoPerfis(), linhas);

    EXPECT_EQ(LerBinario(Arquivo()), linhas[0] + "\r\n" + linhas[1] + "\r\n" + linhas[2] + "\r\n");
    EXPECT_EQ(LerLinhas(TDadosExportacao::ArquivoPerfis()), linhas);
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(1), "(7,8)");
    std::vector<std::string> nomes;
    for (const auto& item : std::filesystem::directory_iterator(FPasta.Sistema()))
        nomes.push_back(item.path().filename().string());
    EXPECT_EQ(nomes, std::vector<std::string>{"PerfilTorvane.txt"});
}

TEST_F(TestePerfis, GravarLinhas_NoLines_LeavesAnEmptyFile) {
    Gravar("antigo\r\n");
    GravarLinhas(TDadosExportacao::ArquivoPerfis(), {});
    EXPECT_EQ(LerBinario(Arquivo()), "");
    EXPECT_TRUE(LerLinhas(TDadosExportacao::ArquivoPerfis()).empty());
}
