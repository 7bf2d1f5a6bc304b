#include "platform/UTerminal.h"

#include "platform/UCp1252.h"

#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

bool ErroPadraoEhTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(fileno(stderr)) != 0;
#endif
}

void PrepararTerminal() {
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);
#endif
}

std::vector<std::string> ArgumentosUtf8([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
    std::vector<std::string> argumentos;
#ifdef _WIN32
    // The ANSI arguments would lose every character beyond the code page: the wide command line keeps them.
    int quantos = 0;
    wchar_t** largos = CommandLineToArgvW(GetCommandLineW(), &quantos);
    for (int i = 0; largos && i < quantos; ++i) {
        const std::u8string utf8 = std::filesystem::path(largos[i]).u8string();
        argumentos.emplace_back(utf8.begin(), utf8.end());
    }
    LocalFree(largos);
#else
    argumentos.assign(argv, argv + argc);
#endif
    return argumentos;
}

std::string TextoTerminal(const std::string& texto) {
    return Cp1252ParaUtf8(texto);
}
