#include "platform/ULeituraArquivo.h"

#include "platform/UCaminhos.h"
#include "platform/UErro.h"
#include "platform/UErroSistema.h"

#include <cstdio>

void LerEmBlocos(const std::filesystem::path& caminho, const std::function<void(std::string_view)>& receber) {
    std::FILE* arquivo = AbrirArquivo(caminho, "rb");
    if (!arquivo)
        throw EFalha("Cannot open file \"" + CaminhoMensagem(caminho) + "\". " + TextoErroSistema(UltimoErroSistema()));
    char bloco[65536];
    std::size_t lidos;
    try {
        while ((lidos = std::fread(bloco, 1, sizeof bloco, arquivo)) > 0)
            receber(std::string_view(bloco, lidos));
    } catch (...) {
        std::fclose(arquivo);
        throw;
    }
    const bool falhou = std::ferror(arquivo) != 0;
    std::fclose(arquivo);
    if (falhou)
        throw EFalha("Stream read error");
}

std::string LerArquivo(const std::filesystem::path& caminho) {
    std::string texto;
    // Room for the whole file at once: grown a block at a time, a text as large as an export would for a moment
    // hold its old room and a new one twice as large.
    std::error_code erro;
    if (const auto tamanho = std::filesystem::file_size(caminho, erro); !erro)
        texto.reserve(static_cast<std::size_t>(tamanho));
    LerEmBlocos(caminho, [&texto](std::string_view bloco) { texto.append(bloco); });
    return texto;
}

std::vector<std::string> DividirLinhas(std::string_view texto) {
    std::vector<std::string> linhas;
    std::size_t inicio = 0;
    std::size_t i = 0;
    while (i < texto.size()) {
        if (texto[i] == '\r' || texto[i] == '\n') {
            linhas.emplace_back(texto.substr(inicio, i - inicio));
            if (texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')
                ++i;
            inicio = ++i;
        } else {
            ++i;
        }
    }
    if (inicio < texto.size())
        linhas.emplace_back(texto.substr(inicio));
    return linhas;
}

std::vector<std::string> LerLinhas(const std::filesystem::path& caminho) {
    return DividirLinhas(LerArquivo(caminho));
}
