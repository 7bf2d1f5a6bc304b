#include "cli/UComparacaoComando.h"

#include "cli/UComandoExportacao.h"
#include "export/UComparacaoExportacao.h"
#include "export/UVerificacaoExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UTerminal.h"
#include "platform/UTexto.h"

#include <filesystem>
#include <optional>

namespace {

std::string Reais(const std::optional<std::int64_t>& centavos) {
    return centavos ? std::to_string(*centavos / 100) + "." + FormatarZeros(*centavos % 100, 2) : std::string();
}

std::string Linha(const TDiferencaExportacao& d) {
    return TComparacaoExportacao::NomeGrupo(d.Grupo) + '\t' + d.Chapa + '\t' + d.Nome + '\t' + d.Data + '\t' +
           d.Numero + '\t' + Reais(d.CentavosEnviados) + '\t' + Reais(d.CentavosAgora) + '\t' + d.Motivo;
}

} // namespace

int CompararComBanco(const std::string& arquivo, std::ostream& saida, std::ostream& erro) {
    const TConferencia conferencia = THistoricoExportacao::Conferir(std::filesystem::absolute(CaminhoDeUtf8(arquivo)));
    if (!conferencia.Registro) {
        for (const std::string& mensagem : conferencia.Mensagens)
            erro << TextoTerminal(mensagem) << '\n';
        return TComandoExportacao::Falhou;
    }
    const TComparacaoExportacao comparacao = TComparacaoExportacao::Comparar(*conferencia.Registro);
    for (const std::string& linha : comparacao.Resumo())
        saida << TextoTerminal(linha) << '\n';
    for (const TDiferencaExportacao& diferenca : comparacao.Diferencas)
        saida << TextoTerminal(Linha(diferenca)) << '\n';
    saida.flush();
    if (!saida)
        return TComandoExportacao::Falhou;
    return comparacao.Mudou() ? TComandoExportacao::Mudou : TComandoExportacao::Gerado;
}

int ConferirArquivo(const std::string& arquivo, std::ostream& saida) {
    const auto caminho = std::filesystem::absolute(CaminhoDeUtf8(arquivo));
    const TConferencia conferencia = THistoricoExportacao::Conferir(caminho);
    for (const std::string& mensagem : conferencia.Mensagens)
        saida << TextoTerminal(mensagem) << '\n';
    return conferencia.Situacao == TSituacaoConferencia::Conferido ? TComandoExportacao::Gerado
                                                                   : TComandoExportacao::Falhou;
}
