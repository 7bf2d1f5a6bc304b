#include "platform/UCaminhos.h"

#include "platform/UCp1252.h"

#include <system_error>

#ifdef _WIN32
#include <cwchar>
#endif

std::filesystem::path CaminhoDeUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string CaminhoUtf8(const std::filesystem::path& caminho) {
    const std::u8string utf8 = caminho.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::string CaminhoMensagem(const std::filesystem::path& caminho) {
    return Utf8ParaCp1252(CaminhoUtf8(caminho));
}

std::string CaminhoParaValor(const std::filesystem::path& caminho) {
    const std::string utf8 = CaminhoUtf8(caminho);
    if (!CabeEmCp1252(utf8))
        return utf8;
    std::string ansi = Utf8ParaCp1252(utf8);
    // Code page 1252 bytes that happen to form UTF-8 would be read back as other characters.
    return PareceUtf8(ansi) ? utf8 : ansi;
}

std::filesystem::path ValorParaCaminho(std::string_view valor) {
    return CaminhoDeUtf8(PareceUtf8(valor) ? std::string(valor) : Cp1252ParaUtf8(valor));
}

bool ArquivoExiste(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::is_regular_file(caminho, erro);
}

bool DiretorioExiste(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::is_directory(caminho, erro);
}

bool CriarDiretorio(const std::filesystem::path& caminho) {
    std::error_code erro;
    return std::filesystem::create_directory(caminho, erro) && !erro;
}

bool MesmoCaminho(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code erro;
    if (std::filesystem::equivalent(a, b, erro))
        return true;
    const auto absolutoA = std::filesystem::absolute(a, erro).lexically_normal();
    const auto absolutoB = std::filesystem::absolute(b, erro).lexically_normal();
#ifdef _WIN32
    return _wcsicmp(absolutoA.c_str(), absolutoB.c_str()) == 0;
#else
    return absolutoA == absolutoB;
#endif
}

std::FILE* AbrirArquivo(const std::filesystem::path& caminho, const char* modo) {
#ifdef _WIN32
    std::wstring modoLargo(modo, modo + std::char_traits<char>::length(modo));
    return _wfopen(caminho.c_str(), modoLargo.c_str());
#else
    return std::fopen(caminho.c_str(), modo);
#endif
}
