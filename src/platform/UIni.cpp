#include "platform/UIni.h"

#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UTexto.h"

#include <optional>
#include <string_view>
#include <vector>

namespace {

// One line of the file as it stands, so that writing can give back every other byte unchanged.
struct TLinhaIni {
    std::size_t Inicio;
    std::size_t Fim;          // end of the content, before the line end
    std::size_t FimComQuebra; // after the line end
};

bool EhBranco(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view AparaBrancos(std::string_view texto) {
    while (!texto.empty() && EhBranco(texto.front()))
        texto.remove_prefix(1);
    while (!texto.empty() && EhBranco(texto.back()))
        texto.remove_suffix(1);
    return texto;
}

std::vector<TLinhaIni> Linhas(std::string_view texto) {
    std::vector<TLinhaIni> linhas;
    std::size_t inicio = 0;
    std::size_t i = 0;
    while (i < texto.size()) {
        if (texto[i] == '\r' || texto[i] == '\n') {
            const std::size_t fim = i;
            if (texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')
                ++i;
            ++i;
            linhas.push_back({inicio, fim, i});
            inicio = i;
        } else {
            ++i;
        }
    }
    if (inicio < texto.size())
        linhas.push_back({inicio, texto.size(), texto.size()});
    return linhas;
}

// The section named on a "[name]" line.
std::optional<std::string_view> Secao(std::string_view linha) {
    linha = AparaBrancos(linha);
    if (linha.empty() || linha.front() != '[')
        return std::nullopt;
    linha.remove_prefix(1);
    const auto fecha = linha.find(']');
    if (fecha != std::string_view::npos)
        linha = linha.substr(0, fecha);
    return AparaBrancos(linha);
}

// The key of a "key=value" line; comment lines have none, and neither has a line without "=", which
// would otherwise turn a stray word into a key with an empty value instead of its default.
std::optional<std::string_view> Chave(std::string_view linha) {
    linha = AparaBrancos(linha);
    const auto igual = linha.find('=');
    if (linha.empty() || linha.front() == ';' || igual == std::string_view::npos)
        return std::nullopt;
    return AparaBrancos(linha.substr(0, igual));
}

std::string_view Valor(std::string_view linha) {
    const auto igual = linha.find('=');
    if (igual == std::string_view::npos)
        return {};
    auto valor = AparaBrancos(linha.substr(igual + 1));
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') && valor.back() == valor.front())
        valor = valor.substr(1, valor.size() - 2);
    return valor.substr(0, std::min(valor.size(), TIniFile::TamanhoMaximoValor));
}

// Where a key stands in the file: the first section of that name, and the key's line in it.
struct TPosicaoChave {
    std::optional<std::size_t> LinhaSecao;
    std::optional<std::size_t> UltimaLinhaSecao; // last line with content in the section
    std::optional<std::size_t> LinhaChave;
};

TPosicaoChave Localizar(std::string_view texto, const std::vector<TLinhaIni>& linhas, const std::string& secao,
                        const std::string& chave) {
    TPosicaoChave posicao;
    for (std::size_t i = 0; i < linhas.size(); ++i) {
        const auto linha = texto.substr(linhas[i].Inicio, linhas[i].Fim - linhas[i].Inicio);
        if (const auto nome = Secao(linha)) {
            if (posicao.LinhaSecao)
                break;
            if (IguaisSemCaixa(*nome, secao)) {
                posicao.LinhaSecao = i;
                posicao.UltimaLinhaSecao = i;
            }
            continue;
        }
        if (!posicao.LinhaSecao)
            continue;
        if (!AparaBrancos(linha).empty())
            posicao.UltimaLinhaSecao = i;
        const auto nomeChave = Chave(linha);
        if (nomeChave && IguaisSemCaixa(*nomeChave, chave)) {
            posicao.LinhaChave = i;
            break;
        }
    }
    return posicao;
}

std::optional<std::string> LerValor(const std::filesystem::path& caminho, const std::string& secao,
                                    const std::string& chave) {
    if (!ArquivoExiste(caminho))
        return std::nullopt;
    std::string texto;
    try {
        texto = LerArquivo(caminho);
    } catch (...) {
        // An unreadable file reads like a missing one, as Windows' own routines do.
        return std::nullopt;
    }
    const auto linhas = Linhas(texto);
    const auto posicao = Localizar(texto, linhas, secao, chave);
    if (!posicao.LinhaChave)
        return std::nullopt;
    const auto& linha = linhas[*posicao.LinhaChave];
    return std::string(Valor(std::string_view(texto).substr(linha.Inicio, linha.Fim - linha.Inicio)));
}

std::string QuebraDoArquivo(std::string_view texto, const std::vector<TLinhaIni>& linhas) {
    for (const auto& linha : linhas)
        if (linha.FimComQuebra > linha.Fim)
            return std::string(texto.substr(linha.Fim, linha.FimComQuebra - linha.Fim));
    return "\r\n";
}

// The text with the key's value replaced, or the key added at the end of its section, or the section added at the
// end of the text; every other byte stays.
std::string ComValor(const std::string& texto, const std::string& secao, const std::string& chave,
                     const std::string& valor) {
    const auto linhas = Linhas(texto);
    const auto posicao = Localizar(texto, linhas, secao, chave);
    const std::string quebra = QuebraDoArquivo(texto, linhas);

    std::string novo;
    if (posicao.LinhaChave) {
        const auto& linha = linhas[*posicao.LinhaChave];
        const auto nomeAtual = *Chave(std::string_view(texto).substr(linha.Inicio, linha.Fim - linha.Inicio));
        novo = texto.substr(0, linha.Inicio) + std::string(nomeAtual) + "=" + valor + texto.substr(linha.Fim);
    } else if (posicao.LinhaSecao) {
        const auto& ultima = linhas[*posicao.UltimaLinhaSecao];
        const bool temQuebra = ultima.FimComQuebra > ultima.Fim;
        novo = texto.substr(0, ultima.FimComQuebra) + (temQuebra ? "" : quebra) + chave + "=" + valor + quebra +
               texto.substr(ultima.FimComQuebra);
    } else {
        novo = texto;
        if (!novo.empty() && novo.back() != '\n' && novo.back() != '\r')
            novo += quebra;
        novo += "[" + secao + "]" + quebra + chave + "=" + valor + quebra;
    }
    return novo;
}

} // namespace

TIniFile::TIniFile(std::filesystem::path caminho) : FCaminho(std::move(caminho)) {}

std::string TIniFile::LerTexto(const std::string& secao, const std::string& chave, const std::string& padrao) const {
    return LerValor(FCaminho, secao, chave).value_or(padrao);
}

int TIniFile::LerInteiro(const std::string& secao, const std::string& chave, int padrao) const {
    const auto valor = LerValor(FCaminho, secao, chave);
    return valor ? ConverterInteiroPadrao(*valor, padrao) : padrao;
}

bool TIniFile::ExisteChave(const std::string& secao, const std::string& chave) const {
    return LerValor(FCaminho, secao, chave).has_value();
}

void TIniFile::GravarTexto(const std::string& secao, const std::string& chave, const std::string& valor) {
    GravarTextos({{secao, chave, valor}});
}

void TIniFile::GravarTextos(const std::vector<TValorIni>& valores) {
    const std::string texto = ComValores(ArquivoExiste(FCaminho) ? LerArquivo(FCaminho) : std::string(), valores);
    TArquivoSeguro arquivo(FCaminho);
    arquivo.Escrever(texto);
    arquivo.Confirmar();
}

std::string TIniFile::ComValores(std::string texto, const std::vector<TValorIni>& valores) {
    for (const auto& [secao, chave, valor] : valores)
        texto = ComValor(texto, secao, chave, valor);
    return texto;
}

void TIniFile::GravarInteiro(const std::string& secao, const std::string& chave, int valor) {
    GravarTexto(secao, chave, std::to_string(valor));
}
