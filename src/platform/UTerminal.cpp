#include "platform/UTerminal.h"

#include "platform/UCp1252.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
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

std::string ArgumentoUtf8(const char* argumento) {
#ifdef _WIN32
    // The arguments come in the system's ANSI code page, which is code page 1252 where this program runs.
    return Cp1252ParaUtf8(argumento);
#else
    return argumento;
#endif
}

std::string TextoTerminal(const std::string& texto) {
    return Cp1252ParaUtf8(texto);
}
