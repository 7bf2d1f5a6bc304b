#include "platform/UAcrescentarArquivo.h"

#include "platform/UAcrescentarArquivoComum.h"
#include "platform/UCp1252.h"
#include "platform/UErroSistema.h"
#include "platform/UGravacaoDisco.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TDescritor {
    int Numero;
    ~TDescritor() { ::close(Numero); }
};

bool Travar(int descritor, std::chrono::milliseconds espera) {
    const auto limite = std::chrono::steady_clock::now() + espera;
    for (;;) {
        struct flock trava {};
        trava.l_type = F_WRLCK;
        trava.l_whence = SEEK_SET;
        trava.l_start = static_cast<off_t>(ByteTrava);
        trava.l_len = 1;
        if (::fcntl(descritor, F_SETLK, &trava) == 0)
            return true;
        if ((errno != EACCES && errno != EAGAIN && errno != EINTR) || std::chrono::steady_clock::now() >= limite)
            return false;
        ::usleep(20000);
    }
}

} // namespace

void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto, std::string_view inicioSeVazio,
                        std::chrono::milliseconds esperaTrava) {
    // O_NONBLOCK keeps a pipe at that name from holding us until someone reads it; it is refused below. Reading is
    // for the file's last bytes.
    const TDescritor arquivo{::open(caminho.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666)};
    if (arquivo.Numero < 0)
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    struct stat estado {};
    if (::fstat(arquivo.Numero, &estado) != 0 || !S_ISREG(estado.st_mode))
        FalhaAcrescentar(caminho, NaoEArquivoComum());
    if (!Travar(arquivo.Numero, esperaTrava)) {
        if (errno == EACCES || errno == EAGAIN || errno == EINTR)
            FalhaOcupado(caminho, TextoTravaOcupada(esperaTrava));
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    }
    // The size once the lock is ours: another program may have added a row meanwhile.
    if (::fstat(arquivo.Numero, &estado) != 0)
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    char final[2] = {};
    ssize_t lidos = 0;
    if (estado.st_size > 0) {
        const off_t inicio = estado.st_size >= 2 ? estado.st_size - 2 : 0;
        lidos = ::pread(arquivo.Numero, final, static_cast<std::size_t>(estado.st_size - inicio), inicio);
        if (lidos < 0)
            FalhaAcrescentar(caminho, TextoErroSistema(errno));
    }
    const std::string dados =
        DadosAcrescimo(std::string_view(final, static_cast<std::size_t>(lidos)), estado.st_size, texto, inicioSeVazio);
    const ssize_t escritos = ::write(arquivo.Numero, dados.data(), dados.size());
    if (escritos < 0)
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
    if (static_cast<std::size_t>(escritos) != dados.size())
        FalhaAcrescentar(caminho, TextoAnsi("Só parte do texto foi gravada (disco cheio?)."));
    if (!GravarDescritorNoDisco(arquivo.Numero, caminho))
        FalhaAcrescentar(caminho, TextoErroSistema(errno));
}
