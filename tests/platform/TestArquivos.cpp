#include "support/ArquivoPreso.h"
#include "support/DiscoObservado.h"
#include "support/TestDb.h"

#include "platform/UAcrescentarArquivo.h"
#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UGravacaoDisco.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaPrograma.h"
#include "platform/UProcesso.h"
#include "platform/USinais.h"
#include "platform/UUsuarioSistema.h"

#include <gtest/gtest.h>

#include <iostream>

#include <cstdlib>

#ifndef _WIN32
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

TEST_F(TesteArquivos, LerLinhasGravarLinhas_AnyCharacterInTheNameAndCrLfAfterEachLine) {
    // The text inside is code page 1252; the name is the file system's, beyond code page 1252 too.
    for (const char* nome : {"ação.txt", "relatório_ł.txt", "użyt_отчёт.txt"}) {
        SCOPED_TRACE(nome);
        const auto caminho = FPasta.Sistema() / CaminhoDeUtf8(nome);
        GravarBinario(caminho, "um\r\ndois\rtr\xEAs\nquatro");
        EXPECT_TRUE(ArquivoExiste(caminho));
        EXPECT_EQ(LerLinhas(caminho), (std::vector<std::string>{"um", "dois", "tr\xEAs", "quatro"}));
        GravarLinhas(caminho, {"um", "", "tr\xEAs"});
        EXPECT_EQ(LerBinario(caminho), "um\r\n\r\ntr\xEAs\r\n");
        GravarLinhas(caminho, {});
        EXPECT_EQ(LerBinario(caminho), "");
    }
    EXPECT_EQ(Nomes(), (std::vector<std::string>{"ação.txt", "relatório_ł.txt", "użyt_отчёт.txt"}));
}

TEST(TesteCaminhos, CaminhoParaValor_StoredPathReadsBackAsTheSamePath) {
    // Each path, and the bytes it is stored as in a code page 1252 settings file.
    const auto casos = Casos<std::pair<std::string, std::string>>(
        std::pair("/dados/saida", "/dados/saida"),
        std::pair("C:\\Sa\xC3\xAD"
                  "da",
                  "C:\\Sa\xED"
                  "da"),
        std::pair("/u\xC5\xBCyt/\xC5\x82", "/u\xC5\xBCyt/\xC5\x82"),
        // Code page 1252 characters whose bytes would read as UTF-8 are stored as UTF-8.
        std::pair("/\xC3\x83\xC2\xA9", "/\xC3\x83\xC2\xA9"), std::pair("", ""));
    for (const auto& [utf8, guardado] : casos) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(CaminhoParaValor(CaminhoDeUtf8(utf8)), guardado);
        EXPECT_EQ(CaminhoUtf8(ValorParaCaminho(guardado)), utf8);
    }
    EXPECT_EQ(CaminhoMensagem(CaminhoDeUtf8("/u\xC5\xBCyt/a\xC3\xA7\xC3\xA3o")), "/u?yt/a\xE7\xE3o");
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
         {std::pair{"falta/saida.txt", MotivoPastaFalta}, std::pair{"arquivo/saida.txt", std::errc::not_a_directory},
          std::pair{"pasta", std::errc::is_a_directory}}) {
        SCOPED_TRACE(nome);
        const std::string caminho = Caminho(nome);
        EXPECT_EQ(TextoDaFalha([&] { TArquivoSeguro arquivo(caminho); }),
                  "Cannot create file \"" + caminho + "\". " + MotivoSistema(motivo));
        EXPECT_EQ(Nomes(), (std::vector<std::string>{"arquivo", "pasta"}));
        EXPECT_TRUE(std::filesystem::is_empty(FPasta.Sistema() / "pasta"));
    }
}

#ifndef _WIN32
TEST_F(TesteArquivos, ArquivoSeguro_KeepsModeAndOwnerOfTheFileReplaced_TemporaryFileIsTheOwnersAlone) {
    using std::filesystem::perms;
    const auto modo = [](const std::filesystem::path& caminho) {
        struct stat estado {};
        EXPECT_EQ(::stat(caminho.c_str(), &estado), 0) << caminho;
        return estado.st_mode & 07777;
    };
    const mode_t mascara = ::umask(027);
    const auto alvo = FPasta.Sistema() / "alvo.txt";
    GravarBinario(alvo, "antigo");
    std::filesystem::permissions(alvo, perms::owner_read | perms::owner_write);
    // Another user's file, where this user may give it back (root, as CI runs).
    const bool outroDono = ::geteuid() == 0 && ::chown(alvo.c_str(), 65534, 65534) == 0;
    {
        TArquivoSeguro arquivo(alvo);
        arquivo.Escrever("novo");
        const auto nomes = Nomes();
        ASSERT_EQ(nomes.size(), 2u);
        EXPECT_EQ(modo(FPasta.Sistema() / (nomes[0] == "alvo.txt" ? nomes[1] : nomes[0])), 0600u);
        arquivo.Confirmar();
    }
    EXPECT_EQ(LerBinario(alvo), "novo");
    EXPECT_EQ(modo(alvo), 0600u);
    if (outroDono) {
        struct stat estado {};
        ::stat(alvo.c_str(), &estado);
        EXPECT_EQ(estado.st_uid, 65534u);
    }
    TArquivoSeguro novo(FPasta.Sistema() / "novo.txt");
    novo.Confirmar();
    EXPECT_EQ(modo(FPasta.Sistema() / "novo.txt"), 0640u) << "the usual mode for the user's umask";
    ::umask(mascara);
}

TEST_F(TesteArquivos, ArquivoSeguro_TargetThatIsNoRegularFile_IsRefusedAtOnceWithoutOpeningIt) {
    const auto fila = FPasta.Sistema() / "fila.txt";
    ASSERT_EQ(::mkfifo(fila.c_str(), 0600), 0);
    // A link to an executable file elsewhere: neither the link nor the linked file may change.
    const auto ligado = FPasta.Sistema() / "ligado.sh";
    GravarBinario(ligado, "#!/bin/sh\n");
    std::filesystem::permissions(ligado, std::filesystem::perms(0755));
    const auto link = FPasta.Sistema() / "link.txt";
    std::filesystem::create_symlink(ligado, link);
    for (const std::filesystem::path& alvo : {fila, std::filesystem::path("/dev/null"), link}) {
        SCOPED_TRACE(alvo);
        EXPECT_EQ(TextoDaFalha([&] { TArquivoSeguro arquivo(alvo); }),
                  "Cannot create file \"" + alvo.string() +
                      TextoAnsi("\". Não é um arquivo comum (é um link, um pipe, um dispositivo ou um socket), e só um "
                                "arquivo comum é substituído."));
    }
    EXPECT_EQ(Nomes(), (std::vector<std::string>{"fila.txt", "ligado.sh", "link.txt"}));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(LerBinario(ligado), "#!/bin/sh\n");
}

TEST_F(TesteArquivos, ArquivoSeguro_StoppedByASignal_RemovesTheTemporaryFileAndEndsByThatSignal) {
    for (const int sinal : {SIGINT, SIGTERM}) {
        const pid_t filho = ::fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            InstalarLimpezaAoInterromper();
            TArquivoSeguro arquivo(FPasta.Sistema() / "alvo.txt");
            arquivo.Escrever("metade");
            ::raise(sinal);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(filho, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sinal) << status;
        EXPECT_TRUE(Nomes().empty()) << Nomes().front();
    }
}
#endif

#ifdef _WIN32
// Windows' own attrib command, as a user would run it: its output starts with the letters of the attributes set.
std::string Attrib(const std::vector<std::string>& argumentos) {
    TPastaTemporaria saidas;
    const auto programa = CaminhoDeUtf8(LerAmbiente("SystemRoot").value_or("C:\\windows")) / "system32" / "attrib.exe";
    const int status =
        RodarPrograma({programa, argumentos, {}, saidas.Sistema() / "saida", saidas.Sistema() / "erro", {}});
    EXPECT_EQ(status, 0) << LerBinario(saidas.Sistema() / "erro");
    const std::string saida = LerBinario(saidas.Sistema() / "saida");
    return saida.substr(0, saida.find(':') == std::string::npos ? 0 : saida.find(':') - 1);
}

// Where the file system library does not see links as links, the writer still refuses them.
TEST_F(TesteArquivos, ArquivoSeguro_LinkAtTheTargetsName_IsRefusedAndLeftAsItIs) {
    const auto real = FPasta.Sistema() / "real.txt";
    const auto link = FPasta.Sistema() / "link.txt";
    GravarBinario(real, "real");
    std::error_code erro;
    std::filesystem::create_symlink(real, link, erro);
    if (erro)
        GTEST_SKIP() << "no symbolic link could be made here (Wine makes none; Windows only for an administrator or "
                        "in developer mode): "
                     << erro.message();
    EXPECT_EQ(TextoDaFalha([&] { TArquivoSeguro arquivo(link); }),
              "Cannot create file \"" + CaminhoMensagem(link) +
                  TextoAnsi("\". Não é um arquivo comum (é um link, um pipe, um dispositivo ou um socket), e só um "
                            "arquivo comum é substituído."));
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(link)));
    EXPECT_EQ(LerBinario(real), "real");
    EXPECT_EQ(Nomes(), (std::vector<std::string>{"link.txt", "real.txt"}));
}

TEST_F(TesteArquivos, ArquivoSeguro_KeepsTheAttributesOfTheFileReplaced_AndLeavesAReadOnlyFileAlone) {
    const auto alvo = FPasta.Sistema() / "alvo.txt";
    GravarBinario(alvo, "antigo");
    // One attribute a call: Wine's attrib takes only the last of several.
    Attrib({"+h", CaminhoUtf8(alvo)});
    Attrib({"+s", CaminhoUtf8(alvo)});
    {
        TArquivoSeguro arquivo(alvo);
        arquivo.Escrever("novo");
        arquivo.Confirmar();
    }
    EXPECT_EQ(LerBinario(alvo), "novo");
    const std::string atributos = Attrib({CaminhoUtf8(alvo)});
    EXPECT_NE(atributos.find('H'), std::string::npos) << atributos;
    EXPECT_NE(atributos.find('S'), std::string::npos) << atributos;

    Attrib({"+r", CaminhoUtf8(alvo)});
    EXPECT_EQ(TextoDaFalha([&] { TArquivoSeguro arquivo(alvo); }),
              "Cannot create file \"" + CaminhoMensagem(alvo) + "\". " + MotivoSistema(std::errc::permission_denied));
    EXPECT_EQ(LerBinario(alvo), "novo");
    EXPECT_EQ(Nomes(), std::vector<std::string>{"alvo.txt"});
    Attrib({"-r", CaminhoUtf8(alvo)});
}

TEST_F(TesteArquivos, ArquivoSeguro_CtrlCInTheConsole_RemovesTheTemporaryFileAndEndsTheProgram) {
    if (const auto pasta = LerAmbiente("TORVANE_TESTE_INTERROMPER"); pasta && !pasta->empty()) {
        // This very test, started again below as a program of its own: it writes and is stopped meanwhile.
        InstalarLimpezaAoInterromper();
        TArquivoSeguro arquivo(CaminhoDeUtf8(*pasta) / "alvo.txt");
        arquivo.Escrever("metade");
        std::cerr << "escrito pela metade" << std::endl;
        InterromperComoTeclado();
        std::exit(9);
    }
    TPastaTemporaria saidas;
    const int status = RodarPrograma(
        {PastaPrograma() / "test_platform.exe",
         {"--gtest_filter=TesteArquivos.ArquivoSeguro_CtrlCInTheConsole_RemovesTheTemporaryFileAndEndsTheProgram"},
         {{"TORVANE_TESTE_INTERROMPER", FPasta.Caminho()}},
         saidas.Sistema() / "saida",
         saidas.Sistema() / "erro",
         {}});
    // Ended by the console's event: Windows gives STATUS_CONTROL_C_EXIT, Wine 0; 9 would be the end of the
    // code after the event.
    EXPECT_TRUE(static_cast<unsigned>(status) == 0xC000013Au || status == 0)
        << status << " " << LerBinario(saidas.Sistema() / "saida");
    EXPECT_NE(LerBinario(saidas.Sistema() / "erro").find("escrito pela metade"), std::string::npos)
        << "it wrote, then was stopped";
    EXPECT_EQ(LerBinario(saidas.Sistema() / "saida").find("PASSED"), std::string::npos) << "it ended at Ctrl-C";
    EXPECT_TRUE(Nomes().empty()) << Nomes().front();
}
#endif

TEST_F(TesteArquivos, AcrescentarArquivo_StartsOnALineOfItsOwnAndFlushesTheFileToDisk) {
    struct C {
        std::string Antes; // "-": no file
        std::string Depois;
    };
    for (const auto& c :
         Casos<C>(C{"-", "CAB\r\nrow\r\n"}, C{"", "CAB\r\nrow\r\n"}, C{"a\r\n", "a\r\nrow\r\n"}, C{"a", "a\r\nrow\r\n"},
                  C{"a\r", "a\r\r\nrow\r\n"}, C{"a\n", "a\n\r\nrow\r\n"}, C{"\n", "\n\r\nrow\r\n"})) {
        SCOPED_TRACE(::testing::PrintToString(c.Antes));
        const auto caminho = FPasta.Sistema() / "registro.csv";
        std::filesystem::remove(caminho);
        if (c.Antes != "-")
            GravarBinario(caminho, c.Antes);
        TDiscoObservado disco;
        AcrescentarArquivo(caminho, "row\r\n", "CAB\r\n");
        EXPECT_EQ(LerBinario(caminho), c.Depois);
        EXPECT_EQ(disco.Passos,
                  (std::vector<std::pair<TPassoDisco, std::filesystem::path>>{{TPassoDisco::GravarArquivo, caminho}}));
    }
}

TEST_F(TesteArquivos, ArquivoSeguro_Confirmar_FlushesTheFileBeforeTheRenameAndTheFolderAfterIt) {
    const auto alvo = FPasta.Sistema() / "alvo.txt";
    TArquivoSeguro arquivo(alvo);
    arquivo.Escrever("linha\r\n");
    TDiscoObservado disco;
    arquivo.Confirmar();
    ASSERT_EQ(disco.Passos.size(), 3u);
    EXPECT_EQ(disco.Passos[0].first, TPassoDisco::GravarArquivo);
    EXPECT_EQ(disco.Passos[0].second.parent_path(), FPasta.Sistema()) << "the temporary file, beside the target";
    EXPECT_NE(disco.Passos[0].second, alvo);
    EXPECT_EQ(disco.Passos[1], std::make_pair(TPassoDisco::Substituir, alvo));
    EXPECT_EQ(disco.Passos[2], std::make_pair(TPassoDisco::GravarPasta, FPasta.Sistema()));
}

// Another program holds the record's lock, exclusive or shared (a reader's), or on Windows keeps the file open to
// itself: the append waits for it, then gives up with a clear reason that says it may be tried again.
TEST_F(TesteArquivos, AcrescentarArquivo_WaitsForAnotherProgramThatHoldsTheFileAndGivesUpAfterTheLimit) {
    const auto caminho = FPasta.Sistema() / "registro.csv";
    GravarBinario(caminho, "a\r\n");
#ifdef _WIN32
    const std::pair<bool, const char*> casos[] = {
        {false, "Outro programa (uma planilha, por exemplo) o mantém aberto"}};
#else
    const std::pair<bool, const char*> casos[] = {{false, "Outro programa está gravando nele há mais de 1 s"},
                                                  {true, "Outro programa está gravando nele há mais de 1 s"}};
#endif
    for (const auto& [compartilhada, motivo] : casos) {
        SCOPED_TRACE(compartilhada ? "shared" : "exclusive");
        TArquivoPreso preso(caminho, compartilhada);
        ASSERT_TRUE(preso.Preso());
        bool ocupado = false;
        const std::string falha = TextoDaFalha([&] {
            try {
                AcrescentarArquivo(caminho, "b\r\n", {}, std::chrono::milliseconds(300));
            } catch (const EArquivoOcupado&) {
                ocupado = true;
                throw;
            }
        });
        EXPECT_NE(falha.find(TextoAnsi(motivo)), std::string::npos) << falha;
        EXPECT_TRUE(ocupado);
        preso.Soltar();
        AcrescentarArquivo(caminho, "b\r\n", {}, std::chrono::milliseconds(300));
    }
    EXPECT_EQ(LerBinario(caminho), std::string("a\r\n") + (std::size(casos) == 2 ? "b\r\nb\r\n" : "b\r\n"));
}

TEST(TestePastaPrograma, PastaPrograma_IsFolderOfRunningProgramUnlessPointedElsewhere) {
    DefinirPastaPrograma({});
    const auto real = PastaPrograma();
#ifdef _WIN32
    EXPECT_TRUE(ArquivoExiste(real / "test_platform.exe")) << real;
#else
    EXPECT_TRUE(ArquivoExiste(real / "test_platform")) << real;
#endif
    DefinirPastaPrograma("/tmp/outra");
    EXPECT_EQ(PastaPrograma(), std::filesystem::path("/tmp/outra"));
    DefinirPastaPrograma({});
    EXPECT_EQ(PastaPrograma(), real);
}

// A scheduled task or a service may run with none of the variables that name the user.
TEST(TesteUsuario, NomeUsuarioSistema_IsTheAccountsNameEvenWithoutTheEnvironmentsVariables) {
    const std::vector<std::string> variaveis = {"USER", "LOGNAME", "USERNAME"};
    std::vector<std::optional<std::string>> antes;
    for (const auto& variavel : variaveis)
        antes.push_back(LerAmbiente(variavel));
    const std::string comAmbiente = NomeUsuarioSistema();
    for (const auto& variavel : variaveis)
        DefinirAmbiente(variavel, "");
    const std::string semAmbiente = NomeUsuarioSistema();
    DefinirAmbiente("USER", "outro");
    DefinirAmbiente("USERNAME", "outro");
    const std::string comOutro = NomeUsuarioSistema();
    for (std::size_t i = 0; i < variaveis.size(); ++i)
        DefinirAmbiente(variaveis[i], antes[i].value_or(""));
    EXPECT_FALSE(semAmbiente.empty());
    EXPECT_EQ(semAmbiente, comAmbiente);
    EXPECT_EQ(comOutro, comAmbiente) << "the system's name, not the environment's";
#ifndef _WIN32
    TPastaTemporaria pasta;
    ASSERT_EQ(RodarPrograma({"/usr/bin/id", {"-un"}, {}, pasta.Sistema() / "saida", pasta.Sistema() / "erro", {}}), 0);
    EXPECT_EQ(semAmbiente + "\n", LerBinario(pasta.Sistema() / "saida"));
#endif
}

} // namespace
