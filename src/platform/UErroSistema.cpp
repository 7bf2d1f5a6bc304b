#include "platform/UErroSistema.h"

#ifdef _WIN32
#include "platform/UCaminhos.h"

#include <filesystem>

#include <windows.h>
#else
#include "platform/UCp1252.h"

#include <cerrno>
#include <system_error>
#endif

#ifdef _WIN32

namespace {

std::string TextoErroWindows(DWORD erro) {
    wchar_t* texto = nullptr;
    const DWORD tamanho =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, erro, 0, reinterpret_cast<wchar_t*>(&texto), 0, nullptr);
    std::wstring largo(texto ? texto : L"", tamanho);
    LocalFree(texto);
    while (!largo.empty() && (largo.back() == L'\r' || largo.back() == L'\n'))
        largo.pop_back();
    return CaminhoMensagem(std::filesystem::path(largo));
}

} // namespace

int UltimoErroSistema() {
    return static_cast<int>(GetLastError());
}

std::string TextoErroSistema(int erro) {
    return TextoErroWindows(static_cast<DWORD>(erro));
}

#else

int UltimoErroSistema() {
    return errno;
}

std::string TextoErroSistema(int erro) {
    return Utf8ParaCp1252(std::generic_category().message(erro));
}

#endif
