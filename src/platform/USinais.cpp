#include "platform/USinais.h"

#include "platform/UTerminal.h"

#include <algorithm>
#include <csignal>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Only what a signal handler may touch: a fixed buffer and a flag.
#ifdef _WIN32
wchar_t Temporario[32768];
#else
char Temporario[4096];
#endif
volatile std::sig_atomic_t HaTemporario = 0;

void RemoverTemporario() {
    if (HaTemporario) {
#ifdef _WIN32
        DeleteFileW(Temporario);
#else
        ::unlink(Temporario);
#endif
    }
}

extern "C" void AoInterromper(int sinal) {
    RemoverTemporario();
    RestaurarTerminal();
    std::signal(sinal, SIG_DFL);
    std::raise(sinal);
}

#ifdef _WIN32
// Ctrl-C, Ctrl-Break or the console closing: the console calls this in a thread of its own. The file was
// opened to allow its deletion, so it goes at once, and the console gets back its code page; returning FALSE
// lets the usual handling end the program.
BOOL WINAPI AoEventoConsole(DWORD) {
    RemoverTemporario();
    RestaurarTerminal();
    return FALSE;
}
#endif

} // namespace

void InstalarLimpezaAoInterromper() {
#ifdef _WIN32
    SetConsoleCtrlHandler(AoEventoConsole, TRUE);
    std::signal(SIGTERM, AoInterromper);
#else
    struct sigaction acao {};
    acao.sa_handler = AoInterromper;
    sigemptyset(&acao.sa_mask);
    for (const int sinal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sinal, &acao, nullptr);
#endif
}

void RegistrarTemporario(const std::filesystem::path& caminho) {
    HaTemporario = 0;
    const auto& nome = caminho.native();
    // A name longer than the buffer cannot be cleaned up; it is left as before.
    if (nome.size() >= std::size(Temporario))
        return;
    std::copy(nome.begin(), nome.end(), Temporario);
    Temporario[nome.size()] = 0;
    HaTemporario = 1;
}

void EsquecerTemporario() {
    HaTemporario = 0;
}
