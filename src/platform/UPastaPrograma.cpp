#include "UPastaPrograma.h"

#include "UArquivos.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::string& PastaDefinida() {
    static std::string pasta;
    return pasta;
}

std::string PastaDoExecutavel() {
#ifdef _WIN32
    std::wstring nome(32768, L'\0');
    nome.resize(GetModuleFileNameW(nullptr, nome.data(), static_cast<DWORD>(nome.size())));
    const std::filesystem::path caminho(nome);
#else
    std::error_code erro;
    auto caminho = std::filesystem::read_symlink("/proc/self/exe", erro);
    if (erro)
        caminho = std::filesystem::current_path() / "programa";
#endif
    return CaminhoInterno(caminho.parent_path());
}

} // namespace

char SeparadorPasta() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

bool SistemaIgnoraCaixa() {
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

std::string IncluirSeparador(const std::string& pasta) {
    if (!pasta.empty() && pasta.back() == SeparadorPasta())
        return pasta;
    return pasta + SeparadorPasta();
}

std::string PastaPrograma() {
    if (!PastaDefinida().empty())
        return IncluirSeparador(PastaDefinida());
    static const std::string pasta = IncluirSeparador(PastaDoExecutavel());
    return pasta;
}

void DefinirPastaPrograma(const std::string& pasta) {
    PastaDefinida() = pasta;
}
