#include "support/TestDb.h"

#include "dao/UArquivoConexao.h"
#include "dao/UDao.h"
#include "platform/UCp1252.h"
#include "platform/UPastaPrograma.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// The password that the stored default "7C19E05B3A62D8F40B15" unscrambles to with the key "KAV".
const std::string SenhaDoPadrao = "\xD5\x88,\x16\xE8,\xE6U8";

std::tuple<std::string, std::string, std::string, std::string, int> Campos(const TParametrosConexao& p) {
    return {p.Host, p.Database, p.Usuario, p.Senha, p.Porta};
}

class TesteParametros : public TTestePasta {
protected:
    void GravarIni(const std::string& conteudo, const std::string& nome = "sistema_qor.ini") {
        GravarBinario(FPasta.Sistema() / nome, conteudo);
    }
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

TEST_F(TesteParametros, NoSettingsFileOrSection_GivesRootOnLocalServerWithDefaultPassword) {
    const TParametrosConexao padrao{"", "", "root", SenhaDoPadrao, 3306};
    EXPECT_EQ(Campos(TDao::LerParametrosConexao("", "ip")), Campos(padrao));
    GravarIni("[outra]\r\nlocal=servidor\r\nusuario=x\r\nPorta=1\r\nsenha=\r\n");
    EXPECT_EQ(Campos(TDao::LerParametrosConexao("", "ip")), Campos(padrao));
}

TEST_F(TesteParametros, AllKeys_ReadWithoutRegardToCase) {
    GravarIni("[IP]\r\nLOCAL = servidor.local \r\nDataBase=loja\r\nUSUARIO=caixa\r\nporta=3307\r\nSENHA=" +
              Criptografia("E", "s\xEAnha9", "KAV") + "\r\n[FilialMatriz]\r\nCodFisica=5\r\n");
    EXPECT_EQ(Campos(TDao::LerParametrosConexao("", "ip")),
              Campos({"servidor.local", "loja", "caixa", "s\xEAnha9", 3307}));
}

TEST_F(TesteParametros, FileOfItsOwnAndOtherSection_AreRead) {
    GravarIni("[banco2]\r\nlocal=outro\r\n", "outro.ini");
    EXPECT_EQ(TDao::LerParametrosConexao("outro.ini", "BANCO2").Host, "outro");
    EXPECT_EQ(TDao::LerParametrosConexao(FPasta.Caminho() + "outro.ini", "banco2").Host, "outro");
}

TEST_F(TesteParametros, LerParametrosConexao_ReadsOneKeyOrKeepsItsDefault) {
    // Each line alone in the section; the database name stays empty throughout.
    using C = std::tuple<std::string, std::string, std::string, std::string, int>; // line, host, user, password, port
    const std::string S = SenhaDoPadrao, F = "581937wex"; // the fallback password for an unreadable stored one
    const auto casos = Casos<C>(
        C("Porta=0x1F90", "", "root", S, 8080), C("Porta=$CEB", "", "root", S, 3307),
        C("Porta=3307", "", "root", S, 3307), C("Porta=abc", "", "root", S, 3306), C("Porta=", "", "root", S, 3306),
        C("Porta=33 07", "", "root", S, 3306), C("Porta=99999999999", "", "root", S, 3306),
        C("usuario=", "", "", S, 3306), C("usuario=\" caixa \"", "", " caixa ", S, 3306),
        C("local=", "", "root", S, 3306), C("database=", "", "root", S, 3306),
        C("local=127.0.0.1", "127.0.0.1", "root", S, 3306), C("senha=", "", "root", "", 3306),
        C("senha=    ", "", "root", "", 3306), C("senha=\"   \"", "", "root", "", 3306),
        C("senha=7C", "", "root", F, 3306), C("senha=7C19Z05B", "", "root", F, 3306),
        C("senha=\" 7C19E0\"", "", "root", F, 3306), C("senha=7c19e05b3a62d8f40b15", "", "root", S, 3306),
        C("senha=  7C19E05B3A62D8F40B15  ", "", "root", S, 3306), C("senha=0001", "", "root", "J", 3306));
    for (const auto& [linha, host, usuario, senha, porta] : casos) {
        GravarIni("[ip]\r\n" + linha + "\r\n");
        EXPECT_EQ(Campos(TDao::LerParametrosConexao("", "ip")), Campos({host, "", usuario, senha, porta})) << linha;
    }
}

} // namespace

// The connection window saves through the file's owner: every key in one replacement, so that a value it refuses
// leaves the file byte for byte as it was, and the longest password the file gives back whole is the longest kept.
TEST_F(TesteParametros, Gravar_AllKeysAtOnceOrNone_AndThePasswordKeptWholeUpToItsLimit) {
    const std::string antes =
        "; o sistema de gestão\r\n[ip]\r\nlocal=antigo\r\nPorta=3306\r\nsenha=\r\n[outra]\r\nx=1\r\n";
    GravarIni(antes);
    const auto arquivo = FPasta.Sistema() / "sistema_qor.ini";
    const TArquivoConexao conexao(arquivo);
    TValoresConexao valores{"novo", "loja", "caixa", 3307, std::string(1023, 'a'), "2"};
    EXPECT_EQ(TextoDaFalha([&] { conexao.Gravar(arquivo, valores); }),
              TextoAnsi("A senha tem 1.023 caracteres, e o sistema_qor.ini só devolve inteira uma senha de até 1.022 "
                        "caracteres."));
    EXPECT_EQ(LerBinario(arquivo), antes);

    valores.Senha = std::string(1022, '\xE9');
    conexao.Gravar(arquivo, valores);
    EXPECT_EQ(Campos(conexao.Parametros()), std::make_tuple("novo", "loja", "caixa", *valores.Senha, 3307));
    EXPECT_EQ(conexao.CodigoFilial(), 2);
    EXPECT_EQ(LerBinario(arquivo).rfind("; o sistema de gestão\r\n[ip]\r\nlocal=novo\r\n", 0), 0u);
    EXPECT_NE(LerBinario(arquivo).find("[outra]\r\nx=1\r\n"), std::string::npos) << "what the file held stays";
}

// The user's own file, made from the machine's, names the same record as the machine's did.
TEST_F(TesteParametros, Gravar_NewFileFromAnotherFolder_KeepsNamingTheSameRecordFolder) {
    const auto maquina = FPasta.Sistema() / "maquina";
    const auto usuario = FPasta.Sistema() / "usuario";
    std::filesystem::create_directories(maquina);
    std::filesystem::create_directories(usuario);
    GravarBinario(maquina / "sistema_qor.ini", "[ip]\r\nlocal=srv\r\n[Historico]\r\nPasta=historico\r\n");
    const TArquivoConexao origem(maquina / "sistema_qor.ini");
    ASSERT_EQ(origem.PastaHistorico(), maquina / "historico");

    origem.Gravar(usuario / "sistema_qor.ini", {"srv", "", "root", 3306, std::nullopt, ""});
    EXPECT_EQ(TArquivoConexao(usuario / "sistema_qor.ini").PastaHistorico(), maquina / "historico");
    // Saved where it stands, the folder stays as written.
    origem.Gravar(maquina / "sistema_qor.ini", {"srv", "", "root", 3306, std::nullopt, ""});
    EXPECT_NE(LerBinario(maquina / "sistema_qor.ini").find("Pasta=historico\r\n"), std::string::npos);
}
