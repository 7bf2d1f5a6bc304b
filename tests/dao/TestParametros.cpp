#include "TestDb.h"

#include "UDao.h"
#include "UPastaPrograma.h"

#include <gtest/gtest.h>

namespace {

// The password that the stored default "7C19E05B3A62D8F40B15" unscrambles to with the key "KAV".
const std::string SenhaDoPadrao = "\xD5\x88,\x16\xE8,\xE6U8";

class TesteParametros : public ::testing::Test {
protected:
    void SetUp() override { DefinirPastaPrograma(FPasta.Caminho()); }
    void TearDown() override { DefinirPastaPrograma(""); }
    void GravarIni(const std::string& conteudo, const std::string& nome = "sistema_qor.ini") {
        GravarBinario(FPasta.Sistema() / nome, conteudo);
    }
    TPastaTemporaria FPasta;
};

TEST_F(TesteParametros, CaminhoArquivoIni_ResolvesAgainstProgramFolder) {
    EXPECT_EQ(TDao::CaminhoArquivoIni(""), FPasta.Caminho() + "sistema_qor.ini");
    EXPECT_EQ(TDao::CaminhoArquivoIni("outro.ini"), FPasta.Caminho() + "outro.ini");
#ifdef _WIN32
    EXPECT_EQ(TDao::CaminhoArquivoIni("C:\\config\\outro.ini"), "C:\\config\\outro.ini");
    EXPECT_EQ(TDao::CaminhoArquivoIni("D:outro.ini"), "D:outro.ini");
#else
    EXPECT_EQ(TDao::CaminhoArquivoIni("/etc/torvane/outro.ini"), "/etc/torvane/outro.ini");
    EXPECT_EQ(TDao::CaminhoArquivoIni("config/outro.ini"), "config/outro.ini");
#endif
}

TEST_F(TesteParametros, NoSettingsFile_GivesRootOnLocalServerWithDefaultPassword) {
    EXPECT_EQ(DescriptografarSenha("7C19E05B3A62D8F40B15", "KAV"), SenhaDoPadrao);
    const auto p = TDao::LerParametrosConexao("", "ip");
    EXPECT_EQ(p.Host, "");
    EXPECT_EQ(p.Database, "");
    EXPECT_EQ(p.Usuario, "root");
    EXPECT_EQ(p.Porta, 3306);
    EXPECT_EQ(p.Senha, SenhaDoPadrao);
}

TEST_F(TesteParametros, SectionMissing_GivesDefaults) {
    GravarIni("[outra]\r\nlocal=servidor\r\nusuario=x\r\nPorta=1\r\nsenha=\r\n");
    const auto p = TDao::LerParametrosConexao("", "ip");
    EXPECT_EQ(p.Host, "");
    EXPECT_EQ(p.Usuario, "root");
    EXPECT_EQ(p.Porta, 3306);
    EXPECT_EQ(p.Senha, SenhaDoPadrao);
}

TEST_F(TesteParametros, AllKeys_ReadWithoutRegardToCase) {
    GravarIni("[IP]\r\nLOCAL = servidor.local \r\nDataBase=loja\r\nUSUARIO=caixa\r\nporta=3307\r\nSENHA=" +
              Criptografia("E",
                           "s3gr\xEA"
                           "do",
                           "KAV") +
              "\r\n[FilialMatriz]\r\nCodFisica=5\r\n");
    const auto p = TDao::LerParametrosConexao("", "ip");
    EXPECT_EQ(p.Host, "servidor.local");
    EXPECT_EQ(p.Database, "loja");
    EXPECT_EQ(p.Usuario, "caixa");
    EXPECT_EQ(p.Porta, 3307);
    EXPECT_EQ(p.Senha, "s3gr\xEA"
                       "do");
}

TEST_F(TesteParametros, FileOfItsOwnAndOtherSection_AreRead) {
    GravarIni("[banco2]\r\nlocal=outro\r\n", "outro.ini");
    EXPECT_EQ(TDao::LerParametrosConexao("outro.ini", "BANCO2").Host, "outro");
    EXPECT_EQ(TDao::LerParametrosConexao(FPasta.Caminho() + "outro.ini", "banco2").Host, "outro");
}

struct TCasoChave {
    std::string Linha;
    TParametrosConexao Esperado;
};

void PrintTo(const TCasoChave& caso, std::ostream* saida) {
    *saida << caso.Linha;
}

class TesteParametrosChave : public TesteParametros, public ::testing::WithParamInterface<TCasoChave> {};

TEST_P(TesteParametrosChave, LerParametrosConexao_ReadsOneKey) {
    GravarIni("[ip]\r\n" + GetParam().Linha + "\r\n");
    const auto p = TDao::LerParametrosConexao("", "ip");
    const auto& e = GetParam().Esperado;
    EXPECT_EQ(p.Host, e.Host);
    EXPECT_EQ(p.Database, e.Database);
    EXPECT_EQ(p.Usuario, e.Usuario);
    EXPECT_EQ(p.Porta, e.Porta);
    EXPECT_EQ(p.Senha, e.Senha);
}

TParametrosConexao Padrao() {
    return {"", "", "root", SenhaDoPadrao, 3306};
}

TParametrosConexao Com(TParametrosConexao p, void (*mudar)(TParametrosConexao&)) {
    mudar(p);
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TesteParametrosChave,
    ::testing::Values(TCasoChave{"Porta=0x1F90", Com(Padrao(), [](auto& p) { p.Porta = 8080; })},
                      TCasoChave{"Porta=$CEB", Com(Padrao(), [](auto& p) { p.Porta = 3307; })},
                      TCasoChave{"Porta=3307", Com(Padrao(), [](auto& p) { p.Porta = 3307; })},
                      TCasoChave{"Porta=abc", Padrao()}, TCasoChave{"Porta=", Padrao()},
                      TCasoChave{"Porta=33 07", Padrao()}, TCasoChave{"Porta=99999999999", Padrao()},
                      TCasoChave{"usuario=", Com(Padrao(), [](auto& p) { p.Usuario = ""; })},
                      TCasoChave{"usuario=\" caixa \"", Com(Padrao(), [](auto& p) { p.Usuario = " caixa "; })},
                      TCasoChave{"local=", Padrao()}, TCasoChave{"database=", Padrao()},
                      TCasoChave{"local=127.0.0.1", Com(Padrao(), [](auto& p) { p.Host = "127.0.0.1"; })},
                      TCasoChave{"senha=", Com(Padrao(), [](auto& p) { p.Senha = ""; })},
                      TCasoChave{"senha=    ", Com(Padrao(), [](auto& p) { p.Senha = ""; })},
                      TCasoChave{"senha=\"   \"", Com(Padrao(), [](auto& p) { p.Senha = ""; })},
                      TCasoChave{"senha=7C", Com(Padrao(), [](auto& p) { p.Senha = "581937wex"; })},
                      TCasoChave{"senha=7C19Z05B", Com(Padrao(), [](auto& p) { p.Senha = "581937wex"; })},
                      TCasoChave{"senha=\" 7C19E0\"", Com(Padrao(), [](auto& p) { p.Senha = "581937wex"; })},
                      TCasoChave{"senha=7c19e05b3a62d8f40b15", Padrao()},
                      TCasoChave{"senha=  7C19E05B3A62D8F40B15  ", Padrao()},
                      TCasoChave{"senha=0001", Com(Padrao(), [](auto& p) { p.Senha = "J"; })}));

} // namespace
