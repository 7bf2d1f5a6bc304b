#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Paths inside the program are code page 1252 text; this gives the file system's own form.
std::filesystem::path CaminhoSistema(const std::string& caminho);
std::string CaminhoInterno(const std::filesystem::path& caminho);

bool ArquivoExiste(const std::string& caminho);
bool DiretorioExiste(const std::string& caminho);
// Creates one folder level; its parent must exist.
bool CriarDiretorio(const std::string& caminho);

// The whole file; fails with the path and the system's reason.
std::string LerArquivo(const std::string& caminho);
// The whole file split at CR LF, a lone CR or a lone LF; a line end at the very end adds no empty line.
std::vector<std::string> LerLinhas(const std::string& caminho);
std::vector<std::string> DividirLinhas(std::string_view texto);
// Replaces the file whole with the lines, each followed by CR LF.
void GravarLinhas(const std::string& caminho, const std::vector<std::string>& linhas);

// The system's text for an error number.
std::string TextoErroSistema(int erro);

// Writes a file so that a failure part way never leaves a half-written file behind: the text goes to a
// temporary file in the same folder, which replaces the target only in Confirmar, after reaching the disk.
// Until then an existing file of that name stays as it was. A target that cannot be written fails at once
// with "Cannot create file \"<path>\". <reason>"; a failing write with "Stream write error".
class TArquivoSeguro {
public:
    explicit TArquivoSeguro(std::string caminho);
    ~TArquivoSeguro();
    TArquivoSeguro(const TArquivoSeguro&) = delete;
    TArquivoSeguro& operator=(const TArquivoSeguro&) = delete;

    void Escrever(std::string_view texto);
    void Confirmar();
    const std::string& Caminho() const { return FCaminho; }

private:
    void Descartar();

    std::string FCaminho;
    std::filesystem::path FTemporario;
    std::FILE* FArquivo = nullptr;
};
