#pragma once

#include <filesystem>

// Another program holding a file that is to be appended to, for as long as this object lives: on Windows a
// program that opened it letting others only read it (a spreadsheet does so); elsewhere a program holding the lock
// of the appending programs, exclusive, or shared when `compartilhada`.
class TArquivoPreso {
public:
    explicit TArquivoPreso(const std::filesystem::path& caminho, bool compartilhada = false);
    ~TArquivoPreso();
    TArquivoPreso(const TArquivoPreso&) = delete;
    TArquivoPreso& operator=(const TArquivoPreso&) = delete;

    // Whether the file is held.
    bool Preso() const { return FPreso; }
    // Lets go of it before the object goes.
    void Soltar();

private:
    bool FPreso = false;
#ifdef _WIN32
    void* FHandle = nullptr;
#else
    int FFim = -1;
    int FFilho = -1;
#endif
};
