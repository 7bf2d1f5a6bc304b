#include "export/UDados.h"

#include "dao/UArquivoConexao.h"
#include "dao/UConexao.h"
#include "dao/UDao.h"
#include "dao/UQuery.h"
#include "export/UArquivoPerfis.h"
#include "export/UHistoricoExportacao.h"
#include "export/ULinhaExportacao.h"
#include "export/UValoresExportacao.h"
#include "platform/UArquivoSeguro.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/USha256.h"
#include "platform/UTexto.h"
#include "platform/UUsuarioSistema.h"

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

// A posting that cannot go into the file: the message that names it alone, and its line in a list.
struct TRecusa {
    std::string Mensagem;
    std::string Item;
};

class ELancamentoRecusado : public EFalha {
public:
    explicit ELancamentoRecusado(TRecusa recusa) : EFalha(recusa.Mensagem), Recusa(std::move(recusa)) {}
    TRecusa Recusa;
};

[[noreturn]] void Recusar(std::string_view numlanc, const std::string& motivo) {
    const std::string item = TextoAnsi("Lançamento ") + std::string(numlanc) + ": " + motivo;
    throw ELancamentoRecusado({item + TextoAnsi(". Nenhum arquivo foi gravado."), item});
}

// The amount in whole cents; more than 12 digits would be cut to another amount, so it is refused.
std::int64_t Centavos(std::string_view numlanc, std::optional<std::string_view> texto) {
    if (!texto)
        return 0;
    std::int64_t centavos = -1;
    try {
        centavos = TValorFixo::DoTexto(*texto).CentavosArredondados();
    } catch (const EFalha&) {
    }
    if (centavos < 0 || centavos > MaiorValorCentavos)
        Recusar(numlanc, TextoAnsi("o valor ") + std::string(*texto) +
                             TextoAnsi(" não cabe no campo de 12 dígitos do valor em centavos"));
    return centavos;
}

// A stored date that is no date names the posting, as every other refusal does.
TDataHora DataDoLancamento(const TQuery& query, int campo, std::string_view numlanc) {
    try {
        return query.Campo(campo).DataHora();
    } catch (const EFalha& falha) {
        Recusar(numlanc, falha.what());
    }
}

// Where the fields of a posting stand in the receivables query.
struct TCamposLancamento {
    explicit TCamposLancamento(const TQuery& query)
        : Numlanc(query.IndiceCampo("numlanc")), Datahora(query.IndiceCampo("datahora")),
          Nome(query.IndiceCampo("nome")), Chapa(query.IndiceCampo("chapa")), Valor(query.IndiceCampo("valor")) {}
    int Numlanc, Datahora, Nome, Chapa, Valor;
};

TLancamento LerLancamento(const TQuery& query, const TCamposLancamento& campos) {
    const auto texto = [&query](int campo) { return query.ValorBruto(campo).value_or(std::string_view()); };
    const std::string_view numlanc = texto(campos.Numlanc);
    TLancamento lancamento;
    lancamento.Data = DataDoLancamento(query, campos.Datahora, numlanc);
    lancamento.Numero = TDadosExportacao::NumeroLancamento(numlanc);
    lancamento.Centavos = Centavos(numlanc, query.ValorBruto(campos.Valor));
    lancamento.Nome = texto(campos.Nome);
    lancamento.Chapa = texto(campos.Chapa);
    return lancamento;
}

// Lines go to the file and to its digest a block at a time: a call of each for every line would cost more than
// making the line.
constexpr std::size_t TamanhoBloco = 1 << 16;

void Gravar(std::string& bloco, TArquivoSeguro& arquivo, TSha256& resumo) {
    arquivo.Escrever(bloco);
    resumo.Acrescentar(bloco);
    bloco.clear();
}

// Every posting that cannot go into the file, found in one pass: the first one's own message, then the
// others, as many as a person reads.
class TRecusas {
public:
    void Incluir(TRecusa recusa) {
        if (FRecusas.size() <= MaisNomeados)
            FRecusas.push_back(std::move(recusa));
        ++FTotal;
    }
    bool Vazia() const { return FTotal == 0; }
    std::string Texto() const {
        std::string texto = FRecusas.front().Mensagem;
        if (FTotal < 2)
            return texto;
        texto += TextoAnsi("\nOutros lançamentos que não podem ir para o arquivo:");
        for (std::size_t i = 1; i < FRecusas.size(); ++i)
            texto += "\n" + FRecusas[i].Item;
        if (const std::size_t mais = FTotal - FRecusas.size(); mais > 0)
            texto += TextoAnsi("\ne mais ") + std::to_string(mais) +
                     (mais == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos"));
        return texto;
    }

private:
    static constexpr std::size_t MaisNomeados = 20;
    std::vector<TRecusa> FRecusas;
    std::size_t FTotal = 0;
};

// What only the database and the profile file know about the export; a field that cannot be read stays empty,
// since the row itself matters more than either.
void Completar(TRegistroExportacao& registro) {
    try {
        registro.NomeEmpresa = VarParaTexto(TDao::ConsultarValor(
            Conexao(), "select nome from empresa where empresa_id = " + std::to_string(registro.Empresa), "", true));
    } catch (const std::exception&) {
        registro.NomeEmpresa.clear();
    }
    try {
        const auto descricoes = TArquivoPerfis::Descricoes();
        if (registro.Perfil >= 0 && static_cast<std::size_t>(registro.Perfil) < descricoes.size())
            registro.DescricaoPerfil = Aparar(descricoes[static_cast<std::size_t>(registro.Perfil)]);
    } catch (const std::exception&) {
        registro.DescricaoPerfil.clear();
    }
}

// Appends the export to the record: the text of why it could not goes to FalhaRegistro, and the note on a row that
// waits for a record held by another program to AvisoRegistro. The file is in place either way: the export is done.
void Registrar(TRegistroExportacao& registro, TResultadoExportacao& resultado) {
    try {
        registro.Momento = Agora();
        registro.Usuario = NomeUsuarioSistema();
        registro.Arquivo = std::filesystem::absolute(resultado.Caminho);
        Completar(registro);
        resultado.AvisoRegistro = THistoricoExportacao::Registrar(registro);
    } catch (const std::exception& falha) {
        resultado.FalhaRegistro =
            TextoAnsi("O arquivo foi gerado, mas não foi registrado no histórico de exportações: ") + falha.what();
    }
}

// A name of a file in the folder, and nothing that reaches another.
bool NomeSimples(const std::filesystem::path& nome) {
    return !nome.empty() && nome == nome.filename() && nome != "." && nome != "..";
}

std::string TextoPerfil(int perfil, const std::string& grupos) {
    return TextoAnsi("O perfil da linha ") + std::to_string(perfil) + TextoAnsi(" do arquivo de perfis (") +
           CaminhoMensagem(TDadosExportacao::ArquivoPerfis()) + TextoAnsi(") tem uma lista de grupos inválida: ") +
           grupos +
           TextoAnsi(". A lista deve ser como (12,15,40). Refaça o vínculo de grupos desse perfil em "
                     "Configurações. Nenhum arquivo foi gravado.");
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
        Recusar(numlanc, TextoAnsi("o número do lançamento não cabe no campo de 6 dígitos (0 a 999999)"));
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
    // The file goes into the chosen folder and nowhere else.
    if (!NomeSimples(NomeArquivo)) {
        const std::string problema = ProblemaNomeArquivo(CaminhoUtf8(NomeArquivo));
        throw EFalha((problema.empty() ? TextoAnsi("Informe o nome do arquivo.") : problema) +
                     TextoAnsi(" Nenhum arquivo foi gravado."));
    }
    // Two digits in the file: a larger number would be cut to another company's number.
    if (CodTorvane < 0 || CodTorvane > 99)
        throw EFalha(TextoAnsi("O número da empresa na Torvane (") + std::to_string(CodTorvane) +
                     TextoAnsi(") não cabe no campo de 2 dígitos (0 a 99). Nenhum arquivo foi gravado."));
    std::string grupos;
    if (Perfil > 0) {
        grupos = GruposDoPerfil(Perfil);
        // The list goes into the SQL text as it is: a hand-edited file must not change the query.
        if (!TArquivoPerfis::ListaGruposValida(grupos))
            throw EFalha(TextoPerfil(Perfil, grupos));
    }

    TQuery query(Conexao(), SqlExportacao(DataLancamento, DataInicial, DataFinal, Empresa, grupos));
    query.Abrir();
    TResultadoExportacao resultado;
    if (query.QuantidadeRegistros() < 1) {
        Informar(TextoAnsi("Nenhum registro encontrado para a seleção."));
        return resultado;
    }

    resultado.Caminho = PastaExportacao(Diretorio);
    resultado.Caminho += NomeArquivo.native();
    // Lines go to a temporary file as they are made; the target is replaced only once all are on disk.
    TArquivoSeguro arquivo(resultado.Caminho);

    if (ProgressoRegistrado) {
        ProgressoRegistrado->SetMaximo(static_cast<int>(query.QuantidadeRegistros()));
        ProgressoRegistrado->SetPosicao(0);
    }
    // After a posting that cannot go into the file, the rest are still read, so that one run names them all;
    // nothing more is written.
    const TCamposLancamento campos(query);
    TRecusas recusas;
    TSha256 resumo;
    std::string bloco;
    bloco.reserve(TamanhoBloco);
    query.Primeiro();
    while (!query.FimDosDados()) {
        try {
            const TLancamento lancamento = LerLancamento(query, campos);
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
        query.Proximo();
        if (ProgressoRegistrado)
            ProgressoRegistrado->Passo();
        if (EventosRegistrados)
            EventosRegistrados->ProcessarEventos();
    }
    if (!recusas.Vazia())
        throw EFalha(recusas.Texto());
    Gravar(bloco, arquivo, resumo);
    arquivo.Confirmar();
    resultado.Gerado = true;

    TRegistroExportacao registro;
    registro.Empresa = Empresa;
    registro.CodTorvane = CodTorvane;
    registro.DataLancamento = DataLancamento;
    registro.DataInicial = DataInicial;
    registro.DataFinal = DataFinal;
    registro.Perfil = Perfil;
    registro.Linhas = resultado.Linhas;
    registro.TotalCentavos = resultado.TotalCentavos;
    registro.Sha256 = resumo.Concluir();
    Registrar(registro, resultado);

    std::string texto = "Arquivo \"" + CaminhoMensagem(NomeArquivo) + TextoAnsi("\"  gerado com sucesso.");
    texto += '\n';
    texto += MilharesBrasileiros(static_cast<long long>(resultado.Linhas)) +
             (resultado.Linhas == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos")) + ", total R$ " +
             ReaisBrasileiros(resultado.TotalCentavos);
    for (const std::string& nota : {resultado.FalhaRegistro, resultado.AvisoRegistro})
        if (!nota.empty()) {
            texto += '\n';
            texto += nota;
        }
    Informar(texto);
    return resultado;
}
