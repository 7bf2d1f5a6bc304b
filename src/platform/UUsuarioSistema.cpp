#include "platform/UUsuarioSistema.h"

#include "platform/UArquivos.h"
#include "platform/UCp1252.h"

#include <cstdlib>

#ifdef _WIN32
#include <cwchar>
#endif

std::string NomeUsuarioSistema() {
#ifdef _WIN32
    const wchar_t* nome = _wgetenv(L"USERNAME");
    return nome ? CaminhoMensagem(std::filesystem::path(nome)) : std::string();
#else
    for (const char* variavel : {"USER", "LOGNAME"}) {
        const char* nome = std::getenv(variavel);
        if (nome && *nome)
            return PareceUtf8(nome) ? Utf8ParaCp1252(nome) : std::string(nome);
    }
    return {};
#endif
}
