#include "dao/UArquivoConexao.h"

#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UIni.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UTexto.h"

#include <vector>

namespace {

const std::string SenhaPadraoArmazenada = "7C19E05B3A62D8F40B15";
const std::string SecaoFilial = "FilialMatriz";
const std::string ChaveFilial = "CodFisica";
const std::string SecaoHistorico = "Historico";
const std::string ChavePastaHistorico = "Pasta";
const std::string ChaveCopias = "Copias";

} // namespace

TArquivoConexao::TArquivoConexao(std::filesystem::path caminho) : FCaminho(std::move(caminho)) {}

TArquivoConexao TArquivoConexao::EmUso() {
    return TArquivoConexao(ArquivoConexao(NomeArquivoConexao));
}

std::string TArquivoConexao::TextoNaoEncontrado() {
    const auto pastas = PastasProcuradas();
    std::string texto = TextoAnsi("Nenhum sistema_qor.ini foi encontrado em: ");
    for (std::size_t i = 0; i < pastas.size(); ++i) {
        texto += i == 0 ? "" : i + 1 == pastas.size() ? " e " : ", ";
        texto += CaminhoMensagem(pastas[i]);
    }
    return texto + ".";
}

bool TArquivoConexao::Existe() const {
    return ArquivoExiste(FCaminho);
}

TParametrosConexao TArquivoConexao::Parametros(const std::string& secao) const {
    const TIniFile ini(FCaminho);
    TParametrosConexao parametros;
    parametros.Host = ini.LerTexto(secao, "local", "");
    parametros.Database = ini.LerTexto(secao, "database", "");
    parametros.Usuario = ini.LerTexto(secao, "usuario", "root");
    parametros.Porta = ini.LerInteiro(secao, "Porta", 3306);
    parametros.Senha = SenhaGuardada(ini.LerTexto(secao, "senha", SenhaPadraoArmazenada));
    return parametros;
}

int TArquivoConexao::CodigoFilial() const {
    return TIniFile(FCaminho).LerInteiro(SecaoFilial, ChaveFilial, -1);
}

std::string TArquivoConexao::TextoFilial() const {
    return TIniFile(FCaminho).LerTexto(SecaoFilial, ChaveFilial, "");
}

std::string TArquivoConexao::TextoPastaHistorico() const {
    return Aparar(TIniFile(FCaminho).LerTexto(SecaoHistorico, ChavePastaHistorico, ""));
}

std::filesystem::path TArquivoConexao::PastaHistorico() const {
    const std::string pasta = TextoPastaHistorico();
    if (pasta.empty())
        return {};
    // A relative folder is taken from the settings file's own.
    return FCaminho.parent_path() / ValorParaCaminho(pasta);
}

bool TArquivoConexao::GuardarCopias() const {
    const std::string valor = Aparar(TIniFile(FCaminho).LerTexto(SecaoHistorico, ChaveCopias, ""));
    return valor != "0" && valor != "N" && valor != "n";
}

void TArquivoConexao::Gravar(const std::filesystem::path& destino, const TValoresConexao& valores) const {
    // Everything that can refuse the values comes before the file is touched.
    std::vector<TValorIni> novos = {{SecaoConexao, "local", valores.Host},
                                    {SecaoConexao, "database", valores.Database},
                                    {SecaoConexao, "usuario", valores.Usuario},
                                    {SecaoConexao, "Porta", std::to_string(valores.Porta)}};
    if (valores.Senha)
        novos.push_back({SecaoConexao, "senha", SenhaArmazenada(*valores.Senha)});
    novos.push_back({SecaoFilial, ChaveFilial, valores.CodFisica});
    // A new file starts as a copy of this one, so that nothing else it held is lost; a relative folder of the
    // record, taken from this file's folder, would name another folder from there, so it goes resolved.
    std::string texto;
    if (ArquivoExiste(destino)) {
        texto = LerArquivo(destino);
    } else if (Existe()) {
        texto = LerArquivo(FCaminho);
        if (const std::string pasta = TextoPastaHistorico(); !pasta.empty() && ValorParaCaminho(pasta).is_relative())
            novos.push_back({SecaoHistorico, ChavePastaHistorico, CaminhoParaValor(PastaHistorico())});
    }
    TArquivoSeguro arquivo(destino);
    arquivo.Escrever(TIniFile::ComValores(std::move(texto), novos));
    arquivo.Confirmar();
}
