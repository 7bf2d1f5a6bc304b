#include "platform/UUsuarioSistema.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"

#include <cstdlib>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

std::string NomeDaConta() {
    wchar_t nome[257];
    DWORD tamanho = static_cast<DWORD>(std::size(nome));
    return GetUserNameW(nome, &tamanho) ? CaminhoMensagem(std::filesystem::path(nome)) : std::string();
}

std::string NomeDoAmbiente() {
    const wchar_t* nome = _wgetenv(L"USERNAME");
    return nome ? CaminhoMensagem(std::filesystem::path(nome)) : std::string();
}

#else

std::string Ansi(const char* nome) {
    return PareceUtf8(nome) ? Utf8ParaCp1252(nome) : std::string(nome);
}

std::string NomeDaConta() {
    long tamanho = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> memoria(tamanho > 0 ? static_cast<std::size_t>(tamanho) : 16384);
    passwd conta{};
    passwd* achada = nullptr;
    if (::getpwuid_r(::geteuid(), &conta, memoria.data(), memoria.size(), &achada) != 0 || !achada || !achada->pw_name)
        return {};
    return Ansi(achada->pw_name);
}

std::string NomeDoAmbiente() {
    for (const char* variavel : {"USER", "LOGNAME"}) {
        const char* nome = std::getenv(variavel);
        if (nome && *nome)
            return Ansi(nome);
    }
    return {};
}

#endif

} // namespace

std::string NomeUsuarioSistema() {
    const std::string nome = NomeDaConta();
    return nome.empty() ? NomeDoAmbiente() : nome;
}
