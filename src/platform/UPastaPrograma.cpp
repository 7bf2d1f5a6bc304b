#include "platform/UPastaPrograma.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::filesystem::path& PastaDefinida() {
    static std::filesystem::path pasta;
    return pasta;
}

std::filesystem::path PastaDoExecutavel() {
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
    return caminho.parent_path();
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

std::filesystem::path PastaPrograma() {
    if (!PastaDefinida().empty())
        return PastaDefinida();
    static const std::filesystem::path pasta = PastaDoExecutavel();
    return pasta;
}

void DefinirPastaPrograma(const std::filesystem::path& pasta) {
    PastaDefinida() = pasta;
}
