#include "support/TestDb.h"

#include "platform/UIni.h"

#include <gtest/gtest.h>

#include <climits>

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

TEST_F(TesteIni, LerTexto_FindsValueAsWindowsDoes_OrGivesDefault) {
    Gravar("; settings of the test\r\n[Geral]\r\nNome = Valor com espa\xE7os  \r\n  Recuado\t=\tcom tab\t\r\n"
           "Aspas=\"  entre aspas  \"\r\nSimples='x'\r\nMisturadas=\"x'\r\nSoUmaAspa=\"abc\r\nDuasVezes=\"\"x\"\"\r\n"
           "Vazio=\r\nBranco=   \r\nAspasVazias=\"\"\r\nSemIgual\r\nIgual=a=b\r\nRepetida=primeira\r\n"
           "Repetida=segunda\r\n\r\n[ OUTRA ]\r\nchave=1\r\n[geral]\r\nDepois=segunda se\xE7\xE3o de mesmo nome\r\n"
           "[A\xC7\xC3O]\r\nAcentuada=sim\r\n");
    const TIniFile ini(Caminho());
    struct L {
        const char *Secao, *Chave, *Esperado;
    };
    const auto casos =
        Casos<L>(L("Geral", "Nome", "Valor com espa\xE7os"), L("GERAL", "nome", "Valor com espa\xE7os"),
                 L("gErAl", "RECUADO", "com tab"), L("Geral", "Aspas", "  entre aspas  "), L("Geral", "Simples", "x"),
                 L("Geral", "Misturadas", "\"x'"), L("Geral", "SoUmaAspa", "\"abc"), L("Geral", "DuasVezes", "\"x\""),
                 L("Geral", "Vazio", ""), L("Geral", "Branco", ""), L("Geral", "AspasVazias", ""),
                 L("Geral", "SemIgual", "<padrao>"), L("Geral", "Igual", "a=b"), L("Geral", "Repetida", "primeira"),
                 L("Geral", "Falta", "<padrao>"), L("Geral", "chave", "<padrao>"), L("Geral", "Depois", "<padrao>"),
                 L("Outra", "CHAVE", "1"), L("a\xE7\xE3o", "acentuada", "sim"), L("Falta", "Nome", "<padrao>"),
                 L("", "Nome", "<padrao>"), L("Geral", "; settings of the test", "<padrao>"));
    for (const auto& [secao, chave, esperado] : casos)
        EXPECT_EQ(ini.LerTexto(secao, chave, "<padrao>"), esperado) << "[" << secao << "] " << chave;
    EXPECT_TRUE(ini.ExisteChave("GERAL", "VAZIO"));
    EXPECT_FALSE(ini.ExisteChave("Geral", "SemIgual")) << "a line without \"=\" is no key";
    EXPECT_FALSE(ini.ExisteChave("Geral", "Falta"));
    const TIniFile falta(Caminho("nao_existe.ini"));
    EXPECT_EQ(falta.LerTexto("Geral", "Nome", "padrao"), "padrao");
    EXPECT_EQ(falta.LerInteiro("Geral", "Nome", 17), 17);
    EXPECT_FALSE(falta.ExisteChave("Geral", "Nome"));
}

TEST_F(TesteIni, LerInteiro_ConvertsWholeValueOrGivesDefault) {
    using C = std::pair<std::string, int>;
    auto casos =
        Casos<C>(C("42", 42), C("007", 7), C("-42", -42), C("+42", 42), C("0", 0), C("-0", 0), C("0x1F", 31),
                 C("0X1f", 31), C("$1F", 31), C("x1F", 31), C("X1F", 31), C("-0x10", -16), C("-$10", -16),
                 C("+x10", 16), C("0xCEA", 3306), C("0x7FFFFFFF", INT_MAX), C("-0x80000000", INT_MIN),
                 C("2147483647", INT_MAX), C("-2147483648", INT_MIN), C("\"   42\"", 42), C("\"  -0x2A\"", -42));
    for (const char* invalido : {"2147483648", "-2147483649", "0x80000000", "0xFFFFFFFF", "99999999999999999999999",
                                 "",           "\"\"",        "12a",        "a12",        "1 2",
                                 "\"42 \"",    "- 5",         "--5",        "+",          "-",
                                 "0x",         "$",           "x",          "0x-5",       "0x1G",
                                 "1.5",        "1e3",         "1,000",      "0b101",      "$$1",
                                 "0x0x1"})
        casos.emplace_back(invalido, 77);
    for (const auto& [valor, esperado] : casos) {
        Gravar("[s]\r\nn=" + valor + "\r\n");
        EXPECT_EQ(TIniFile(Caminho()).LerInteiro("s", "n", 77), esperado) << "value: " << valor;
    }
}

TEST_F(TesteIni, GravarTexto_ChangesOnlyThatKeysLineOrAddsIt) {
    struct TCaso {
        const char* Antes; // nullptr: no file
        const char* Secao;
        const char* Chave;
        const char* Valor;
        const char* Depois;
    };
    const TCaso casos[] = {
        {nullptr, "QOR", "Diretorio", "C:\\SAIDA\\", "[QOR]\r\nDiretorio=C:\\SAIDA\\\r\n"},
        {"", "s", "k", "v", "[s]\r\nk=v\r\n"},
        {"; comment\n[Outra]\nDiretorio=nao mexer\n\n[QOR]\nEmpresa=3\n  DIRETORIO = /antigo/  \nTipoData=0\n"
         "[Fim]\nx=1",
         "qor", "Diretorio", "/novo/",
         "; comment\n[Outra]\nDiretorio=nao mexer\n\n[QOR]\nEmpresa=3\nDIRETORIO=/novo/\nTipoData=0\n[Fim]\nx=1"},
        {"[QOR]\r\nEmpresa=3\r\n\r\n[Outra]\r\nk=v\r\n", "QOR", "CodTorvane", "12",
         "[QOR]\r\nEmpresa=3\r\nCodTorvane=12\r\n\r\n[Outra]\r\nk=v\r\n"},
        {"[A]\r\nk=v", "B", "n", "1", "[A]\r\nk=v\r\n[B]\r\nn=1\r\n"},
        {"[s]\r\nk=v", "s", "j", "u", "[s]\r\nk=v\r\nj=u\r\n"},
        {"[s]\r\nk=v", "s", "k", "w", "[s]\r\nk=w"},
        {"[s]", "S", "k", "1", "[s]\r\nk=1\r\n"},
        {"[s]\rk=v\rj=u\r[t]\rm=1\r", "s", "j", "z", "[s]\rk=v\rj=z\r[t]\rm=1\r"},
        {"[s]\rk=v\rj=u\r[t]\rm=1\r", "s", "nova", "2", "[s]\rk=v\rj=u\rnova=2\r[t]\rm=1\r"},
        // A key before any section belongs to none.
        {"orfa=1\r\n[s]\r\nk=v\r\n", "s", "orfa", "2", "orfa=1\r\n[s]\r\nk=v\r\norfa=2\r\n"}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(::testing::PrintToString(caso.Antes ? caso.Antes : "<no file>"));
        std::filesystem::remove(FPasta.Sistema() / "teste.ini");
        if (caso.Antes)
            Gravar(caso.Antes);
        TIniFile ini(Caminho());
        ini.GravarTexto(caso.Secao, caso.Chave, caso.Valor);
        EXPECT_EQ(Ler(), caso.Depois);
        EXPECT_EQ(ini.LerTexto(caso.Secao, caso.Chave, ""), caso.Valor);
    }
}

TEST_F(TesteIni, GravarInteiro_RoundTrip) {
    TIniFile ini(Caminho());
    for (const int valor : {0, 1, -1, 3306, INT_MAX, INT_MIN}) {
        ini.GravarInteiro("QOR", "Empresa", valor);
        EXPECT_EQ(ini.LerInteiro("QOR", "Empresa", 77), valor);
    }
    EXPECT_EQ(Ler(), "[QOR]\r\nEmpresa=" + std::to_string(INT_MIN) + "\r\n");
}

TEST_F(TesteIni, GravarTexto_Unwritable_FailsWithPathAndReason) {
    std::filesystem::create_directory(FPasta.Sistema() / "pasta.ini");
    Gravar("not a folder", "arquivo");
    for (const auto& [nome, motivo] :
         {std::pair{"pasta.ini", std::errc::is_a_directory}, std::pair{"arquivo/teste.ini", std::errc::not_a_directory},
          std::pair{"nao_existe/teste.ini", MotivoPastaFalta}}) {
        TIniFile ini(Caminho(nome));
        EXPECT_EQ(TextoDaFalha([&] { ini.GravarTexto("s", "k", "v"); }),
                  "Cannot create file \"" + Caminho(nome) + "\". " + MotivoSistema(motivo));
    }
    EXPECT_EQ(Ler("arquivo"), "not a folder");
}

TEST_F(TesteIni, BinaryJunk_ReadsAndWritesWithoutLosingBytes) {
    std::string lixo;
    for (int c = 0; c < 1024; ++c)
        lixo += static_cast<char>((c % 256 * 7 + c / 256) % 256);
    const std::string antes = lixo + "\r\n[s]\r\nk=v\r\n" + lixo;
    Gravar(antes);
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "k", "padrao"), "v");
    EXPECT_EQ(ini.LerTexto("zz", "k", "padrao"), "padrao");
    ini.GravarTexto("novo", "n", "1");
    const std::string depois = Ler();
    EXPECT_EQ(depois.substr(0, antes.size()), antes);
    EXPECT_EQ(ini.LerTexto("novo", "n", ""), "1");
    ini.GravarTexto("s", "k", "w");
    std::string esperado = depois;
    esperado.replace(esperado.find("k=v"), 3, "k=w");
    EXPECT_EQ(Ler(), esperado);
}

TEST_F(TesteIni, MegabyteLine_ReadsFirst2047CharactersAndWritesWithoutLosingBytes) {
    std::string enorme(1024 * 1024, 'Z');
    for (int i = 0; i < 3000; ++i)
        enorme[i] = static_cast<char>('a' + i % 26);
    const auto arquivo = [&](const std::string& k) {
        return "[s]\r\nk=" + k + "\r\ngrande=" + enorme + "\r\nexata=" + enorme.substr(0, 2047) + "\r\n" + enorme +
               "\r\n[t]\r\nj=u\r\n";
    };
    Gravar(arquivo("v"));
    TIniFile ini(Caminho());
    EXPECT_EQ(ini.LerTexto("s", "grande", ""), enorme.substr(0, 2047));
    EXPECT_EQ(ini.LerTexto("s", "exata", ""), enorme.substr(0, 2047));
    EXPECT_EQ(ini.LerTexto("t", "j", ""), "u");
    ini.GravarTexto("s", "k", "x");
    EXPECT_EQ(Ler(), arquivo("x"));
    ini.GravarTexto("t", "nova", "1");
    EXPECT_EQ(Ler(), arquivo("x") + "nova=1\r\n");
}

} // namespace
