#include "export/UVerificacaoExportacao.h"

#include "export/UArquivoPerfis.h"
#include "export/ULinhaExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UPastaPrograma.h"
#include "platform/UTexto.h"

namespace {

TProblemaExportacao Problema(TCampoExportacao campo, const char* texto) {
    return {campo, TextoAnsi(texto)};
}

} // namespace

std::optional<TProblemaExportacao> VerificarPerfil(int perfil) {
    if (perfil == 0 || TArquivoPerfis::TemPerfil(perfil))
        return std::nullopt;
    const auto arquivo = TArquivoPerfis::Caminho();
    return TProblemaExportacao{TCampoExportacao::Perfil,
                               TextoAnsi("O perfil ") + std::to_string(perfil) +
                                   TextoAnsi(" não existe no arquivo de perfis ") + CaminhoMensagem(arquivo) +
                                   (ArquivoExiste(arquivo) ? "" : TextoAnsi(" (o arquivo não existe)")) +
                                   TextoAnsi(". Informe a linha de um perfil do arquivo, ou 0 para todos os grupos.")};
}

std::filesystem::path PastaExportacao(const std::filesystem::path& diretorio) {
    std::filesystem::path pasta = diretorio;
    if (pasta.empty() || pasta.native().back() != std::filesystem::path::preferred_separator)
        pasta += std::filesystem::path::preferred_separator;
    return pasta;
}

TNomeExportacao NomeExportacao(const std::string& digitado) {
    return {CaminhoDeUtf8(CompletarNomeArquivo(digitado)), ProblemaNomeArquivo(digitado)};
}

namespace {

std::optional<TProblemaExportacao> ProblemaPasta(const std::filesystem::path& diretorio) {
    if (Aparar(CaminhoMensagem(diretorio)).empty())
        return Problema(TCampoExportacao::Diretorio, "Selecione o diretório onde será gerado o arquivo.");
    if (const auto pasta = PastaExportacao(diretorio); !DiretorioExiste(pasta))
        return TProblemaExportacao{TCampoExportacao::Diretorio,
                                   TextoAnsi("O Diretório \"") + CaminhoMensagem(pasta) + TextoAnsi("\" não existe."),
                                   true};
    return std::nullopt;
}

std::optional<TProblemaExportacao> ProblemaNome(const std::string& digitado) {
    if (Aparar(Utf8ParaCp1252(digitado)).empty())
        return Problema(TCampoExportacao::NomeArquivo, "Informe o nome do arquivo.");
    if (TNomeExportacao nome = NomeExportacao(digitado); !nome.Problema.empty())
        return TProblemaExportacao{TCampoExportacao::NomeArquivo, std::move(nome.Problema)};
    return std::nullopt;
}

} // namespace

std::optional<TProblemaExportacao> VerificarExportacao(const TPedidoExportacao& pedido, bool arquivo) {
    using enum TCampoExportacao;
    if (auto problema = arquivo ? ProblemaPasta(pedido.Diretorio) : std::nullopt)
        return problema;
    if (!pedido.DataInicial)
        return Problema(DataInicial, "Período inicial inválido.");
    if (!pedido.DataFinal)
        return Problema(DataFinal, "Período final inválido.");
    if (pedido.Empresa <= 0)
        return Problema(Empresa, "Informe o número da empresa");
    if (auto problema = arquivo ? ProblemaNome(pedido.NomeArquivo) : std::nullopt)
        return problema;
    // The file holds the number in two digits.
    if (pedido.CodTorvane <= 0 || pedido.CodTorvane > MaiorCodTorvane)
        return Problema(CodTorvane, "Informe o número da empresa na Torvane");
    return std::nullopt;
}
