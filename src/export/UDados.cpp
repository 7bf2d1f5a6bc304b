#include "export/UDados.h"

#include "dao/UArquivoConexao.h"
#include "dao/UConexao.h"
#include "dao/UDao.h"
#include "dao/UQuery.h"
#include "export/UArquivoPerfis.h"
#include "export/UConclusaoExportacao.h"
#include "export/ULeituraLancamentos.h"
#include "export/ULinhaExportacao.h"
#include "export/USelecaoExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/USha256.h"
#include "platform/UTexto.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace {

std::unique_ptr<TConexao> ConexaoCompartilhada;
IProgresso* ProgressoRegistrado = nullptr;
IInformacao* InformacaoRegistrada = nullptr;
IEventos* EventosRegistrados = nullptr;
int CacheFilialMatriz = -1;

TConexao& Conexao() {
    if (!ConexaoCompartilhada)
        throw EFalha(TextoAnsi("Não há conexão com o banco de dados."));
    return *ConexaoCompartilhada;
}

void Informar(const std::string& texto) {
    if (InformacaoRegistrada)
        InformacaoRegistrada->Informar(texto, TextoAnsi("Informação"));
}

// Lines go to the file and to its digest a block at a time: a call of each for every line would cost more than
// making the line.
constexpr std::size_t TamanhoBloco = 1 << 16;

void Gravar(std::string& bloco, TArquivoSeguro& arquivo, TSha256& resumo) {
    arquivo.Escrever(bloco);
    resumo.Acrescentar(bloco);
    bloco.clear();
}

// The file goes into the chosen folder and nowhere else: a name that holds a folder, or is "." or "..", is refused.
void ExigirNomeSimples(const std::filesystem::path& nome) {
    if (!nome.empty() && nome == nome.filename() && nome != "." && nome != "..")
        return;
    const std::string problema = ProblemaNomeArquivo(CaminhoUtf8(nome));
    throw EFalha((problema.empty() ? TextoAnsi("Informe o nome do arquivo.") : problema) +
                 TextoAnsi(" Nenhum arquivo foi gravado."));
}

// The query of a selection; the look before writing also asks, for each name, whether the server had to put "?"
// for a character that code page 1252 lacks. Both sides go through utf8mb4, which holds every character of any
// column, and are compared byte for byte.
std::string SqlSelecao(const TFiltroExportacao& filtro, bool perdas) {
    std::string sql = TDadosExportacao::SqlExportacao(filtro.DataLancamento, filtro.DataInicial, filtro.DataFinal,
                                                      filtro.Empresa, filtro.Grupos.value_or(""));
    if (perdas)
        sql.insert(
            sql.find(" from \r\n"),
            "   ,(cast(convert(clientes.nome using utf8mb4) as binary) <> "
            "cast(convert(convert(clientes.nome using latin1) using utf8mb4) as binary)) as nome_com_perda \r\n");
    return sql;
}

std::unique_ptr<TQuery> AbrirSelecao(TFiltroExportacao& filtro, bool perdas) {
    filtro.Grupos = filtro.Grupos ? GruposVerificados(filtro.CodTorvane, *filtro.Grupos)
                                  : GruposDaExportacao(filtro.CodTorvane, filtro.Perfil);
    auto query = std::make_unique<TQuery>(Conexao(), SqlSelecao(filtro, perdas));
    query->Abrir();
    return query;
}

void InformarNadaEncontrado(const std::string& nota = {}) {
    Informar(TextoAnsi("Nenhum registro encontrado para a seleção.") + nota);
}

} // namespace

std::unique_ptr<TQuery> TDadosExportacao::ConsultarSelecao(TFiltroExportacao& filtro) {
    return AbrirSelecao(filtro, false);
}

void TDadosExportacao::IniciarProgresso(std::size_t maximo) {
    if (ProgressoRegistrado) {
        ProgressoRegistrado->SetMaximo(static_cast<int>(maximo));
        ProgressoRegistrado->SetPosicao(0);
    }
}

void TDadosExportacao::Avancar() {
    if (ProgressoRegistrado)
        ProgressoRegistrado->Passo();
    if (EventosRegistrados)
        EventosRegistrados->ProcessarEventos();
}

namespace {

std::filesystem::path CaminhoArquivo(const std::filesystem::path& Diretorio, const std::filesystem::path& NomeArquivo) {
    std::filesystem::path caminho = PastaExportacao(Diretorio);
    caminho += NomeArquivo.native();
    return caminho;
}

TSelecaoExportacao::TRecusado Bruto(const TQuery& query, const TCamposLancamento& campos) {
    const auto texto = [&query](int campo) {
        return std::string(query.ValorBruto(campo).value_or(std::string_view()));
    };
    return {texto(campos.Chapa),   texto(campos.Nome),  texto(campos.Datahora),
            texto(campos.Numlanc), texto(campos.Valor), {}};
}

} // namespace

void TDadosExportacao::AbrirConexao() {
    ConexaoCompartilhada = TDao::Conectar("", "ip");
}

TConexao* TDadosExportacao::GetConexao() {
    return ConexaoCompartilhada.get();
}

void TDadosExportacao::DefinirConexao(std::unique_ptr<TConexao> conexao) {
    ConexaoCompartilhada = std::move(conexao);
}

std::string TDadosExportacao::RepetirCaractere(char caractere, int quantidade) {
    return quantidade > 0 ? std::string(static_cast<std::size_t>(quantidade), caractere) : std::string();
}

std::string TDadosExportacao::CompletarEsquerda(const std::string& texto, int tamanho, char caractere) {
    if (tamanho <= 0)
        return {};
    const auto largura = static_cast<std::size_t>(tamanho);
    if (texto.size() < largura)
        return RepetirCaractere(caractere, tamanho - static_cast<int>(texto.size())) + texto;
    return texto.substr(0, largura);
}

std::unique_ptr<TQuery> TDadosExportacao::AbrirEmpresas() {
    auto query = std::make_unique<TQuery>(Conexao(), "select empresa_id, nome from empresa where apagado <> \"S\"");
    query->Abrir();
    return query;
}

std::string TDadosExportacao::DescricaoFilial(int filial) {
    const std::string sql = "select concat(filial_id, \" - \",nome,\" (\",cgc,\")\") from filial where filial_id = " +
                            std::to_string(filial);
    return VarParaTexto(TDao::ConsultarValor(Conexao(), sql, TextoAnsi("FILIAL NÃO LOCALIZADA"), true));
}

int TDadosExportacao::CodigoFilialMatriz() {
    if (CacheFilialMatriz == -1)
        CacheFilialMatriz = TArquivoConexao::EmUso().CodigoFilial();
    return CacheFilialMatriz;
}

void TDadosExportacao::LimparCacheFilial() {
    CacheFilialMatriz = -1;
}

void TDadosExportacao::SetProgresso(IProgresso* progresso) {
    ProgressoRegistrado = progresso;
}

void TDadosExportacao::SetInformacao(IInformacao* informacao) {
    InformacaoRegistrada = informacao;
}

void TDadosExportacao::SetEventos(IEventos* eventos) {
    EventosRegistrados = eventos;
}

IProgresso* TDadosExportacao::GetProgresso() {
    return ProgressoRegistrado;
}

IInformacao* TDadosExportacao::GetInformacao() {
    return InformacaoRegistrada;
}

IEventos* TDadosExportacao::GetEventos() {
    return EventosRegistrados;
}

std::filesystem::path TDadosExportacao::ArquivoPerfis() {
    return TArquivoPerfis::Caminho();
}

std::string TDadosExportacao::GruposDoPerfil(int perfil) {
    return TArquivoPerfis::Grupos(perfil);
}

// The number itself is what is wrong when it is no decimal integer: then the conversion's own message names it.
std::int64_t TDadosExportacao::NumeroLancamento(std::string_view numlanc) {
    const TNumeroLido numero = LerDecimal(numlanc, 0, MaiorNumeroLancamento);
    if (numero.Leitura == TLeituraNumero::NaoNumero) {
        const std::string mensagem = TextoNaoInteiro(numlanc);
        throw ELancamentoRecusado({mensagem, TextoAnsi("Lançamento ") + std::string(numlanc) + ": " + mensagem});
    }
    // Cutting it, or letting a minus sign in, would put another posting's number in the file.
    if (numero.Leitura == TLeituraNumero::ForaDoIntervalo)
        RecusarLancamento(numlanc, TextoAnsi("o número do lançamento não cabe no campo de 6 dígitos (0 a 999999)"));
    return numero.Valor;
}

std::string TDadosExportacao::SqlExportacao(bool DataLancamento, const TDataHora& DataInicial,
                                            const TDataHora& DataFinal, int Empresa, const std::string& grupos) {
    std::string sql;
    sql += " select  \r\n"
           "    receber.numlanc \r\n"
           "    ,receber.datahora \r\n"
           "   , clientes.nome \r\n"
           "   ,clientes.chapa \r\n"
           "   ,SUM(receber.valortotal) as valor \r\n"
           " from \r\n"
           "   receber \r\n"
           " join clientes \r\n"
           "   on (clientes.clientes_id = receber.clientes_id) \r\n"
           " join filial \r\n"
           "   on (receber.filial_id = filial.filial_id) \r\n"
           " join produto \r\n"
           "   on (receber.produto_id = produto.produto_id) \r\n";
    sql += " where  ";
    sql += "\r\n";
    sql += "   receber.amort < 100   and receber.valortotal > 0.00   and receber.apagado = \"N\" ";
    sql += "\r\n";
    sql += DataLancamento ? "   and (receber.datahora between \"" : "   and (receber.vencimento between \"";
    // Year-month-day with hyphens: the one compact form that every MySQL and MariaDB server reads as a date.
    sql += DataInicial.TextoDataIso();
    sql += " 00:00:00\" and \"";
    sql += DataFinal.TextoDataIso();
    sql += " 23:59:59\")";
    sql += " and clientes.empresa_id = " + std::to_string(Empresa);
    if (!grupos.empty())
        sql += " and produto.grupo_id in " + grupos;
    sql += "  group by ";
    sql += "   receber.numlanc ";
    sql += "   ,receber.datahora ";
    sql += "   ,clientes.nome ";
    sql += "   ,clientes.chapa ";
    return sql;
}

TFiltroExportacao TDadosExportacao::Filtro(const TPedidoExportacao& pedido) {
    return {pedido.DataLancamento, pedido.DataInicial.value(), pedido.DataFinal.value(),
            pedido.Empresa,        pedido.CodTorvane,          pedido.Perfil,
            std::nullopt};
}

TResultadoExportacao TDadosExportacao::GerarArquivo(const TPedidoExportacao& pedido) {
    const TNomeExportacao nome = NomeExportacao(pedido.NomeArquivo);
    if (!nome.Problema.empty())
        throw EFalha(nome.Problema + TextoAnsi(" Nenhum arquivo foi gravado."));
    return GerarArquivo(pedido.Diretorio, nome.Nome, pedido.DataLancamento, pedido.DataInicial.value(),
                        pedido.DataFinal.value(), pedido.Empresa, pedido.CodTorvane, pedido.Perfil);
}

TResultadoExportacao TDadosExportacao::GerarArquivo(const std::filesystem::path& Diretorio,
                                                    const std::filesystem::path& NomeArquivo, bool DataLancamento,
                                                    const TDataHora& DataInicial, const TDataHora& DataFinal,
                                                    int Empresa, int CodTorvane, int Perfil) {
    ExigirNomeSimples(NomeArquivo);
    TFiltroExportacao filtro{DataLancamento, DataInicial, DataFinal, Empresa, CodTorvane, Perfil, std::nullopt};
    TResultadoExportacao resultado;
    const auto query = AbrirSelecao(filtro, false);
    if (query->QuantidadeRegistros() < 1) {
        InformarNadaEncontrado();
        return resultado;
    }

    resultado.Caminho = CaminhoArquivo(Diretorio, NomeArquivo);
    // Lines go to a temporary file as they are made; the target is replaced only once all are on disk.
    TArquivoSeguro arquivo(resultado.Caminho);
    IniciarProgresso(query->QuantidadeRegistros());
    // After a posting that cannot go into the file, the rest are still read, so that one run names them all;
    // nothing more is written.
    const TCamposLancamento campos(*query);
    TRecusas recusas;
    TSha256 resumo;
    std::string bloco;
    bloco.reserve(TamanhoBloco);
    for (query->Primeiro(); !query->FimDosDados(); query->Proximo(), Avancar()) {
        try {
            const TLancamento lancamento = LerLancamento(*query, campos);
            if (recusas.Vazia()) {
                AcrescentarLinhaExportacao(bloco, lancamento, CodTorvane);
                ++resultado.Linhas;
                resultado.TotalCentavos += lancamento.Centavos;
                if (bloco.size() >= TamanhoBloco)
                    Gravar(bloco, arquivo, resumo);
            }
        } catch (const ELancamentoRecusado& recusado) {
            recusas.Incluir(recusado.Recusa);
        }
    }
    if (!recusas.Vazia())
        throw EFalha(recusas.Texto());
    Gravar(bloco, arquivo, resumo);
    arquivo.Confirmar();
    Informar(ConcluirExportacao(resultado, filtro, resumo.Concluir(), NomeArquivo, std::nullopt));
    return resultado;
}

std::optional<TSelecaoExportacao> TDadosExportacao::VisualizarArquivo(const TFiltroExportacao& filtro) {
    TSelecaoExportacao selecao = LerSelecao(filtro);
    if (selecao.Quantidade() > 0)
        return selecao;
    InformarNadaEncontrado();
    return std::nullopt;
}

TSelecaoExportacao TDadosExportacao::LerSelecao(TFiltroExportacao filtro) {
    const auto query = AbrirSelecao(filtro, true);
    IniciarProgresso(query->QuantidadeRegistros());
    const TCamposLancamento campos(*query);
    const int perda = query->IndiceCampo("nome_com_perda");
    TSelecaoExportacao selecao(filtro);
    selecao.Reservar(query->QuantidadeRegistros());
    for (query->Primeiro(); !query->FimDosDados(); query->Proximo(), Avancar()) {
        const bool comPerda = query->ValorBruto(perda).value_or("0") != "0";
        try {
            selecao.Incluir(LerLancamento(*query, campos), comPerda);
        } catch (const ELancamentoRecusado& recusado) {
            selecao.Recusar(Bruto(*query, campos), recusado.Recusa, comPerda);
        }
    }
    return selecao;
}

TResultadoExportacao TDadosExportacao::GerarArquivo(const TSelecaoExportacao& selecao,
                                                    const std::filesystem::path& Diretorio,
                                                    const std::filesystem::path& NomeArquivo, bool somenteNovos,
                                                    const std::string& nota) {
    ExigirNomeSimples(NomeArquivo);
    if (const std::string recusas = selecao.TextoRecusas(); !recusas.empty())
        throw EFalha(recusas);
    TResultadoExportacao resultado;
    if (selecao.Quantidade() == 0) {
        InformarNadaEncontrado(nota);
        return resultado;
    }
    resultado.Caminho = CaminhoArquivo(Diretorio, NomeArquivo);
    TArquivoSeguro arquivo(resultado.Caminho);
    arquivo.Escrever(selecao.Texto());
    arquivo.Confirmar();
    resultado.Linhas = selecao.Linhas();
    resultado.TotalCentavos = selecao.TotalCentavos();
    TSha256 resumo;
    resumo.Acrescentar(selecao.Texto());
    Informar(
        ConcluirExportacao(resultado, selecao.Filtro(), resumo.Concluir(), NomeArquivo, selecao.Texto(), somenteNovos) +
        nota);
    return resultado;
}
