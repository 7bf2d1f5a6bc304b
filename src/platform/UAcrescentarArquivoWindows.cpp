#include "platform/UAcrescentarArquivo.h"

#include "platform/UAcrescentarArquivoComum.h"
#include "platform/UCp1252.h"
#include "platform/UErroSistema.h"
#include "platform/UGravacaoDisco.h"

#include <string>

#include <windows.h>

namespace {

// Closes the file on every way out, letting go of its lock.
struct TArquivoWindows {
    HANDLE Handle;
    ~TArquivoWindows() { CloseHandle(Handle); }
};

bool GravarHandleNoDisco(HANDLE arquivo, const std::filesystem::path& caminho) {
    const bool gravado = FlushFileBuffers(arquivo) != 0;
    if (gravado)
        NotificarPassoDisco(TPassoDisco::GravarArquivo, caminho);
    return gravado;
}

// A program that opened the file without letting others write (a spreadsheet) keeps it from us until it closes it.
bool EmUsoPorOutro(DWORD erro) {
    return erro == ERROR_SHARING_VIOLATION || erro == ERROR_LOCK_VIOLATION;
}

// The file open for appending; while another program keeps it to itself, tried again until the limit.
HANDLE Abrir(const std::filesystem::path& caminho, std::chrono::steady_clock::time_point limite) {
    for (;;) {
        // Without FILE_WRITE_DATA every write goes to the end of the file, as one piece; reading is for its last
        // bytes and for the lock.
        const HANDLE arquivo = CreateFileW(caminho.c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (arquivo != INVALID_HANDLE_VALUE || !EmUsoPorOutro(GetLastError()) ||
            std::chrono::steady_clock::now() >= limite)
            return arquivo;
        Sleep(20);
    }
}

bool Travar(HANDLE arquivo, std::chrono::steady_clock::time_point limite) {
    for (;;) {
        OVERLAPPED posicao{};
        posicao.Offset = static_cast<DWORD>(ByteTrava & 0xFFFFFFFF);
        posicao.OffsetHigh = static_cast<DWORD>(ByteTrava >> 32);
        if (LockFileEx(arquivo, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &posicao))
            return true;
        if (std::chrono::steady_clock::now() >= limite)
            return false;
        Sleep(20);
    }
}

} // namespace

void AcrescentarArquivo(const std::filesystem::path& caminho, std::string_view texto, std::string_view inicioSeVazio,
                        std::chrono::milliseconds esperaTrava) {
    const auto limite = std::chrono::steady_clock::now() + esperaTrava;
    const TArquivoWindows arquivo{Abrir(caminho, limite)};
    if (arquivo.Handle == INVALID_HANDLE_VALUE) {
        const DWORD erro = GetLastError();
        if (EmUsoPorOutro(erro))
            FalhaOcupado(caminho, TextoArquivoEmUso(esperaTrava));
        FalhaAcrescentar(caminho, TextoErroSistema(static_cast<int>(erro)));
    }
    if (GetFileType(arquivo.Handle) != FILE_TYPE_DISK)
        FalhaAcrescentar(caminho, NaoEArquivoComum());
    if (!Travar(arquivo.Handle, limite))
        FalhaOcupado(caminho, TextoTravaOcupada(esperaTrava));
    LARGE_INTEGER tamanho{};
    if (!GetFileSizeEx(arquivo.Handle, &tamanho))
        FalhaAcrescentar(caminho, TextoErroSistema(UltimoErroSistema()));
    char final[2] = {};
    DWORD lidos = 0;
    if (tamanho.QuadPart > 0) {
        OVERLAPPED posicao{};
        const long long inicio = tamanho.QuadPart >= 2 ? tamanho.QuadPart - 2 : 0;
        posicao.Offset = static_cast<DWORD>(inicio & 0xFFFFFFFF);
        posicao.OffsetHigh = static_cast<DWORD>(inicio >> 32);
        if (!ReadFile(arquivo.Handle, final, tamanho.QuadPart >= 2 ? 2 : 1, &lidos, &posicao))
            FalhaAcrescentar(caminho, TextoErroSistema(UltimoErroSistema()));
    }
    const std::string dados = DadosAcrescimo(std::string_view(final, lidos), tamanho.QuadPart, texto, inicioSeVazio);
    DWORD escritos = 0;
    if (!WriteFile(arquivo.Handle, dados.data(), static_cast<DWORD>(dados.size()), &escritos, nullptr))
        FalhaAcrescentar(caminho, TextoErroSistema(UltimoErroSistema()));
    if (escritos != dados.size())
        FalhaAcrescentar(caminho, TextoAnsi("Só parte do texto foi gravada (disco cheio?)."));
    if (!GravarHandleNoDisco(arquivo.Handle, caminho))
        FalhaAcrescentar(caminho, TextoErroSistema(UltimoErroSistema()));
}
