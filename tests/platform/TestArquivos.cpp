#include "TestDb.h"

#include "UArquivos.h"
#include "UErro.h"
#include "UPastaPrograma.h"

#include <gtest/gtest.h>

namespace {

TEST(TesteDividirLinhas, DividirLinhas_SplitsAtCrLfCrOrLf) {
    using C = std::pair<std::string, std::vector<std::string>>;
    const auto casos = Casos<C>(C("", {}), C("a", {"a"}), C("a\r\nb\r\n", {"a", "b"}), C("a\rb\r", {"a", "b"}),
                                C("a\nb\n", {"a", "b"}), C("a\rb\nc\r\nd", {"a", "b", "c", "d"}), C("\r\n", {""}),
                                C("a\r\n\r\n", {"a", ""}), C("a\n\rb", {"a", "", "b"}), C("a\r\r\nb", {"a", "", "b"}),
                                C(std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}));
    for (const auto& [texto, linhas] : casos)
        EXPECT_EQ(DividirLinhas(texto), linhas) << ::testing::PrintToString(texto);
}

class TesteArquivos : public ::testing::Test {
protected:
    std::string Caminho(const std::string& nome) const { return FPasta.Caminho() + nome; }
    std::vector<std::string> Nomes() const { return NomesNaPasta(FPasta.Sistema()); }
    TPastaTemporaria FPasta;
};

TEST_F(TesteArquivos, LerLinhasGravarLinhas_CodePageNameAndCrLfAfterEachLine) {
    const std::string nome = Caminho("a\xE7\xE3o.txt");
    const auto sistema = FPasta.Sistema() / std::filesystem::path(u8"ação.txt");
    GravarBinario(sistema, "um\r\ndois\rtr\xEAs\nquatro");
    EXPECT_TRUE(ArquivoExiste(nome));
    EXPECT_EQ(LerLinhas(nome), (std::vector<std::string>{"um", "dois", "tr\xEAs", "quatro"}));
    GravarLinhas(nome, {"um", "", "tr\xEAs"});
    EXPECT_EQ(LerBinario(sistema), "um\r\n\r\ntr\xEAs\r\n");
    GravarLinhas(nome, {});
    EXPECT_EQ(LerBinario(sistema), "");
}

TEST_F(TesteArquivos, LerArquivo_MissingFile_FailsWithPathAndReason) {
    EXPECT_EQ(TextoDaFalha([&] { LerArquivo(Caminho("falta.txt")); }),
              "Cannot open file \"" + Caminho("falta.txt") + "\". " +
                  MotivoSistema(std::errc::no_such_file_or_directory));
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

TEST_F(TesteArquivos, ArquivoSeguro_ReplacesExistingFileOnlyWhenConfirmed_AndLeavesNothingElse) {
    GravarBinario(FPasta.Sistema() / "alvo.txt", "antigo conteudo mais longo");
    try {
        TArquivoSeguro arquivo(Caminho("alvo.txt"));
        arquivo.Escrever("metade");
        TArquivoSeguro novo(Caminho("novo.txt"));
        novo.Escrever("x");
        throw EFalha("falha no meio");
    } catch (const EFalha&) {
    }
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "alvo.txt"), "antigo conteudo mais longo");
    EXPECT_EQ(Nomes(), std::vector<std::string>{"alvo.txt"});
    TArquivoSeguro arquivo(Caminho("alvo.txt"));
    arquivo.Escrever("novo");
    arquivo.Escrever(std::string("\0\xFF", 2));
    arquivo.Confirmar();
    EXPECT_EQ(LerBinario(FPasta.Sistema() / "alvo.txt"), std::string("novo\0\xFF", 6));
    EXPECT_EQ(Nomes(), std::vector<std::string>{"alvo.txt"});
}

TEST_F(TesteArquivos, ArquivoSeguro_ReplaceFails_FailsAndRemovesTemporaryFile) {
    TArquivoSeguro arquivo(Caminho("alvo.txt"));
    arquivo.Escrever("novo");
    // Something else takes the name before the file is confirmed.
    std::filesystem::create_directories(FPasta.Sistema() / "alvo.txt" / "ocupada");
    const std::string erro = TextoDaFalha([&] { arquivo.Confirmar(); });
    EXPECT_EQ(erro.rfind("Cannot create file \"" + Caminho("alvo.txt") + "\". ", 0), 0u) << erro;
    EXPECT_EQ(Nomes(), std::vector<std::string>{"alvo.txt"});
    EXPECT_TRUE(std::filesystem::is_directory(FPasta.Sistema() / "alvo.txt" / "ocupada"));
}

TEST_F(TesteArquivos, ArquivoSeguro_UnwritableTarget_FailsAtOnceWithPathAndReason) {
    std::filesystem::create_directory(FPasta.Sistema() / "pasta");
    GravarBinario(FPasta.Sistema() / "arquivo", "x");
    for (const auto& [nome, motivo] :
         {std::pair{"falta/saida.txt", std::errc::no_such_file_or_directory},
          std::pair{"arquivo/saida.txt", std::errc::not_a_directory}, std::pair{"pasta", std::errc::is_a_directory}}) {
        SCOPED_TRACE(nome);
        const std::string caminho = Caminho(nome);
        EXPECT_EQ(TextoDaFalha([&] { TArquivoSeguro arquivo(caminho); }),
                  "Cannot create file \"" + caminho + "\". " + MotivoSistema(motivo));
        EXPECT_EQ(Nomes(), (std::vector<std::string>{"arquivo", "pasta"}));
        EXPECT_TRUE(std::filesystem::is_empty(FPasta.Sistema() / "pasta"));
    }
}

TEST(TestePastaPrograma, PastaPrograma_IsFolderOfRunningProgramUnlessPointedElsewhere) {
    DefinirPastaPrograma("");
    const std::string real = PastaPrograma();
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(real.back(), SeparadorPasta());
#ifdef _WIN32
    EXPECT_TRUE(ArquivoExiste(real + "test_platform.exe")) << real;
#else
    EXPECT_TRUE(ArquivoExiste(real + "test_platform")) << real;
#endif
    const std::string outra = std::string("/tmp/outra") + SeparadorPasta();
    for (const std::string& pasta : {std::string("/tmp/outra"), outra}) {
        DefinirPastaPrograma(pasta);
        EXPECT_EQ(PastaPrograma(), outra);
    }
    DefinirPastaPrograma("");
    EXPECT_EQ(PastaPrograma(), real);
}

} // namespace
