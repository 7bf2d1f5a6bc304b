#include "platform/UPastaConfiguracao.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UPastaPrograma.h"

#include <algorithm>
#include <cstdlib>
#include <random>
#include <system_error>

#ifndef TORVANE_PASTA_SISTEMA
#define TORVANE_PASTA_SISTEMA "/etc/exportacao-torvane"
#endif

namespace {

#ifdef _WIN32
const std::filesystem::path NomePasta = "ExportacaoTorvane";
#else
const std::filesystem::path NomePasta = "exportacao-torvane";
#endif

struct TPastasDefinidas {
    std::filesystem::path Usuario;
    std::filesystem::path Sistema;
};

TPastasDefinidas& PastasDefinidas() {
    static TPastasDefinidas pastas;
    return pastas;
}

std::filesystem::path Ambiente(const char* nome) {
#ifdef _WIN32
    // Wide, as the user's folder may hold any character.
    const wchar_t* valor = _wgetenv(std::filesystem::path(nome).c_str());
#else
    const char* valor = std::getenv(nome);
#endif
    if (!valor || !*valor)
        return {};
    std::filesystem::path caminho(valor);
    // A relative value is not meant for us (the XDG rules say to ignore it).
    return caminho.is_absolute() ? caminho : std::filesystem::path();
}

// The program's folder inside the folder an environment variable names (and `meio` below it); empty when the
// variable names none.
std::filesystem::path PastaEm(const char* variavel, const std::filesystem::path& meio = {}) {
    const auto base = Ambiente(variavel);
    return base.empty() ? base : base / meio / NomePasta;
}

} // namespace

bool InstalacaoPortatil() {
    return ArquivoExiste(PastaPrograma() / NomeArquivoConexao);
}

bool PastaProgramaGravavel() {
    // Asking for the rights would miss read-only media, inherited Windows rules and the like: a folder made
    // and removed again is the one sure answer.
    std::random_device aleatorio;
    const auto prova = PastaPrograma() / (".torvane-gravavel-" + std::to_string(aleatorio()));
    std::error_code erro;
    if (!std::filesystem::create_directory(prova, erro))
        return false;
    std::filesystem::remove(prova, erro);
    return true;
}

std::filesystem::path PastaConfiguracaoUsuario() {
    if (!PastasDefinidas().Usuario.empty())
        return PastasDefinidas().Usuario;
    std::vector<std::filesystem::path> pastas = {PastaEm("XDG_CONFIG_HOME"), PastaEm("HOME", ".config")};
#ifdef _WIN32
    pastas.insert(pastas.begin(), PastaEm("APPDATA"));
#endif
    for (const auto& pasta : pastas)
        if (!pasta.empty())
            return pasta;
    // Nobody's home: the program's folder is the only place left.
    return PastaPrograma();
}

std::filesystem::path PastaConfiguracaoSistema() {
    if (!PastasDefinidas().Sistema.empty())
        return PastasDefinidas().Sistema;
#ifdef _WIN32
    const auto maquina = PastaEm("ProgramData");
    return maquina.empty() ? std::filesystem::path(L"C:\\ProgramData") / NomePasta : maquina;
#else
    return CaminhoDeUtf8(TORVANE_PASTA_SISTEMA);
#endif
}

std::vector<std::filesystem::path> PastasConexao() {
    if (InstalacaoPortatil())
        return {PastaPrograma()};
    return {PastaConfiguracaoUsuario(), PastaConfiguracaoSistema()};
}

std::vector<std::filesystem::path> PastasProcuradas() {
    auto pastas = PastasConexao();
    if (std::none_of(pastas.begin(), pastas.end(),
                     [](const auto& pasta) { return MesmoCaminho(pasta, PastaPrograma()); }))
        pastas.insert(pastas.begin(), PastaPrograma());
    return pastas;
}

std::filesystem::path ArquivoConexao(const std::filesystem::path& nome) {
    const auto pastas = PastasConexao();
    for (const auto& pasta : pastas)
        if (ArquivoExiste(pasta / nome))
            return pasta / nome;
    return pastas.front() / nome;
}

std::filesystem::path PastaDados() {
    return InstalacaoPortatil() ? PastaPrograma() : PastaConfiguracaoUsuario();
}

std::filesystem::path ArquivoDados(const std::filesystem::path& nome) {
    return PastaDados() / nome;
}

void PrepararPastaDados() {
    PrepararPasta(PastaDados(), TextoAnsi("de configurações"));
}

void PrepararPasta(const std::filesystem::path& pasta, const std::string& finalidade) {
    std::error_code erro;
    if (std::filesystem::is_directory(pasta, erro))
        return;
    std::filesystem::create_directories(pasta, erro);
    if (erro)
        throw EFalha(TextoAnsi("Não foi possível criar a pasta ") + finalidade + " \"" + CaminhoMensagem(pasta) +
                     "\". " + Utf8ParaCp1252(erro.message()));
}

void DefinirPastasConfiguracao(const std::filesystem::path& usuario, const std::filesystem::path& sistema) {
    PastasDefinidas() = {usuario, sistema};
}
