#include "platform/UGravacaoDisco.h"

#include <utility>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

TObservadorDisco& Observador() {
    static TObservadorDisco observador;
    return observador;
}

} // namespace

void DefinirObservadorDisco(TObservadorDisco observador) {
    Observador() = std::move(observador);
}

void NotificarPassoDisco(TPassoDisco passo, const std::filesystem::path& caminho) {
    if (Observador())
        Observador()(passo, caminho);
}

bool GravarDescritorNoDisco(int descritor, const std::filesystem::path& caminho) {
#ifdef _WIN32
    const bool gravado = _commit(descritor) == 0;
#else
    const bool gravado = ::fsync(descritor) == 0;
#endif
    if (gravado)
        NotificarPassoDisco(TPassoDisco::GravarArquivo, caminho);
    return gravado;
}

bool GravarNoDisco(std::FILE* arquivo, const std::filesystem::path& caminho) {
#ifdef _WIN32
    return std::fflush(arquivo) == 0 && GravarDescritorNoDisco(_fileno(arquivo), caminho);
#else
    return std::fflush(arquivo) == 0 && GravarDescritorNoDisco(fileno(arquivo), caminho);
#endif
}

bool SubstituirArquivo(const std::filesystem::path& temporario, const std::filesystem::path& alvo) {
#ifdef _WIN32
    const bool substituido =
        MoveFileExW(temporario.c_str(), alvo.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    const bool substituido = std::rename(temporario.c_str(), alvo.c_str()) == 0;
#endif
    if (substituido)
        NotificarPassoDisco(TPassoDisco::Substituir, alvo);
    return substituido;
}

void GravarPastaNoDisco(const std::filesystem::path& pasta) {
#ifndef _WIN32
    // The rename itself reaches the disk only with its folder.
    const int descritor = ::open(pasta.empty() ? "." : pasta.c_str(), O_RDONLY);
    if (descritor < 0)
        return;
    const bool gravada = ::fsync(descritor) == 0;
    ::close(descritor);
    if (!gravada)
        return;
#endif
    // On Windows the rename is written through to the disk, its folder with it.
    NotificarPassoDisco(TPassoDisco::GravarPasta, pasta);
}
