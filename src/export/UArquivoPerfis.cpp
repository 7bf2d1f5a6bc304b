#include "export/UArquivoPerfis.h"

#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UErro.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UTexto.h"

#include <string_view>

namespace {

const std::string TodosOsGrupos = "Todos os Grupos";

std::vector<std::string> Linhas() {
    const auto arquivo = TArquivoPerfis::Caminho();
    return ArquivoExiste(arquivo) ? LerLinhas(arquivo) : std::vector<std::string>();
}

std::string Preencher(const std::string& descricao) {
    const auto largura = static_cast<std::size_t>(TArquivoPerfis::TamanhoDescricao);
    return descricao.size() < largura ? descricao + std::string(largura - descricao.size(), ' ') : descricao;
}

} // namespace

std::filesystem::path TArquivoPerfis::Caminho() {
    return ArquivoDados(NomeArquivoPerfis);
}

std::vector<TPerfil> TArquivoPerfis::Ler() {
    const auto linhas = Linhas();
    std::vector<TPerfil> perfis;
    for (std::size_t i = 1; i < linhas.size(); ++i) {
        const std::string& linha = linhas[i];
        const auto largura = std::min(linha.size(), static_cast<std::size_t>(TamanhoDescricao));
        perfis.push_back({linha.substr(0, largura), linha.substr(largura)});
    }
    return perfis;
}

void TArquivoPerfis::Gravar(const std::vector<TPerfil>& perfis) {
    std::vector<std::string> linhas;
    linhas.reserve(perfis.size() + 1);
    linhas.push_back(Preencher(TodosOsGrupos));
    for (const TPerfil& perfil : perfis)
        linhas.push_back(Preencher(perfil.descricao_perfil) + perfil.grupos_vinculados);
    PrepararPastaDados();
    GravarLinhas(Caminho(), linhas);
}

std::vector<std::string> TArquivoPerfis::Descricoes() {
    std::vector<std::string> descricoes;
    for (const std::string& linha : Linhas())
        descricoes.push_back(linha.substr(0, TamanhoDescricao));
    if (descricoes.empty())
        descricoes.push_back(TodosOsGrupos);
    return descricoes;
}

std::string TArquivoPerfis::Grupos(int linha) {
    if (linha <= 0 || !ArquivoExiste(Caminho()))
        return {};
    const auto linhas = LerLinhas(Caminho());
    if (static_cast<std::size_t>(linha) >= linhas.size())
        throw EFalha("List index out of bounds (" + std::to_string(linha) + ")");
    const std::string& texto = linhas[static_cast<std::size_t>(linha)];
    if (texto.size() <= static_cast<std::size_t>(TamanhoDescricao))
        return {};
    return Aparar(std::string_view(texto).substr(TamanhoDescricao));
}

bool TArquivoPerfis::TemPerfil(int linha) {
    return linha > 0 && static_cast<std::size_t>(linha) < Linhas().size();
}

bool TArquivoPerfis::ListaGruposValida(const std::string& lista) {
    if (lista.empty())
        return true;
    if (lista.size() < 3 || lista.front() != '(' || lista.back() != ')')
        return false;
    bool digitoAntes = false;
    for (std::size_t i = 1; i + 1 < lista.size(); ++i) {
        const char c = lista[i];
        if (c >= '0' && c <= '9') {
            digitoAntes = true;
        } else if (c == ',' && digitoAntes) {
            digitoAntes = false;
        } else {
            return false;
        }
    }
    return digitoAntes;
}
