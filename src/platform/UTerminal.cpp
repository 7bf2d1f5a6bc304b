#include "platform/UTerminal.h"

#include "platform/UCp1252.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// What the program changed in the terminal, to be put back; only what a signal handler may touch.
#ifdef _WIN32
volatile UINT PaginaOriginal = 0;
volatile DWORD ModoEntradaOriginal = 0;
#else
termios ModoEntradaOriginal{};
#endif
volatile std::sig_atomic_t EcoDesligado = 0;

std::optional<std::string> LerLinhaComum() {
    std::string linha;
    if (!std::getline(std::cin, linha) && linha.empty())
        return std::nullopt;
    if (!linha.empty() && linha.back() == '\r')
        linha.pop_back();
    return linha;
}

bool EhTerminal(std::FILE* arquivo) {
#ifdef _WIN32
    return _isatty(_fileno(arquivo)) != 0;
#else
    return ::isatty(fileno(arquivo)) != 0;
#endif
}

} // namespace

bool ErroPadraoEhTerminal() {
    return EhTerminal(stderr);
}

bool EntradaPadraoEhTerminal() {
    return EhTerminal(stdin);
}

void PrepararTerminal() {
#ifdef _WIN32
    // 0 without a console: then there is nothing to change, nor to put back.
    const UINT pagina = GetConsoleOutputCP();
    if (pagina != 0 && pagina != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        PaginaOriginal = pagina;
#endif
}

void RestaurarTerminal() {
#ifdef _WIN32
    if (PaginaOriginal != 0)
        SetConsoleOutputCP(PaginaOriginal);
    if (EcoDesligado)
        SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), ModoEntradaOriginal);
#else
    if (EcoDesligado)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &ModoEntradaOriginal);
#endif
    EcoDesligado = 0;
}

std::optional<std::string> LerLinhaSemEco() {
#ifdef _WIN32
    const HANDLE entrada = GetStdHandle(STD_INPUT_HANDLE);
    DWORD modo = 0;
    if (!GetConsoleMode(entrada, &modo))
        return LerLinhaComum();
    ModoEntradaOriginal = modo;
    EcoDesligado = SetConsoleMode(entrada, modo & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) ? 1 : 0;
    // The console's own characters, whatever its code page.
    std::wstring linha;
    bool terminou = false;
    for (wchar_t c = 0; !terminou;) {
        DWORD lidos = 0;
        if (!ReadConsoleW(entrada, &c, 1, &lidos, nullptr) || lidos == 0)
            break;
        terminou = c == L'\n';
        if (!terminou && c != L'\r')
            linha += c;
    }
    RestaurarTerminal();
    if (!terminou && linha.empty())
        return std::nullopt;
    const std::u8string utf8 = std::filesystem::path(linha).u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    termios modo{};
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &modo) != 0)
        return LerLinhaComum();
    ModoEntradaOriginal = modo;
    modo.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    EcoDesligado = ::tcsetattr(STDIN_FILENO, TCSANOW, &modo) == 0 ? 1 : 0;
    auto linha = LerLinhaComum();
    RestaurarTerminal();
    return linha;
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
