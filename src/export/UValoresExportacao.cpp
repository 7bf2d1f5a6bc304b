#include "export/UValoresExportacao.h"

#include "export/UHistoricoExportacao.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UIni.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UTexto.h"

#include <algorithm>

namespace {
const std::string Secao = "QOR";
const std::string SecaoEmpresas = "Empresas";

std::string Chave(const char* nome, int empresa) {
    return std::string(nome) + "_" + std::to_string(empresa);
}
} // namespace

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

std::optional<TValoresEmpresa> ValoresDaEmpresa(int empresa) {
    const TIniFile ini(TValoresExportacao::ArquivoConfiguracoes());
    if (ini.ExisteChave(SecaoEmpresas, Chave("CodTorvane", empresa)))
        return TValoresEmpresa{
            ini.LerInteiro(SecaoEmpresas, Chave("CodTorvane", empresa), 0),
            CaminhoUtf8(ValorParaCaminho(ini.LerTexto(SecaoEmpresas, Chave("Arquivo", empresa), "")))};
    try {
        const auto registros = THistoricoExportacao::Ler().Registros;
        const auto ultimo = std::find_if(registros.rbegin(), registros.rend(),
                                         [empresa](const auto& registro) { return registro.Empresa == empresa; });
        if (ultimo != registros.rend())
            return TValoresEmpresa{ultimo->CodTorvane, CaminhoUtf8(ultimo->Arquivo.filename())};
    } catch (const std::exception&) {
        // A record that cannot be read knows nothing of the company.
    }
    return std::nullopt;
}

void GravarValoresDaEmpresa(int empresa, const TValoresEmpresa& valores) {
    PrepararPastaDados();
    TIniFile(TValoresExportacao::ArquivoConfiguracoes())
        .GravarTextos(
            {{SecaoEmpresas, Chave("CodTorvane", empresa), std::to_string(valores.CodTorvane)},
             {SecaoEmpresas, Chave("Arquivo", empresa), CaminhoParaValor(CaminhoDeUtf8(valores.NomeArquivo))}});
}

std::string CompletarNomeArquivo(const std::string& nome) {
    // Counted in characters, as the user sees them, not in UTF-8 bytes.
    const std::string ansi = Utf8ParaCp1252(nome);
    if (ansi.size() < 4 || MinusculasAnsi(ansi).find(".txt") == std::string::npos)
        return nome + ".txt";
    return nome;
}

namespace {

std::string NaoValido(const std::string& nome, const std::string& motivo) {
    return TextoAnsi("O nome do arquivo \"") + Utf8ParaCp1252(nome) + TextoAnsi("\" não é válido: ") +
           TextoAnsi(motivo);
}

#ifdef _WIN32
// The names Windows keeps for its devices, with any extension: "CON.txt" is the console too.
bool NomeDeDispositivo(const std::string& nome) {
    std::string base = nome.substr(0, nome.find('.'));
    // The device names are plain letters and digits; any other character makes another name.
    std::transform(base.begin(), base.end(), base.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

// What else Windows refuses in the name typed, judged as the file will be named ("abc " becomes "abc .txt",
// which Windows takes); empty when it takes it.
std::string ProblemaNoWindows(const std::string& nome) {
    const std::string completo = CompletarNomeArquivo(nome);
    const bool controle = std::any_of(nome.begin(), nome.end(), [](char c) { return c > 0 && c < 32; });
    if (controle || nome.find_first_of("<>\"|?*") != std::string::npos)
        return NaoValido(nome, "o Windows não aceita os caracteres < > : \" / \\ | ? * num nome de arquivo.");
    if (NomeDeDispositivo(completo))
        return NaoValido(nome, "o Windows reserva esse nome para um dispositivo (CON, PRN, AUX, NUL, COM1 a COM9 e "
                               "LPT1 a LPT9, com ou sem extensão).");
    if (completo.back() == '.' || completo.back() == ' ')
        return NaoValido(nome, "o Windows não aceita um nome que termine em ponto ou espaço.");
    return {};
}
#endif

} // namespace

std::string ProblemaNomeArquivo(const std::string& nome) {
#ifdef _WIN32
    const char* separadores = "/\\:";
    const std::string proibidos = "\"/\", \"\\\" ou \":\"";
#else
    const char* separadores = "/";
    const std::string proibidos = "\"/\"";
#endif
    if (nome.find_first_of(separadores) != std::string::npos || nome == "." || nome == "..")
        return NaoValido(nome, "informe só o nome do arquivo, sem pasta (sem " + proibidos +
                                   "), e escolha a pasta em \"Diretório de Geração do Arquivo\".");
#ifdef _WIN32
    if (!nome.empty())
        return ProblemaNoWindows(nome);
#endif
    return {};
}
