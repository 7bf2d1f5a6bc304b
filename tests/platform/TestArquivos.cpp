#include "TestDb.h"

#include "UArquivos.h"
#include "UCp1252.h"
#include "UErro.h"
#include "UPastaPrograma.h"

#include <gtest/gtest.h>

#include <system_error>

namespace {

std::string MotivoSistema(std::errc erro) {
    return Utf8ParaCp1252(std::generic_category().message(static_cast<int>(erro)));
}

std::vector<std::string> NomesNaPasta(const std::filesystem::path& pasta) {
    std::vector<std::string> nomes;
    for (const auto& entrada : std::filesystem::directory_iterator(pasta))
        nomes.push_back(entrada.path().filename().string());
    std::sort(nomes.begin(), nomes.end());
    return nomes;
}

struct TCasoLinhas {
    std::string Texto;
    std::vector<std::string> Linhas;
};

void PrintTo(const TCasoLinhas& caso, std::ostream* saida) {
    *saida << ::testing::PrintToString(caso.Texto);
}

class TesteDividirLinhas : public ::testing::TestWithParam<TCasoLinhas> {};

TEST_P(TesteDividirLinhas, DividirLinhas_SplitsAtCrLfCrOrLf) {
    EXPECT_EQ(DividirLinhas(GetParam().Texto), GetParam().Linhas);
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteDividirLinhas,
                         ::testing::Values(TCasoLinhas{"", {}}, TCasoLinhas{"a", {"a"}},
                                           TCasoLinhas{"a\r\nb", {"a", "b"}}, TCasoLinhas{"a\r\nb\r\n", {"a", "b"}},
                                           TCasoLinhas{"a\rb\r", {"a", "b"}}, TCasoLinhas{"a\nb\n", {"a", "b"}},
                                           TCasoLinhas{"a\rb\nc\r\nd", {"a", "b", "c", "d"}}, TCasoLinhas{"\r\n", {""}},
                                           TCasoLinhas{"a\r\n\r\n", {"a", ""}}, TCasoLinhas{"a\n\rb", {"a", "", "b"}},
                                           TCasoLinhas{"a\r\r\nb", {"a", "", "b"}},
                                           TCasoLinhas{std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}}));

class TesteArquivos : public ::testing::Test {
protected:
    std::string Caminho(const std::string& nome) const { return FPasta.Caminho() + nome; }
    TPastaTemporaria FPasta;
};

TEST_F(TesteArquivos, LerLinhas_ReadsFileAsLines) {
    GravarBinario(FPasta.Sistema() / "linhas.txt", "um\r\ndois\rtr\xEAs\nquatro");
    EXPECT_EQ(LerLinhas(Caminho("linhas.txt")), (std::vector<std::string>{"um", "dois", "tr\xEAs", "quatro"}));
}

TEST_F(TesteArquivos, LerArquivo_MissingFile_FailsWithPathAndReason) {
    try {
        LerArquivo(Caminho("falta.txt"));
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()), "Cannot open file \"" + Caminho("falta.txt") + "\". " +
                                                MotivoSistema(std::errc::no_such_file_or_directory));
    }
}

TEST_F(TesteArquivos, GravarLinhas_WritesCrLfAfterEachLine) {
    GravarLinhas(Caminho("saida.txt"), {"um", "", "tr\xEAs"});
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "saida.txt"), "um\r\n\r\ntr\xEAs\r\n");
    GravarLinhas(Caminho("saida.txt"), {});
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "saida.txt"), "");
}

TEST_F(TesteArquivos, NameInCodePage1252_IsTheSystemsUtf8Name) {
    GravarLinhas(Caminho("a\xE7\xE3o.txt"), {"x"});
    EXPECT_TRUE(std::filesystem::exists(FPasta.Sistema() / std::filesystem::path(u8"ação.txt")));
    EXPECT_TRUE(ArquivoExiste(Caminho("a\xE7\xE3o.txt")));
    EXPECT_EQ(LerLinhas(Caminho("a\xE7\xE3o.txt")), std::vector<std::string>{"x"});
}

TEST_F(TesteArquivos, ArquivoExiste_DiretorioExiste_CriarDiretorio) {
    EXPECT_FALSE(DiretorioExiste(Caminho("nova")));
    EXPECT_TRUE(CriarDiretorio(Caminho("nova")));
    EXPECT_TRUE(DiretorioExiste(Caminho("nova")));
    EXPECT_FALSE(ArquivoExiste(Caminho("nova")));
    EXPECT_FALSE(CriarDiretorio(Caminho("falta") + "/nivel2"));
    GravarBinario(FPasta.Sistema() / "f.txt", "x");
    EXPECT_TRUE(ArquivoExiste(Caminho("f.txt")));
    EXPECT_FALSE(DiretorioExiste(Caminho("f.txt")));
}

TEST_F(TesteArquivos, ArquivoSeguro_Confirmed_ReplacesFileAndLeavesNothingElse) {
    GravarBinario(FPasta.Sistema() / "alvo.txt", "antigo conteudo mais longo");
    {
        TArquivoSeguro arquivo(Caminho("alvo.txt"));
        arquivo.Escrever("novo");
        arquivo.Escrever(std::string("\0\xFF", 2));
        arquivo.Confirmar();
    }
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "alvo.txt"), std::string("novo\0\xFF", 6));
    EXPECT_EQ(NomesNaPasta(FPasta.Sistema()), std::vector<std::string>{"alvo.txt"});
}

TEST_F(TesteArquivos, ArquivoSeguro_NotConfirmed_LeavesExistingFileAlone) {
    GravarBinario(FPasta.Sistema() / "alvo.txt", "antigo");
    {
        TArquivoSeguro arquivo(Caminho("alvo.txt"));
        arquivo.Escrever("novo");
    }
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "alvo.txt"), "antigo");
    EXPECT_EQ(NomesNaPasta(FPasta.Sistema()), std::vector<std::string>{"alvo.txt"});
}

TEST_F(TesteArquivos, ArquivoSeguro_FailureWhileWriting_LeavesExistingFileAlone) {
    GravarBinario(FPasta.Sistema() / "alvo.txt", "antigo");
    try {
        TArquivoSeguro arquivo(Caminho("alvo.txt"));
        arquivo.Escrever("metade");
        throw EFalha("falha no meio");
    } catch (const EFalha&) {
    }
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "alvo.txt"), "antigo");
    EXPECT_EQ(NomesNaPasta(FPasta.Sistema()), std::vector<std::string>{"alvo.txt"});
}

TEST_F(TesteArquivos, ArquivoSeguro_NotConfirmed_CreatesNoFile) {
    {
        TArquivoSeguro arquivo(Caminho("novo.txt"));
        arquivo.Escrever("x");
    }
    EXPECT_TRUE(NomesNaPasta(FPasta.Sistema()).empty());
}

TEST_F(TesteArquivos, ArquivoSeguro_ReplaceFails_FailsAndRemovesTemporaryFile) {
    TArquivoSeguro arquivo(Caminho("alvo.txt"));
    arquivo.Escrever("novo");
    // Something else takes the name before the file is confirmed.
    std::filesystem::create_directories(FPasta.Sistema() / "alvo.txt" / "ocupada");
    try {
        arquivo.Confirmar();
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()).rfind("Cannot create file \"" + Caminho("alvo.txt") + "\". ", 0), 0u)
            << erro.what();
    }
    EXPECT_EQ(NomesNaPasta(FPasta.Sistema()), std::vector<std::string>{"alvo.txt"});
    EXPECT_TRUE(std::filesystem::is_directory(FPasta.Sistema() / "alvo.txt" / "ocupada"));
}

struct TCasoDestinoInvalido {
    const char* Nome;
    std::errc Motivo;
};

void PrintTo(const TCasoDestinoInvalido& caso, std::ostream* saida) {
    *saida << caso.Nome;
}

class TesteArquivoSeguroDestino : public TesteArquivos, public ::testing::WithParamInterface<TCasoDestinoInvalido> {};

TEST_P(TesteArquivoSeguroDestino, ArquivoSeguro_UnwritableTarget_FailsAtOnceWithPathAndReason) {
    std::filesystem::create_directory(FPasta.Sistema() / "pasta");
    GravarBinario(FPasta.Sistema() / "arquivo", "x");
    const std::string caminho = Caminho(GetParam().Nome);
    try {
        TArquivoSeguro arquivo(caminho);
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()),
                  "Cannot create file \"" + caminho + "\". " + MotivoSistema(GetParam().Motivo));
    }
    EXPECT_EQ(NomesNaPasta(FPasta.Sistema()), (std::vector<std::string>{"arquivo", "pasta"}));
    EXPECT_TRUE(std::filesystem::is_empty(FPasta.Sistema() / "pasta"));
}

INSTANTIATE_TEST_SUITE_P(Casos, TesteArquivoSeguroDestino,
                         ::testing::Values(TCasoDestinoInvalido{"falta/saida.txt",
                                                                std::errc::no_such_file_or_directory},
                                           TCasoDestinoInvalido{"arquivo/saida.txt", std::errc::not_a_directory},
                                           TCasoDestinoInvalido{"pasta", std::errc::is_a_directory}));

TEST(TestePastaPrograma, PastaPrograma_IsFolderOfRunningProgram) {
    DefinirPastaPrograma("");
    const std::string pasta = PastaPrograma();
    ASSERT_FALSE(pasta.empty());
    EXPECT_EQ(pasta.back(), SeparadorPasta());
#ifdef _WIN32
    EXPECT_TRUE(ArquivoExiste(pasta + "test_platform.exe")) << pasta;
#else
    EXPECT_TRUE(ArquivoExiste(pasta + "test_platform")) << pasta;
#endif
}

TEST(TestePastaPrograma, DefinirPastaPrograma_PointsElsewhereUntilCleared) {
    const std::string real = PastaPrograma();
    DefinirPastaPrograma("/tmp/outra");
    EXPECT_EQ(PastaPrograma(), std::string("/tmp/outra") + SeparadorPasta());
    DefinirPastaPrograma(std::string("/tmp/outra") + SeparadorPasta());
    EXPECT_EQ(PastaPrograma(), std::string("/tmp/outra") + SeparadorPasta());
    DefinirPastaPrograma("");
    EXPECT_EQ(PastaPrograma(), real);
}

} // namespace
