#include "TestDb.h"

#include "UCp1252.h"
#include "UPastaPrograma.h"
#include "UValoresExportacao.h"

#include <filesystem>

TEST(TesteCompletarNomeArquivo, AppendsTxtOnlyWhereTheRuleSays) {
    const std::vector<std::pair<std::string, std::string>> casos = {
        {"abc", "abc.txt"},
        {"abcd", "abcd.txt"},
        {"x.tx", "x.tx.txt"},
        {"Dados.TXT", "Dados.TXT"},
        {"a.txt.bak", "a.txt.bak"},
        {".txt", ".txt"},
        {".TxT", ".TxT"},
        {" ab", " ab.txt"},
        {"", ".txt"},
        {"txt", "txt.txt"},
        {TextoAnsi("RELATÓRIO.TXT"), TextoAnsi("RELATÓRIO.TXT")}};
    for (const auto& [digitado, passado] : casos)
        EXPECT_EQ(CompletarNomeArquivo(digitado), passado) << digitado;
}

class TesteValoresExportacao : public ::testing::Test {
protected:
    void SetUp() override { DefinirPastaPrograma(FPasta.Caminho()); }
    void TearDown() override { DefinirPastaPrograma(""); }
    std::filesystem::path Ini() const { return FPasta.Sistema() / "ExportacaoKOTR.ini"; }
    static std::vector<int> Numeros(const TValoresExportacao& v) { return {v.Empresa, v.CodTorvane, v.TipoData}; }
    TPastaTemporaria FPasta;
};

TEST_F(TesteValoresExportacao, Ler_ReadsSectionQorAndFallsBackOnWhatIsMissingOrNotAWholeNumber) {
    EXPECT_EQ(TValoresExportacao::ArquivoConfiguracoes(), FPasta.Caminho() + "ExportacaoKOTR.ini");
    const auto padrao = TValoresExportacao::Ler();
    EXPECT_EQ(padrao.Diretorio, "");
    EXPECT_EQ(Numeros(padrao), (std::vector<int>{0, 0, 0}));

    GravarBinario(Ini(), "[outra]\r\nEmpresa=9\r\n[qor]\r\ndiretorio= C:\\Sa\xED"
                         "da \r\nEMPRESA=12\r\nCodTorvane=7x\r\nTipoData=2\r\n");
    const auto valores = TValoresExportacao::Ler();
    EXPECT_EQ(valores.Diretorio, "C:\\Sa\xED"
                                 "da");
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
