#include "TestDb.h"

#include "UCp1252.h"
#include "UErro.h"
#include "UPastaPrograma.h"
#include "UValoresExportacao.h"

#include <filesystem>

TEST(TesteCompletarNomeArquivo, AppendsTxtOnlyWhereTheRuleSays) {
    struct TCaso {
        std::string digitado;
        std::string passado;
    };
    for (const auto& caso : std::vector<TCaso>{{"abc", "abc.txt"},
                                               {"abcd", "abcd.txt"},
                                               {"x.tx", "x.tx.txt"},
                                               {"Dados.TXT", "Dados.TXT"},
                                               {"a.txt.bak", "a.txt.bak"},
                                               {".txt", ".txt"},
                                               {".TxT", ".TxT"},
                                               {" ab", " ab.txt"},
                                               {"", ".txt"},
                                               {"dados", "dados.txt"},
                                               {"txt", "txt.txt"},
                                               {TextoAnsi("RELATÓRIO.TXT"), TextoAnsi("RELATÓRIO.TXT")}})
        EXPECT_EQ(CompletarNomeArquivo(caso.digitado), caso.passado) << caso.digitado;
}

class TesteValoresExportacao : public ::testing::Test {
protected:
    void SetUp() override { DefinirPastaPrograma(FPasta.Caminho()); }
    void TearDown() override { DefinirPastaPrograma(""); }
    std::filesystem::path Ini() const { return FPasta.Sistema() / "ExportacaoKOTR.ini"; }
    TPastaTemporaria FPasta;
};

TEST_F(TesteValoresExportacao, Ler_NoFile_GivesTheDefaults) {
    const auto valores = TValoresExportacao::Ler();
    EXPECT_EQ(valores.Diretorio, "");
    EXPECT_EQ(valores.Empresa, 0);
    EXPECT_EQ(valores.CodTorvane, 0);
    EXPECT_EQ(valores.TipoData, 0);
    EXPECT_EQ(TValoresExportacao::ArquivoConfiguracoes(), FPasta.Caminho() + "ExportacaoKOTR.ini");
}

TEST_F(TesteValoresExportacao, Ler_ReadsSectionQorAndFallsBackOnWhatIsNotAWholeNumber) {
    GravarBinario(Ini(), "[outra]\r\nEmpresa=9\r\n[qor]\r\ndiretorio= C:\\Sa\xED"
                         "da \r\nEMPRESA=12\r\n"
                         "CodTorvane=7x\r\nTipoData=2\r\n");
    const auto valores = TValoresExportacao::Ler();
    EXPECT_EQ(valores.Diretorio, "C:\\Sa\xED"
                                 "da");
    EXPECT_EQ(valores.Empresa, 12);
    EXPECT_EQ(valores.CodTorvane, 0);
    EXPECT_EQ(valores.TipoData, 2);
}

TEST_F(TesteValoresExportacao, Gravar_WritesTheFourKeysAndKeepsOtherSections) {
    GravarBinario(Ini(), "[Outra]\r\nChave=1\r\n");
    TValoresExportacao valores;
    valores.Diretorio = "/saida ";
    valores.Empresa = 3;
    valores.CodTorvane = 123;
    valores.TipoData = 5;
    valores.Gravar();

    const auto lidos = TValoresExportacao::Ler();
    EXPECT_EQ(lidos.Empresa, 3);
    EXPECT_EQ(lidos.CodTorvane, 123);
    EXPECT_EQ(lidos.TipoData, 1);
    const std::string texto = LerBinario(Ini());
    EXPECT_NE(texto.find("[Outra]\r\nChave=1\r\n"), std::string::npos) << texto;
    EXPECT_LT(texto.find("Diretorio="), texto.find("Empresa="));
    EXPECT_LT(texto.find("Empresa="), texto.find("CodTorvane="));
    EXPECT_LT(texto.find("CodTorvane="), texto.find("TipoData="));
}

TEST_F(TesteValoresExportacao, Gravar_UnwritableFile_Fails) {
    std::filesystem::create_directory(Ini());
    EXPECT_THROW(TValoresExportacao().Gravar(), EFalha);
}
