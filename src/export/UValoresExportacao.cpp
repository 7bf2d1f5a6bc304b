#include "export/UValoresExportacao.h"

#include "platform/UArquivos.h"
#include "platform/UCp1252.h"
#include "platform/UIni.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UTexto.h"

namespace {
const std::string Secao = "QOR";
}

std::filesystem::path TValoresExportacao::ArquivoConfiguracoes() {
    return ArquivoDados(NomeArquivoValores);
}

TValoresExportacao TValoresExportacao::Ler() {
    const TIniFile ini(ArquivoConfiguracoes());
    TValoresExportacao valores;
    valores.Diretorio = ValorParaCaminho(ini.LerTexto(Secao, "Diretorio", ""));
    valores.Empresa = ini.LerInteiro(Secao, "Empresa", 0);
    valores.CodTorvane = ini.LerInteiro(Secao, "CodTorvane", 0);
    valores.TipoData = ini.LerInteiro(Secao, "TipoData", 0);
    return valores;
}

void TValoresExportacao::Gravar() const {
    PrepararPastaDados();
    TIniFile ini(ArquivoConfiguracoes());
    ini.GravarTexto(Secao, "Diretorio", CaminhoParaValor(Diretorio));
    ini.GravarInteiro(Secao, "Empresa", Empresa);
    ini.GravarInteiro(Secao, "CodTorvane", CodTorvane);
    ini.GravarInteiro(Secao, "TipoData", TipoData == 0 ? 0 : 1);
}

std::string CompletarNomeArquivo(const std::string& nome) {
    // Counted in characters, as the user sees them, not in UTF-8 bytes.
    const std::string ansi = Utf8ParaCp1252(nome);
    if (ansi.size() < 4 || MinusculasAnsi(ansi).find(".txt") == std::string::npos)
        return nome + ".txt";
    return nome;
}

std::string ProblemaNomeArquivo(const std::string& nome) {
#ifdef _WIN32
    const char* separadores = "/\\:";
    const std::string proibidos = "\"/\", \"\\\" ou \":\"";
#else
    const char* separadores = "/";
    const std::string proibidos = "\"/\"";
#endif
    if (nome.find_first_of(separadores) == std::string::npos && nome != "." && nome != "..")
        return {};
    return TextoAnsi("O nome do arquivo \"") + Utf8ParaCp1252(nome) +
           TextoAnsi("\" não é válido: informe só o nome do arquivo, sem pasta (sem ") + proibidos +
           TextoAnsi("), e escolha a pasta em \"Diretório de Geração do Arquivo\".");
}
