#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Writes a file so that a failure part way never leaves a half-written file behind: the text goes to a
// temporary file in the same folder, which replaces the target only in Confirmar, after reaching the disk.
// Until then an existing file of that name stays as it was, and the new one takes its mode and owner; a new
// file gets the usual mode for the user's umask. The temporary file is its owner's alone. Only a regular
// file is replaced: a folder, link, pipe, device or socket at that name, or a target that cannot be written, fails
// at once with "Cannot create file \"<path>\". <reason>"; a failing write with "Stream write error".
class TArquivoSeguro {
public:
    explicit TArquivoSeguro(std::filesystem::path caminho);
    ~TArquivoSeguro();
    TArquivoSeguro(const TArquivoSeguro&) = delete;
    TArquivoSeguro& operator=(const TArquivoSeguro&) = delete;

    void Escrever(std::string_view texto);
    void Confirmar();
    const std::filesystem::path& Caminho() const { return FCaminho; }

private:
    void Descartar();

    // Who owns the file replaced, and its mode, given to the new one; on Windows, its attributes in Modo.
    struct TAtributos {
        bool Existia = false;
        unsigned Modo = 0;
        long long Dono = -1;
        long long Grupo = -1;
    };
    void LerAtributos();
    void AplicarAtributos();

    std::filesystem::path FCaminho;
    std::filesystem::path FTemporario;
    std::FILE* FArquivo = nullptr;
    TAtributos FAtributos;
};

// Replaces the file whole with the lines, each followed by CR LF.
void GravarLinhas(const std::filesystem::path& caminho, const std::vector<std::string>& linhas);
