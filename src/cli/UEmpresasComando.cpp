#include "cli/UEmpresasComando.h"

#include "dao/UQuery.h"
#include "export/UDados.h"
#include "export/UValoresExportacao.h"
#include "platform/UTexto.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>

namespace {

std::vector<std::string> Partes(const std::string& texto) {
    std::vector<std::string> partes;
    std::size_t inicio = 0;
    for (std::size_t virgula; (virgula = texto.find(',', inicio)) != std::string::npos; inicio = virgula + 1)
        partes.push_back(texto.substr(inicio, virgula - inicio));
    partes.push_back(texto.substr(inicio));
    return partes;
}

// "N=C" pairs, or none when the text is something else.
std::optional<std::map<int, int>> Pares(const std::string& texto) {
    std::map<int, int> pares;
    for (const std::string& parte : Partes(texto)) {
        const auto igual = parte.find('=');
        const auto empresa = igual == std::string::npos ? std::nullopt : InteiroDecimal(parte.substr(0, igual));
        const auto codigo = igual == std::string::npos ? std::nullopt : InteiroDecimal(parte.substr(igual + 1));
        if (!empresa || !codigo)
            return std::nullopt;
        pares[*empresa] = *codigo;
    }
    return pares;
}

void Substituir(std::string& texto, const std::string& marca, const std::string& valor) {
    for (auto lugar = texto.find(marca); lugar != std::string::npos; lugar = texto.find(marca, lugar + valor.size()))
        texto.replace(lugar, marca.size(), valor);
}

} // namespace

std::string TEmpresasComando::ProblemaEmpresas(const std::string& texto) {
    if (Todas(texto))
        return {};
    for (const std::string& parte : Partes(texto))
        if (!InteiroDecimal(parte))
            return TextoNumeroRecusado(parte, INT_MIN, INT_MAX);
    return {};
}

std::string TEmpresasComando::ProblemaCodigos(const std::string& texto) {
    if (texto.find('=') == std::string::npos)
        return InteiroDecimal(texto) ? std::string() : TextoNumeroRecusado(texto, INT_MIN, INT_MAX);
    if (Pares(texto))
        return {};
    return "\"" + texto + "\" não é um número na Torvane por empresa: use empresa=número, como 1=7,2=8";
}

std::vector<int> TEmpresasComando::Empresas(const std::string& texto) {
    std::vector<int> empresas;
    if (Todas(texto)) {
        const auto lista = TDadosExportacao::AbrirEmpresas();
        for (lista->Primeiro(); !lista->FimDosDados(); lista->Proximo())
            empresas.push_back(lista->Campo("empresa_id").Inteiro());
    } else {
        for (const std::string& parte : Partes(texto))
            empresas.push_back(*InteiroDecimal(parte));
    }
    std::vector<int> unicas;
    for (const int empresa : empresas)
        if (std::find(unicas.begin(), unicas.end(), empresa) == unicas.end())
            unicas.push_back(empresa);
    return unicas;
}

int TEmpresasComando::CodTorvane(int empresa, const std::string& codigos, bool varias, int salvo) {
    if (const auto pares = codigos.empty() ? std::nullopt : Pares(codigos)) {
        if (const auto par = pares->find(empresa); par != pares->end())
            return par->second;
    } else if (!codigos.empty()) {
        if (varias)
            throw EUsoComando(
                "Com várias empresas, informe o número na Torvane de cada uma, como --cod-torvane 1=7,2=8: "
                "um número só mandaria todas como uma empresa.");
        return *InteiroDecimal(codigos);
    }
    if (const auto valores = ValoresDaEmpresa(empresa))
        return valores->CodTorvane;
    if (!varias && codigos.empty())
        return salvo;
    throw EUsoComando("A empresa " + std::to_string(empresa) + " não tem número na Torvane conhecido: informe-o com " +
                      "--cod-torvane " + std::to_string(empresa) + "=N.");
}

std::string TEmpresasComando::NomeArquivo(const std::string& modelo, int empresa, int codTorvane, bool varias) {
    if (varias && modelo.find("{empresa}") == std::string::npos)
        throw EUsoComando(
            "Com várias empresas, o nome do arquivo deve ter {empresa}, que cada uma troca pelo seu número "
            "(e pode ter {codtorvane}, que cada uma troca pelo seu número na Torvane).");
    std::string nome = modelo;
    Substituir(nome, "{empresa}", std::to_string(empresa));
    Substituir(nome, "{codtorvane}", std::to_string(codTorvane));
    return nome;
}
