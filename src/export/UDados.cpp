#include "export/UDados.h"

#include "dao/UConexao.h"
#include "dao/UDao.h"
#include "dao/UQuery.h"
#include "export/UValoresExportacao.h"
#include "platform/UArquivos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UIni.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/UTexto.h"

#include <cstdint>
#include <optional>
#include <string_view>

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

constexpr std::int64_t MaiorLancamento = 999'999;            // 6 digits
constexpr std::int64_t MaiorValorCentavos = 999'999'999'999; // 12 digits

[[noreturn]] void NaoInteiro(std::string_view texto) {
    throw EFalha("'" + std::string(texto) + "' is not a valid integer value");
}

[[noreturn]] void ValorNaoCabe(std::string_view numlanc, std::string_view valor) {
    throw EFalha(TextoAnsi("Lançamento ") + std::string(numlanc) + TextoAnsi(": o valor ") + std::string(valor) +
                 TextoAnsi(" não cabe no campo de 12 dígitos do valor em centavos. Nenhum arquivo foi gravado."));
}

// The amount in whole cents; more than 12 digits would be cut to another amount, so it is refused.
std::int64_t Centavos(std::string_view numlanc, std::optional<std::string_view> texto) {
    if (!texto)
        return 0;
    std::int64_t centavos = 0;
    try {
        centavos = TValorFixo::DoTexto(*texto).CentavosArredondados();
    } catch (const EFalha&) {
        ValorNaoCabe(numlanc, *texto);
    }
    if (centavos < 0 || centavos > MaiorValorCentavos)
        ValorNaoCabe(numlanc, *texto);
    return centavos;
}

// A line end, tab or zero byte inside a field would break the posting's one line of 80 bytes: every
// control character becomes a blank.
std::string SemControles(std::string_view campo) {
    std::string texto(campo);
    for (char& c : texto)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return texto;
}

// A stored date that is no date stops the export naming the posting, as every other refusal does.
TDataHora DataDoLancamento(const TQuery& query, int campo, std::string_view numlanc) {
    try {
        return query.Campo(campo).DataHora();
    } catch (const EFalha& falha) {
        throw EFalha(TextoAnsi("Lançamento ") + std::string(numlanc) + ": " + falha.what() +
                     TextoAnsi(". Nenhum arquivo foi gravado."));
    }
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
        CacheFilialMatriz = TIniFile(TDao::CaminhoArquivoIni("")).LerInteiro("FilialMatriz", "CodFisica", -1);
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
    return ArquivoDados("PerfilTorvane.txt");
}

std::string TDadosExportacao::GruposDoPerfil(int perfil) {
    if (perfil <= 0)
        return {};
    const auto arquivo = ArquivoPerfis();
    if (!ArquivoExiste(arquivo))
        return {};
    const auto linhas = LerLinhas(arquivo);
    if (static_cast<std::size_t>(perfil) >= linhas.size())
        throw EFalha("List index out of bounds (" + std::to_string(perfil) + ")");
    const std::string& linha = linhas[static_cast<std::size_t>(perfil)];
    const auto largura = static_cast<std::size_t>(TamanhoDescricaoPerfil());
    if (linha.size() <= largura)
        return {};
    return Aparar(std::string_view(linha).substr(largura));
}

bool TDadosExportacao::ListaGruposValida(const std::string& lista) {
    if (lista.empty())
        return true;
    if (lista.size() < 3 || lista.front() != '(' || lista.back() != ')')
        return false;
    bool digitoAntes = false;
    for (std::size_t i = 1; i + 1 < lista.size(); ++i) {
        const char c = lista[i];
        if (c >= '0' && c <= '9') {
            digitoAntes = true;
        } else if (c == ',' && digitoAntes) {
            digitoAntes = false;
        } else {
            return false;
        }
    }
    return digitoAntes;
}

// The posting number is read whole, as a decimal integer, and must fit the six digits of its field:
// cutting it, or letting a minus sign in, would put another posting's number in the file or break the line.
std::string TDadosExportacao::NumeroLancamento(std::string_view numlanc) {
    const bool temSinal = !numlanc.empty() && (numlanc[0] == '-' || numlanc[0] == '+');
    const bool negativo = temSinal && numlanc[0] == '-';
    if (numlanc.size() == (temSinal ? 1u : 0u))
        NaoInteiro(numlanc);
    std::int64_t valor = 0;
    for (std::size_t i = temSinal ? 1 : 0; i < numlanc.size(); ++i) {
        if (numlanc[i] < '0' || numlanc[i] > '9')
            NaoInteiro(numlanc);
        if (valor <= MaiorLancamento)
            valor = valor * 10 + (numlanc[i] - '0');
    }
    if (valor > MaiorLancamento || (negativo && valor != 0))
        throw EFalha(TextoAnsi("Lançamento ") + std::string(numlanc) +
                     TextoAnsi(": o número do lançamento não cabe no campo de 6 dígitos (0 a 999999). "
                               "Nenhum arquivo foi gravado."));
    return FormatarZeros(valor, 6);
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

TResultadoExportacao TDadosExportacao::GerarArquivo(const std::filesystem::path& Diretorio,
                                                    const std::filesystem::path& NomeArquivo, bool DataLancamento,
                                                    const TDataHora& DataInicial, const TDataHora& DataFinal,
                                                    int Empresa, int CodTorvane, int Perfil) {
    // The file goes into the chosen folder and nowhere else.
    if (const std::string problema = ProblemaNomeArquivo(CaminhoUtf8(NomeArquivo)); !problema.empty())
        throw EFalha(problema + TextoAnsi(" Nenhum arquivo foi gravado."));
    // Two digits in the file: a larger number would be cut to another company's number.
    if (CodTorvane < 0 || CodTorvane > 99)
        throw EFalha(TextoAnsi("O número da empresa na Torvane (") + std::to_string(CodTorvane) +
                     TextoAnsi(") não cabe no campo de 2 dígitos (0 a 99). Nenhum arquivo foi gravado."));
    std::string grupos;
    if (Perfil > 0) {
        grupos = GruposDoPerfil(Perfil);
        // The list goes into the SQL text as it is: a hand-edited file must not change the query.
        if (!ListaGruposValida(grupos))
            throw EFalha(TextoPerfil(Perfil, grupos));
    }

    TQuery query(Conexao(), SqlExportacao(DataLancamento, DataInicial, DataFinal, Empresa, grupos));
    query.Abrir();
    TResultadoExportacao resultado;
    if (query.QuantidadeRegistros() < 1) {
        Informar(TextoAnsi("Nenhum registro encontrado para a seleção."));
        return resultado;
    }

    resultado.Caminho = Diretorio;
    if (Diretorio.empty() || Diretorio.native().back() != std::filesystem::path::preferred_separator)
        resultado.Caminho += std::filesystem::path::preferred_separator;
    resultado.Caminho += NomeArquivo.native();
    // Lines go to a temporary file as they are made; the target is replaced only once all are on disk.
    TArquivoSeguro arquivo(resultado.Caminho);

    const int campoNumlanc = query.IndiceCampo("numlanc");
    const int campoDatahora = query.IndiceCampo("datahora");
    const int campoNome = query.IndiceCampo("nome");
    const int campoChapa = query.IndiceCampo("chapa");
    const int campoValor = query.IndiceCampo("valor");
    const std::string empresaTorvane = FormatarZeros(CodTorvane, 2);
    const auto texto = [&query](int campo) { return query.ValorBruto(campo).value_or(std::string_view()); };

    if (ProgressoRegistrado) {
        ProgressoRegistrado->SetMaximo(static_cast<int>(query.QuantidadeRegistros()));
        ProgressoRegistrado->SetPosicao(0);
    }
    std::string linha;
    query.Primeiro();
    while (!query.FimDosDados()) {
        const std::string_view numlanc = texto(campoNumlanc);
        const TDataHora data = DataDoLancamento(query, campoDatahora, numlanc);
        const std::string nome = SemControles(texto(campoNome).substr(0, 40));

        linha.clear();
        linha += empresaTorvane;
        linha += CompletarEsquerda(SemControles(texto(campoChapa).substr(0, 10)), 10, '0');
        linha += nome;
        linha.append(40 - nome.size(), ' ');
        linha += FormatarZeros(data.Dia, 2);
        linha += FormatarZeros(data.Mes, 2);
        linha += FormatarZeros(data.Ano, 4);
        linha += NumeroLancamento(numlanc);
        linha += "01";
        const std::int64_t centavos = Centavos(numlanc, query.ValorBruto(campoValor));
        linha += FormatarZeros(centavos, 12);
        linha += "\r\n";
        arquivo.Escrever(linha);
        ++resultado.Linhas;
        resultado.TotalCentavos += centavos;

        query.Proximo();
        if (ProgressoRegistrado)
            ProgressoRegistrado->Passo();
        if (EventosRegistrados)
            EventosRegistrados->ProcessarEventos();
    }
    arquivo.Confirmar();
    resultado.Gerado = true;
    Informar("Arquivo \"" + CaminhoMensagem(NomeArquivo) + TextoAnsi("\"  gerado com sucesso."));
    return resultado;
}
