#include "UValoresExportacao.h"

#include "UIni.h"
#include "UPastaPrograma.h"
#include "UTexto.h"

namespace {
const std::string Secao = "QOR";
}

std::string TValoresExportacao::ArquivoConfiguracoes() {
    return PastaPrograma() + "ExportacaoKOTR.ini";
}

TValoresExportacao TValoresExportacao::Ler() {
    const TIniFile ini(ArquivoConfiguracoes());
    TValoresExportacao valores;
    valores.Diretorio = ini.LerTexto(Secao, "Diretorio", "");
    valores.Empresa = ini.LerInteiro(Secao, "Empresa", 0);
    valores.CodTorvane = ini.LerInteiro(Secao, "CodTorvane", 0);
    valores.TipoData = ini.LerInteiro(Secao, "TipoData", 0);
    return valores;
}

void TValoresExportacao::Gravar() const {
    TIniFile ini(ArquivoConfiguracoes());
    ini.GravarTexto(Secao, "Diretorio", Diretorio);
    ini.GravarInteiro(Secao, "Empresa", Empresa);
    ini.GravarInteiro(Secao, "CodTorvane", CodTorvane);
    ini.GravarInteiro(Secao, "TipoData", TipoData == 0 ? 0 : 1);
}

std::string CompletarNomeArquivo(const std::string& nome) {
    if (nome.size() < 4 || MinusculasAnsi(nome).find(".txt") == std::string::npos)
        return nome + ".txt";
    return nome;
}
