#include "support/ArquivoPreso.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#ifdef _WIN32

TArquivoPreso::TArquivoPreso(const std::filesystem::path& caminho, bool) {
    const HANDLE handle = CreateFileW(caminho.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    FPreso = handle != INVALID_HANDLE_VALUE;
    FHandle = FPreso ? handle : nullptr;
}

void TArquivoPreso::Soltar() {
    if (FPreso)
        CloseHandle(FHandle);
    FPreso = false;
}

#else

// The lock belongs to a process of its own: one the test's process took itself would never make it wait.
TArquivoPreso::TArquivoPreso(const std::filesystem::path& caminho, bool compartilhada) {
    int pronto[2], fim[2];
    if (::pipe(pronto) != 0 || ::pipe(fim) != 0)
        return;
    const pid_t filho = ::fork();
    if (filho == 0) {
        const int descritor = ::open(caminho.c_str(), O_RDWR | O_CREAT, 0666);
        struct flock trava {};
        trava.l_type = compartilhada ? F_RDLCK : F_WRLCK;
        trava.l_whence = SEEK_SET;
        trava.l_start = static_cast<off_t>(1LL << 62);
        trava.l_len = 1;
        const char sinal = descritor >= 0 && ::fcntl(descritor, F_SETLK, &trava) == 0 ? 's' : 'n';
        [[maybe_unused]] auto escrito = ::write(pronto[1], &sinal, 1);
        ::close(fim[1]);
        char c;
        [[maybe_unused]] auto lido = ::read(fim[0], &c, 1);
        ::_exit(0);
    }
    ::close(pronto[1]);
    ::close(fim[0]);
    char sinal = 0;
    FPreso = filho > 0 && ::read(pronto[0], &sinal, 1) == 1 && sinal == 's';
    ::close(pronto[0]);
    FFim = fim[1];
    FFilho = filho;
}

void TArquivoPreso::Soltar() {
    if (FFim >= 0)
        ::close(FFim);
    if (FFilho > 0)
        ::waitpid(FFilho, nullptr, 0);
    FFim = FFilho = -1;
    FPreso = false;
}

#endif

TArquivoPreso::~TArquivoPreso() {
    Soltar();
}
