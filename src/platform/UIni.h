#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

// One value to write: the key of the section.
struct TValorIni {
    std::string Secao;
    std::string Chave;
    std::string Valor;
};

// An INI file read and written the way Windows' private profile routines do: sections and keys found
// without regard to case, values trimmed of blanks and of one pair of enclosing quotes, at most 2,047
// characters read. Writing changes only the line of that key and leaves every other byte of the file
// as it was. The file is read afresh on every call.
class TIniFile {
public:
    // The longest value read; the rest of a longer one is left out.
    static constexpr std::size_t TamanhoMaximoValor = 2047;

    explicit TIniFile(std::filesystem::path caminho);

    const std::filesystem::path& Caminho() const { return FCaminho; }

    // A missing file, section or key gives the default; a key present with an empty value gives "".
    std::string LerTexto(const std::string& secao, const std::string& chave, const std::string& padrao) const;
    // The value converted whole (see ConverterInteiro); anything else gives the default.
    int LerInteiro(const std::string& secao, const std::string& chave, int padrao) const;
    bool ExisteChave(const std::string& secao, const std::string& chave) const;

    // Creates the file and the section when missing. Fails with the path and the system's reason.
    void GravarTexto(const std::string& secao, const std::string& chave, const std::string& valor);
    void GravarInteiro(const std::string& secao, const std::string& chave, int valor);
    // Every value in one replacement of the file: after a failure the file is as it was.
    void GravarTextos(const std::vector<TValorIni>& valores);

    // The text of a file with the values written into it, as the writers above write them.
    static std::string ComValores(std::string texto, const std::vector<TValorIni>& valores);

private:
    std::filesystem::path FCaminho;
};
