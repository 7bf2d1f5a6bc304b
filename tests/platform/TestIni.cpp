#include "TestDb.h"

#include "UCp1252.h"
#include "UErro.h"
#include "UIni.h"

#include <gtest/gtest.h>

#include <climits>
#include <system_error>

namespace {

class TesteIni : public ::testing::Test {
protected:
    std::string Caminho(const std::string& nome = "teste.ini") const { return FPasta.Caminho() + nome; }
    void Gravar(const std::string& conteudo, const std::string& nome = "teste.ini") const {
        GravarBinario(FPasta.Sistema() / nome, conteudo);
    }
    std::string Ler(const std::string& nome = "teste.ini") const { return LerBinario(FPasta.Sistema() / nome); }

    TPastaTemporaria FPasta;
};

std::string MotivoSistema(std::errc erro) {
    return Utf8ParaCp1252(std::generic_category().message(static_cast<int>(erro)));
}

// What is left of the written file once the one line that was added is taken out again.
std::string SemLinha(std::string texto, const std::string& linha) {
    const auto posicao = texto.find(linha);
    if (posicao == std::string::npos)
        return "<line \"" + linha + "\" not found in>\n" + texto;
    return texto.erase(posicao, linha.size());
}

const std::string ArquivoLeitura = "; settings of the test\r\n"
                                   "[Geral]\r\n"
                                   "Nome = Valor com espa\xE7os  \r\n"
                                   "  Recuado\t=\tcom tab\t\r\n"
                                   "Aspas=\"  entre aspas  \"\r\n"
                                   "Simples='x'\r\n"
                                   "Misturadas=\"x'\r\n"
                                   "SoUmaAspa=\"abc\r\n"
                                   "DuasVezes=\"\"x\"\"\r\n"
                                   "Vazio=\r\n"
                                   "Branco=   \r\n"
                                   "AspasVazias=\"\"\r\n"
                                   "SemIgual\r\n"
                                   "Igual=a=b\r\n"
                                   "Repetida=primeira\r\n"
                                   "Repetida=segunda\r\n"
                                   "\r\n"
                                   "[ OUTRA ]\r\n"
                                   "chave=1\r\n"
                                   "[geral]\r\n"
                                   "Depois=segunda se\xE7\xE3o de mesmo nome\r\n"
                                   "[A\xC7\xC3O]\r\n"
                                   "Acentuada=sim\r\n";

struct TCasoLeitura {
    const char* Secao;
    const char* Chave;
    std::string Esperado;
};

void PrintTo(const TCasoLeitura& caso, std::ostream* saida) {
    *saida << "[" << caso.Secao << "] " << caso.Chave;
}

class TesteIniLeitura : public TesteIni, public ::testing::WithParamInterface<TCasoLeitura> {};

TEST_P(TesteIniLeitura, LerTexto_FindsValueAsWindowsDoes) {
    Gravar(ArquivoLeitura);
    const auto& caso = GetParam();
    EXPECT_EQ(TIniFile(Caminho()).LerTexto(caso.Secao, caso.Chave, "<padrao>"), caso.Esperado);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TesteIniLeitura,
    ::testing::Values(TCasoLeitura{"Geral", "Nome", "Valor com espa\xE7os"},
                      TCasoLeitura{"GERAL", "nome", "Valor com espa\xE7os"},
                      TCasoLeitura{"gErAl", "RECUADO", "com tab"}, TCasoLeitura{"Geral", "Aspas", "  entre aspas  "},
                      TCasoLeitura{"Geral", "Simples", "x"}, TCasoLeitura{"Geral", "Misturadas", "\"x'"},
                      TCasoLeitura{"Geral", "SoUmaAspa", "\"abc"}, TCasoLeitura{"Geral", "DuasVezes", "\"x\""},
                      TCasoLeitura{"Geral", "Vazio", ""}, TCasoLeitura{"Geral", "Branco", ""},
                      TCasoLeitura{"Geral", "AspasVazias", ""}, TCasoLeitura{"Geral", "SemIgual", ""},
                      TCasoLeitura{"Geral", "Igual", "a=b"}, TCasoLeitura{"Geral", "Repetida", "primeira"},
                      TCasoLeitura{"Geral", "Falta", "<padrao>"}, TCasoLeitura{"Geral", "chave", "<padrao>"},
                      TCasoLeitura{"Geral", "Depois", "<padrao>"}, TCasoLeitura{"Outra", "CHAVE", "1"},
                      TCasoLeitura{"a\xE7\xE3o", "acentuada", "sim"}, TCasoLeitura{"Falta", "Nome", "<padrao>"},
                      TCasoLeitura{"", "Nome", "<padrao>"},
                      TCasoLeitura{"Geral", "; settings of the test", "<padrao>"}));

TEST_F(TesteIni, LerTexto_MissingFile_GivesDefault) {
    const TIniFile ini(Caminho("nao_existe.ini"));
    EXPECT_EQ(ini.LerTexto("Geral", "Nome", "padrao"), "padrao");
    EXPECT_EQ(ini.LerInteiro("Geral", "Nome", 17), 17);
    EXPECT_FALSE(ini.ExisteChave("Geral", "Nome"));
}

TEST_F(TesteIni, ExisteChave_EmptyValue_IsPresent) {
    Gravar("[s]\r\nvazio=\r\n");
    const TIniFile ini(Caminho());
    EXPECT_TRUE(ini.ExisteChave("S", "VAZIO"));
    EXPECT_FALSE(ini.ExisteChave("s", "outra"));
}

TEST_F(TesteIni, LerTexto_LongValue_ReadsFirst2047Characters) {
    std::string valor;
    for (int i = 0; i < 3000; ++i)
        valor += static_cast<char>('a' + i % 26);
    Gravar("[s]\r\nlonga=" + valor + "\r\nexata=" + valor.substr(0, 2047) + "\r\n");
    const TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "longa", ""), valor.substr(0, 2047));
    EXPECT_EQ(ini.LerTexto("s", "exata", ""), valor.substr(0, 2047));
}

struct TCasoInteiro {
    std::string Valor;
    int Esperado;
};

void PrintTo(const TCasoInteiro& caso, std::ostream* saida) {
    *saida << "n=" << caso.Valor;
}

class TesteIniInteiro : public TesteIni, public ::testing::WithParamInterface<TCasoInteiro> {};

TEST_P(TesteIniInteiro, LerInteiro_ConvertsWholeValueOrGivesDefault) {
    Gravar("[s]\r\nn=" + GetParam().Valor + "\r\n");
    EXPECT_EQ(TIniFile(Caminho()).LerInteiro("s", "n", 77), GetParam().Esperado) << "value: " << GetParam().Valor;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TesteIniInteiro,
    ::testing::Values(
        TCasoInteiro{"42", 42}, TCasoInteiro{"007", 7}, TCasoInteiro{"-42", -42}, TCasoInteiro{"+42", 42},
        TCasoInteiro{"0", 0}, TCasoInteiro{"-0", 0}, TCasoInteiro{"0x1F", 31}, TCasoInteiro{"0X1f", 31},
        TCasoInteiro{"$1F", 31}, TCasoInteiro{"x1F", 31}, TCasoInteiro{"X1F", 31}, TCasoInteiro{"-0x10", -16},
        TCasoInteiro{"-$10", -16}, TCasoInteiro{"+x10", 16}, TCasoInteiro{"0xCEA", 3306},
        TCasoInteiro{"0x7FFFFFFF", INT_MAX}, TCasoInteiro{"-0x80000000", INT_MIN}, TCasoInteiro{"2147483647", INT_MAX},
        TCasoInteiro{"-2147483648", INT_MIN}, TCasoInteiro{"\"   42\"", 42}, TCasoInteiro{"\"  -0x2A\"", -42},
        TCasoInteiro{"2147483648", 77}, TCasoInteiro{"-2147483649", 77}, TCasoInteiro{"0x80000000", 77},
        TCasoInteiro{"0xFFFFFFFF", 77}, TCasoInteiro{"99999999999999999999999", 77}, TCasoInteiro{"", 77},
        TCasoInteiro{"\"\"", 77}, TCasoInteiro{"12a", 77}, TCasoInteiro{"a12", 77}, TCasoInteiro{"1 2", 77},
        TCasoInteiro{"\"42 \"", 77}, TCasoInteiro{"- 5", 77}, TCasoInteiro{"--5", 77}, TCasoInteiro{"+", 77},
        TCasoInteiro{"-", 77}, TCasoInteiro{"0x", 77}, TCasoInteiro{"$", 77}, TCasoInteiro{"x", 77},
        TCasoInteiro{"0x-5", 77}, TCasoInteiro{"0x1G", 77}, TCasoInteiro{"1.5", 77}, TCasoInteiro{"1e3", 77},
        TCasoInteiro{"1,000", 77}, TCasoInteiro{"0b101", 77}, TCasoInteiro{"$$1", 77}, TCasoInteiro{"0x0x1", 77}));

TEST_F(TesteIni, GravarTexto_MissingFile_CreatesFileAndSection) {
    TIniFile ini(Caminho("novo.ini"));
    ini.GravarTexto("QOR", "Diretorio", "C:\\SAIDA\\");
    EXPECT_EQ(Ler("novo.ini"), "[QOR]\r\nDiretorio=C:\\SAIDA\\\r\n");
    EXPECT_EQ(ini.LerTexto("qor", "diretorio", ""), "C:\\SAIDA\\");
}

TEST_F(TesteIni, GravarTexto_ExistingKey_ChangesOnlyItsLine) {
    const std::string antes = "; comment\n[Outra]\nDiretorio=nao mexer\n\n[QOR]\nEmpresa=3\n  DIRETORIO = /antigo/  \n"
                              "TipoData=0\n[Fim]\nx=1";
    Gravar(antes);
    TIniFile ini(Caminho());
    ini.GravarTexto("qor", "Diretorio", "/novo/");
    std::string esperado = antes;
    esperado.replace(esperado.find("  DIRETORIO = /antigo/  "), 24, "DIRETORIO=/novo/");
    EXPECT_EQ(Ler(), esperado);
    EXPECT_EQ(ini.LerTexto("Outra", "Diretorio", ""), "nao mexer");
}

TEST_F(TesteIni, GravarTexto_NewKeyInExistingSection_KeepsEveryOtherByte) {
    const std::string antes = "[QOR]\r\nEmpresa=3\r\n\r\n[Outra]\r\nk=v\r\n";
    Gravar(antes);
    TIniFile ini(Caminho());
    ini.GravarTexto("QOR", "CodTorvane", "12");
    EXPECT_EQ(Ler(), "[QOR]\r\nEmpresa=3\r\nCodTorvane=12\r\n\r\n[Outra]\r\nk=v\r\n");
    EXPECT_EQ(ini.LerInteiro("QOR", "CodTorvane", -1), 12);
    EXPECT_EQ(ini.LerTexto("Outra", "k", ""), "v");
}

TEST_F(TesteIni, GravarTexto_NewSection_AppendsAfterLastLine) {
    Gravar("[A]\r\nk=v");
    TIniFile ini(Caminho());
    ini.GravarTexto("B", "n", "1");
    EXPECT_EQ(Ler(), "[A]\r\nk=v\r\n[B]\r\nn=1\r\n");
}

TEST_F(TesteIni, GravarInteiro_RoundTrip) {
    TIniFile ini(Caminho());
    for (const int valor : {0, 1, -1, 3306, INT_MAX, INT_MIN}) {
        ini.GravarInteiro("QOR", "Empresa", valor);
        EXPECT_EQ(ini.LerInteiro("QOR", "Empresa", 77), valor);
    }
    EXPECT_EQ(Ler(), "[QOR]\r\nEmpresa=" + std::to_string(INT_MIN) + "\r\n");
}

TEST_F(TesteIni, GravarTexto_PathIsFolder_FailsWithPathAndReason) {
    std::filesystem::create_directory(FPasta.Sistema() / "pasta.ini");
    TIniFile ini(Caminho("pasta.ini"));
    try {
        ini.GravarTexto("s", "k", "v");
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()),
                  "Cannot create file \"" + Caminho("pasta.ini") + "\". " + MotivoSistema(std::errc::is_a_directory));
    }
}

TEST_F(TesteIni, GravarTexto_FolderIsAFile_FailsWithPathAndReason) {
    Gravar("not a folder", "arquivo");
    const std::string caminho = Caminho("arquivo") + "/teste.ini";
    TIniFile ini(caminho);
    try {
        ini.GravarTexto("s", "k", "v");
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()),
                  "Cannot create file \"" + caminho + "\". " + MotivoSistema(std::errc::not_a_directory));
    }
    EXPECT_EQ(Ler("arquivo"), "not a folder");
}

TEST_F(TesteIni, GravarTexto_MissingFolder_FailsWithPathAndReason) {
    const std::string caminho = Caminho("nao_existe") + "/teste.ini";
    TIniFile ini(caminho);
    try {
        ini.GravarTexto("s", "k", "v");
        FAIL() << "no failure";
    } catch (const EFalha& erro) {
        EXPECT_EQ(std::string(erro.what()),
                  "Cannot create file \"" + caminho + "\". " + MotivoSistema(std::errc::no_such_file_or_directory));
    }
}

// Files that were never written by a well-behaved editor.
std::string LixoBinario() {
    std::string lixo;
    for (int volta = 0; volta < 4; ++volta)
        for (int c = 0; c < 256; ++c)
            lixo += static_cast<char>((c * 7 + volta) % 256);
    return lixo;
}

TEST_F(TesteIni, BinaryJunk_ReadsAndWritesWithoutLosingBytes) {
    const std::string lixo = LixoBinario();
    const std::string antes = lixo + "\r\n[s]\r\nk=v\r\n" + lixo;
    Gravar(antes);
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "k", "padrao"), "v");
    EXPECT_EQ(ini.LerTexto("zz", "k", "padrao"), "padrao");
    ini.GravarTexto("novo", "n", "1");
    const std::string depois = Ler();
    ASSERT_GE(depois.size(), antes.size());
    EXPECT_EQ(depois.substr(0, antes.size()), antes);
    EXPECT_EQ(ini.LerTexto("novo", "n", ""), "1");
    ini.GravarTexto("s", "k", "w");
    std::string esperado = depois;
    esperado.replace(esperado.find("k=v"), 3, "k=w");
    EXPECT_EQ(Ler(), esperado);
}

TEST_F(TesteIni, MegabyteLine_ReadsAndWritesWithoutLosingBytes) {
    const std::string enorme(1024 * 1024, 'Z');
    const std::string antes = "[s]\r\nk=v\r\ngrande=" + enorme + "\r\n" + enorme + "\r\n[t]\r\nj=u\r\n";
    Gravar(antes);
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "grande", ""), enorme.substr(0, 2047));
    EXPECT_EQ(ini.LerTexto("t", "j", ""), "u");
    ini.GravarTexto("t", "nova", "1");
    EXPECT_EQ(SemLinha(Ler(), "nova=1\r\n"), antes);
    ini.GravarTexto("s", "k", "x");
    EXPECT_EQ(SemLinha(Ler(), "nova=1\r\n"), "[s]\r\nk=x\r\ngrande=" + enorme + "\r\n" + enorme + "\r\n[t]\r\nj=u\r\n");
}

TEST_F(TesteIni, NoTrailingLineEnd_ReadsLastLineAndWritesAfterIt) {
    Gravar("[s]\r\nk=v");
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "k", ""), "v");
    ini.GravarTexto("s", "j", "u");
    EXPECT_EQ(Ler(), "[s]\r\nk=v\r\nj=u\r\n");

    Gravar("[s]\r\nk=v");
    ini.GravarTexto("s", "k", "w");
    EXPECT_EQ(Ler(), "[s]\r\nk=w");

    Gravar("[s]");
    ini.GravarTexto("S", "k", "1");
    EXPECT_EQ(Ler(), "[s]\r\nk=1\r\n");
}

TEST_F(TesteIni, CarriageReturnOnlyLineEnds_AreLineEnds) {
    Gravar("[s]\rk=v\rj=u\r[t]\rm=1\r");
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "k", ""), "v");
    EXPECT_EQ(ini.LerTexto("s", "j", ""), "u");
    EXPECT_EQ(ini.LerTexto("t", "m", ""), "1");
    ini.GravarTexto("s", "j", "z");
    EXPECT_EQ(Ler(), "[s]\rk=v\rj=z\r[t]\rm=1\r");
    ini.GravarTexto("s", "nova", "2");
    EXPECT_EQ(Ler(), "[s]\rk=v\rj=z\rnova=2\r[t]\rm=1\r");
}

TEST_F(TesteIni, KeyBeforeAnySection_BelongsToNoSectionAndSurvivesWrites) {
    const std::string antes = "orfa=1\r\n[s]\r\nk=v\r\n";
    Gravar(antes);
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "orfa", "padrao"), "padrao");
    EXPECT_EQ(ini.LerTexto("", "orfa", "padrao"), "padrao");
    ini.GravarTexto("s", "orfa", "2");
    EXPECT_EQ(Ler(), "orfa=1\r\n[s]\r\nk=v\r\norfa=2\r\n");
    EXPECT_EQ(ini.LerTexto("s", "orfa", ""), "2");
}

TEST_F(TesteIni, EmptyFile_WritesSection) {
    Gravar("");
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "k", "padrao"), "padrao");
    ini.GravarTexto("s", "k", "v");
    EXPECT_EQ(Ler(), "[s]\r\nk=v\r\n");
}

} // namespace
