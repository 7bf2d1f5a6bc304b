#include "support/TestDb.h"

#include "export/UDados.h"
#include "platform/UCp1252.h"
#include "platform/UPastaPrograma.h"

#include <filesystem>
#include <vector>

namespace {

const std::string Todos = P("Todos os Grupos");
const std::string Descricao = P("Bebidas");

// The profile file needs no database: a temporary folder stands in as the program's folder.
class TestePerfis : public TTestePasta {
protected:
    std::filesystem::path Arquivo() const { return FPasta.Sistema() / "PerfilTorvane.txt"; }
    void Gravar(const std::string& conteudo) const { GravarBinario(Arquivo(), conteudo); }
};

} // namespace

TEST_F(TestePerfis, GruposDoPerfil_ReadsTheListAfterTheDescriptionAfreshEachTime) {
    EXPECT_EQ(TDadosExportacao::ArquivoPerfis(), FPasta.Sistema() / "PerfilTorvane.txt");
    struct TCaso {
        std::string conteudo;
        int linha;
        std::string grupos;
    };
    for (const auto& caso :
         std::vector<TCaso>{{ArquivoDePerfis({Descricao + "(12,15,40)"}), 1, "(12,15,40)"},
                            {ArquivoDePerfis({Descricao + " \t (12) \t"}), 1, "(12)"},
                            {ArquivoDePerfis({Descricao}), 1, ""},
                            {ArquivoDePerfis({"Curto"}), 1, ""},
                            {ArquivoDePerfis({"", Descricao + "(3)"}), 1, ""},
                            {ArquivoDePerfis({"", Descricao + "(3)"}), 2, "(3)"},
                            {Todos + "\r" + Descricao + "(1)\n" + Descricao + "(2)\r\n" + Descricao + "(4)", 3, "(4)"},
                            {ArquivoDePerfis({P("(1,2) 33") + "(5)"}), 1, "(5)"},
                            {ArquivoDePerfis({P(TextoAnsi("Acessórios")) + "(7,8)"}), 1, "(7,8)"},
                            {ArquivoDePerfis({Descricao + "(1) or 1=1"}), 1, "(1) or 1=1"}}) {
        SCOPED_TRACE(caso.conteudo);
        Gravar(caso.conteudo);
        EXPECT_EQ(TDadosExportacao::GruposDoPerfil(caso.linha), caso.grupos);
    }
}

TEST_F(TestePerfis, GruposDoPerfil_LineZeroOrBelowOrNoFile_GivesEmptyAndLinePastTheEndFails) {
    for (const int linha : {0, -1, 1, 7})
        EXPECT_EQ(TDadosExportacao::GruposDoPerfil(linha), "") << linha;
    // Line 0 or below never opens the file: not even a folder by its name is read.
    std::filesystem::create_directory(Arquivo());
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(0), "");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(-1), "");
    std::filesystem::remove(Arquivo());
    Gravar(Todos + "(1)\r\n" + Descricao + "(1)\r\n");
    EXPECT_EQ(TDadosExportacao::GruposDoPerfil(0), "");
    EXPECT_EQ(TextoDaFalha([] { TDadosExportacao::GruposDoPerfil(2); }), "List index out of bounds (2)");
    EXPECT_EQ(TextoDaFalha([] { TDadosExportacao::GruposDoPerfil(5); }), "List index out of bounds (5)");
    Gravar("");
    EXPECT_EQ(TextoDaFalha([] { TDadosExportacao::GruposDoPerfil(1); }), "List index out of bounds (1)");
}

TEST_F(TestePerfis, ListaGruposValida_AcceptsOnlyDecimalKeyLists) {
    for (const std::string lista : {"", "(1)", "(12,15,40)", "(007)", "(2147483648)"})
        EXPECT_TRUE(TArquivoPerfis::ListaGruposValida(lista)) << lista;
    for (const std::string lista : {"()",      "(",      ")",       "(1",         "1)",
                                    "1,2",     "(1,)",   "(,1)",    "(1,,2)",     "( 1)",
                                    "(1 )",    "(1, 2)", "(-1)",    "(+1)",       "(1.5)",
                                    "(a)",     "(1)(2)", "(1),(2)", "(1) or 1=1", "(1);drop table receber",
                                    "(1)\r\n", " (1)",   "(0x1F)",  "(1)--"})
        EXPECT_FALSE(TArquivoPerfis::ListaGruposValida(lista)) << lista;
}
