#include "export/UHistoricoExportacao.h"

#include "export/UCsv.h"

#include "dao/UArquivoConexao.h"
#include "export/UArquivoPerfis.h"
#include "platform/UAcrescentarArquivo.h"
#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/ULeituraArquivo.h"
#include "platform/UPastaConfiguracao.h"
#include "platform/USha256.h"
#include "platform/UTexto.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>
#include <tuple>

namespace {

const TCampos& Cabecalho() {
    static const TCampos cabecalho = {"Data e hora",
                                      TextoAnsi("Usuário"),
                                      "Empresa",
                                      "Nome da empresa",
                                      TextoAnsi("Código Torvane"),
                                      TextoAnsi("Data do período"),
                                      "Data inicial",
                                      "Data final",
                                      "Perfil",
                                      TextoAnsi("Descrição do perfil"),
                                      "Arquivo",
                                      TextoAnsi("Lançamentos"),
                                      "Total em centavos",
                                      "SHA-256",
                                      "Grupos",
                                      "Somente novos",
                                      TextoAnsi("Cópia")};
    return cabecalho;
}

// The columns of a row written before the groups, the kind of file and the copy were kept.
constexpr std::size_t ColunasAntigas = 14;

// Two programs making the record at the same moment may each have written the header; a record made before the
// last columns came has the header of its time.
bool EhCabecalho(const TCampos& campos) {
    return (campos.size() == ColunasAntigas || campos.size() == Cabecalho().size()) &&
           std::equal(campos.begin(), campos.end(), Cabecalho().begin());
}

std::optional<long long> Numero(std::string_view texto) {
    const TNumeroLido numero = LerDecimal(texto, INT64_MIN, INT64_MAX);
    return numero.Leitura == TLeituraNumero::Valido ? std::optional<long long>(numero.Valor) : std::nullopt;
}

// "DD/MM/AAAA", with " HH:MM:SS" after it when `comHora`.
std::optional<TDataHora> LerData(std::string_view texto, bool comHora) {
    if (texto.size() != (comHora ? 19u : 10u) || texto[2] != '/' || texto[5] != '/' ||
        (comHora && (texto[10] != ' ' || texto[13] != ':' || texto[16] != ':')))
        return std::nullopt;
    const auto parte = [texto](std::size_t inicio, std::size_t tamanho) {
        const auto valor = Numero(texto.substr(inicio, tamanho));
        return valor && *valor >= 0 ? static_cast<int>(*valor) : -1;
    };
    TDataHora data{parte(6, 4), parte(3, 2), parte(0, 2), 0, 0, 0};
    if (comHora)
        data = {data.Ano, data.Mes, data.Dia, parte(11, 2), parte(14, 2), parte(17, 2)};
    return data.DataValida() ? std::optional(data) : std::nullopt;
}

TCampos Campos(const TRegistroExportacao& r) {
    return {r.Momento.TextoExibicao(),
            r.Usuario,
            std::to_string(r.Empresa),
            r.NomeEmpresa,
            std::to_string(r.CodTorvane),
            r.DataLancamento ? "lancamento" : "vencimento",
            r.DataInicial.TextoDataExibicao(),
            r.DataFinal.TextoDataExibicao(),
            std::to_string(r.Perfil),
            r.DescricaoPerfil,
            CaminhoParaValor(r.Arquivo),
            std::to_string(r.Linhas),
            std::to_string(r.TotalCentavos),
            r.Sha256,
            r.Grupos.value_or(""),
            r.SomenteNovos ? "S" : "",
            r.Copia};
}

bool Sha256Valido(const std::string& texto) {
    return texto.size() == 64 && texto.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::optional<TRegistroExportacao> Registro(const TCampos& c) {
    const bool antiga = c.size() == ColunasAntigas;
    if ((!antiga && c.size() != Cabecalho().size()) || (c[5] != "lancamento" && c[5] != "vencimento") ||
        c[10].empty() || !Sha256Valido(c[13]))
        return std::nullopt;
    // A copy is a file of the copies' folder, named by the digest of what it holds.
    if (!antiga && ((!c[14].empty() && !TArquivoPerfis::ListaGruposValida(c[14])) || (c[15] != "" && c[15] != "S") ||
                    (!c[16].empty() && c[16] != c[13] + ".txt")))
        return std::nullopt;
    const auto momento = LerData(c[0], true);
    const auto inicial = LerData(c[6], false);
    const auto final = LerData(c[7], false);
    const auto empresa = InteiroDecimal(c[2]);
    const auto codigo = InteiroDecimal(c[4]);
    const auto perfil = InteiroDecimal(c[8]);
    const auto linhas = Numero(c[11]);
    const auto total = Numero(c[12]);
    if (!momento || !inicial || !final || !empresa || !codigo || !perfil || !linhas || *linhas < 0 || !total)
        return std::nullopt;
    return TRegistroExportacao{*momento,
                               c[1],
                               *empresa,
                               c[3],
                               *codigo,
                               c[5] == "lancamento",
                               *inicial,
                               *final,
                               *perfil,
                               c[9],
                               ValorParaCaminho(c[10]),
                               static_cast<std::size_t>(*linhas),
                               *total,
                               c[13],
                               antiga ? std::nullopt : std::optional(c[14]),
                               !antiga && c[15] == "S",
                               antiga ? std::string() : c[16]};
}

auto ChaveDia(const TDataHora& d) {
    return std::tuple(d.Ano, d.Mes, d.Dia);
}

std::string Plural(std::size_t quantidade, const std::string& singular, const std::string& plural) {
    return MilharesBrasileiros(static_cast<long long>(quantidade)) + " " + (quantidade == 1 ? singular : plural);
}

std::string Lancamentos(std::size_t linhas) {
    return Plural(linhas, TextoAnsi("lançamento"), TextoAnsi("lançamentos"));
}

// What the file holds now: its digest, its lines (each ending in CR LF) and the sum of their amounts
// (columns 69 to 80 of an 80-character line).
struct TMedicao {
    std::string Sha256;
    std::size_t Linhas = 0;
    std::int64_t TotalCentavos = 0;
};

// A line of the file, without its LF: one that ends in CR counts, and an export line adds its amount.
void Contar(const std::string& linha, TMedicao& medicao) {
    if (linha.empty() || linha.back() != '\r')
        return;
    ++medicao.Linhas;
    const auto valor = linha.size() == 81 ? Numero(std::string_view(linha).substr(68, 12)) : std::nullopt;
    if (valor && *valor >= 0)
        medicao.TotalCentavos += *valor;
}

TMedicao Medir(const std::filesystem::path& arquivo) {
    TSha256 sha;
    TMedicao medicao;
    std::string linha;
    LerEmBlocos(arquivo, [&](std::string_view bloco) {
        sha.Acrescentar(bloco);
        for (auto fim = bloco.find('\n'); fim != std::string_view::npos; fim = bloco.find('\n')) {
            linha.append(bloco.substr(0, fim));
            Contar(linha, medicao);
            linha.clear();
            bloco.remove_prefix(fim + 1);
        }
        linha.append(bloco);
    });
    medicao.Sha256 = sha.Concluir();
    return medicao;
}

std::vector<std::string> Diferencas(const TRegistroExportacao& r, const TMedicao& m) {
    std::vector<std::string> diferencas;
    if (m.Sha256 != r.Sha256)
        diferencas.push_back("SHA-256: registrado " + r.Sha256 + ", encontrado " + m.Sha256 + ".");
    if (m.Linhas != r.Linhas)
        diferencas.push_back(TextoAnsi("Lançamentos: registrados ") +
                             MilharesBrasileiros(static_cast<long long>(r.Linhas)) + ", encontrados " +
                             MilharesBrasileiros(static_cast<long long>(m.Linhas)) + ".");
    if (m.TotalCentavos != r.TotalCentavos)
        diferencas.push_back("Total: registrado R$ " + ReaisBrasileiros(r.TotalCentavos) + ", encontrado R$ " +
                             ReaisBrasileiros(m.TotalCentavos) + ".");
    return diferencas;
}

// The row appended last for the file: the clocks of the office's PCs need not agree, the order of the record does.
std::optional<TRegistroExportacao> MaisRecente(const std::vector<TRegistroExportacao>& registros,
                                               const std::filesystem::path& arquivo) {
    const auto achado = std::find_if(registros.rbegin(), registros.rend(), [&arquivo](const auto& registro) {
        return MesmoCaminho(registro.Arquivo, arquivo);
    });
    return achado == registros.rend() ? std::nullopt : std::optional(*achado);
}

std::chrono::milliseconds& EsperaDefinida() {
    static std::chrono::milliseconds espera{0};
    return espera;
}

// The folder in which the record is made when it is missing: the data folder, unless the settings name the office's.
void PrepararPastaHistorico(const std::filesystem::path& pasta) {
    if (pasta == PastaDados())
        PrepararPastaDados();
    else
        PrepararPasta(pasta, TextoAnsi("do histórico de exportações"));
}

} // namespace

std::string TLeituraHistorico::AvisoDanificadas() const {
    if (Danificadas == 0)
        return {};
    return TextoAnsi("O histórico de exportações \"") + CaminhoMensagem(THistoricoExportacao::Arquivo()) + "\" tem " +
           Plural(Danificadas, TextoAnsi("linha danificada, que foi ignorada."),
                  TextoAnsi("linhas danificadas, que foram ignoradas."));
}

std::filesystem::path THistoricoExportacao::Pasta() {
    const auto pasta = TArquivoConexao::EmUso().PastaHistorico();
    return pasta.empty() ? PastaDados() : pasta;
}

std::filesystem::path THistoricoExportacao::Arquivo() {
    return Pasta() / NomeArquivoHistorico;
}

std::filesystem::path THistoricoExportacao::ArquivoPendente() {
    return ArquivoDados(NomeArquivoPendente);
}

std::string THistoricoExportacao::Registrar(const TRegistroExportacao& registro) {
    const std::string linha = LinhaCsv(Campos(registro));
    try {
        // The settings are searched and read once for the whole append.
        const auto pasta = Pasta();
        PrepararPastaHistorico(pasta);
        AcrescentarPendentesA(pasta / NomeArquivoHistorico, EsperaTrava());
        AcrescentarArquivo(pasta / NomeArquivoHistorico, linha, LinhaCsv(Cabecalho()), EsperaTrava());
        return {};
    } catch (const EArquivoOcupado& ocupado) {
        // The row waits in the user's own folder, after any that wait already, for the next program that can write.
        PrepararPastaDados();
        AcrescentarArquivo(ArquivoPendente(), linha, {}, EsperaTrava());
        return TextoAnsi("O histórico de exportações estava ocupado: ") + ocupado.what() +
               TextoAnsi(" A linha desta exportação foi guardada em \"") + CaminhoMensagem(ArquivoPendente()) +
               TextoAnsi("\" e será acrescentada a ele na próxima exportação ou ao abrir o histórico.");
    }
}

std::chrono::milliseconds THistoricoExportacao::EsperaTrava() {
    return EsperaDefinida().count() > 0 ? EsperaDefinida() : std::chrono::seconds(10);
}

void THistoricoExportacao::DefinirEsperaTrava(std::chrono::milliseconds espera) {
    EsperaDefinida() = espera;
}

void THistoricoExportacao::AcrescentarPendentes(std::chrono::milliseconds espera) {
    if (!ArquivoExiste(ArquivoPendente()))
        return;
    const auto pasta = Pasta();
    PrepararPastaHistorico(pasta);
    AcrescentarPendentesA(pasta / NomeArquivoHistorico, espera);
}

void THistoricoExportacao::AcrescentarPendentesA(const std::filesystem::path& arquivo,
                                                 std::chrono::milliseconds espera) {
    const auto pendente = ArquivoPendente();
    if (!ArquivoExiste(pendente))
        return;
    // In the order they were kept, before any row of later exports.
    AcrescentarArquivo(arquivo, LerArquivo(pendente), LinhaCsv(Cabecalho()), espera);
    std::error_code erro;
    std::filesystem::remove(pendente, erro);
}

TLeituraHistorico THistoricoExportacao::Ler() {
    TLeituraHistorico leitura;
    // The rows still waiting to be appended came last.
    for (const auto& arquivo : {Arquivo(), ArquivoPendente()}) {
        if (!ArquivoExiste(arquivo))
            continue;
        for (const auto& campos : LerCsv(LerArquivo(arquivo))) {
            if (EhCabecalho(campos) || campos == TCampos{""})
                continue;
            if (auto registro = Registro(campos))
                leitura.Registros.push_back(std::move(*registro));
            else
                ++leitura.Danificadas;
        }
    }
    return leitura;
}

TLeituraHistorico THistoricoExportacao::ExportacoesSobrepostas(int empresa, const TDataHora& de, const TDataHora& ate) {
    TLeituraHistorico leitura = Ler();
    auto& registros = leitura.Registros;
    std::erase_if(registros, [&](const TRegistroExportacao& r) {
        return r.Empresa != empresa || ChaveDia(r.DataInicial) > ChaveDia(ate) || ChaveDia(r.DataFinal) < ChaveDia(de);
    });
    // Newest first: the last appended first.
    std::reverse(registros.begin(), registros.end());
    return leitura;
}

TConferencia THistoricoExportacao::Conferir(const std::filesystem::path& arquivo) {
    const TLeituraHistorico leitura = Ler();
    TConferencia conferencia;
    conferencia.Registro = MaisRecente(leitura.Registros, arquivo);
    const std::string nome = "\"" + CaminhoMensagem(arquivo) + "\"";
    if (!conferencia.Registro) {
        conferencia.Mensagens.push_back("O arquivo " + nome + TextoAnsi(" não consta do histórico de exportações \"") +
                                        CaminhoMensagem(Arquivo()) + "\".");
    } else if (!ArquivoExiste(arquivo)) {
        conferencia.Situacao = TSituacaoConferencia::Ausente;
        conferencia.Mensagens = {"O arquivo " + nome + TextoAnsi(" não existe mais."),
                                 Descrever(*conferencia.Registro)};
    } else {
        const auto diferencas = Diferencas(*conferencia.Registro, Medir(arquivo));
        conferencia.Situacao = diferencas.empty() ? TSituacaoConferencia::Conferido : TSituacaoConferencia::Alterado;
        conferencia.Mensagens = {"O arquivo " + nome +
                                     (diferencas.empty() ? TextoAnsi(" é o mesmo que foi gerado.")
                                                         : TextoAnsi(" não é mais o que foi gerado.")),
                                 Descrever(*conferencia.Registro)};
        conferencia.Mensagens.insert(conferencia.Mensagens.end(), diferencas.begin(), diferencas.end());
    }
    if (leitura.Danificadas > 0)
        conferencia.Mensagens.push_back(leitura.AvisoDanificadas());
    return conferencia;
}

std::string THistoricoExportacao::Descrever(const TRegistroExportacao& r) {
    return TextoAnsi("Exportação de ") + r.Momento.TextoExibicao() + (r.Usuario.empty() ? "" : " por " + r.Usuario) +
           ": empresa " + std::to_string(r.Empresa) + TextoAnsi(", período de ") + r.DataInicial.TextoDataExibicao() +
           " a " + r.DataFinal.TextoDataExibicao() +
           (r.DataLancamento ? TextoAnsi(" pela data de lançamento") : TextoAnsi(" pela data de vencimento")) +
           ", arquivo \"" + CaminhoMensagem(r.Arquivo) + "\", " + Lancamentos(r.Linhas) + ", total R$ " +
           ReaisBrasileiros(r.TotalCentavos) + ".";
}

std::string THistoricoExportacao::CodigoDeOutraEmpresa(int empresa, int codTorvane) {
    std::vector<TRegistroExportacao> registros;
    try {
        registros = Ler().Registros;
    } catch (const EFalha&) {
        return {};
    }
    const auto doCodigo = [codTorvane](const TRegistroExportacao& r) { return r.CodTorvane == codTorvane; };
    const auto desta = [&](const TRegistroExportacao& r) { return doCodigo(r) && r.Empresa == empresa; };
    const auto outra = std::find_if(registros.rbegin(), registros.rend(), doCodigo);
    if (outra == registros.rend() || std::any_of(registros.begin(), registros.end(), desta))
        return {};
    const std::string codigo = std::to_string(codTorvane);
    return TextoAnsi("O código Torvane ") + codigo + TextoAnsi(" foi usado para a empresa ") +
           std::to_string(outra->Empresa) + (outra->NomeEmpresa.empty() ? "" : TextoAnsi(" – ") + outra->NomeEmpresa) +
           TextoAnsi(" (última vez em ") + outra->Momento.TextoDataExibicao() +
           (outra->Usuario.empty() ? "" : " por " + outra->Usuario) + "). Gerar a empresa " + std::to_string(empresa) +
           TextoAnsi(" com o código ") + codigo + "?";
}

TAvisoHistorico THistoricoExportacao::ExportacoesAnteriores(int empresa, const TDataHora& de, const TDataHora& ate) {
    TAvisoHistorico aviso;
    try {
        const TLeituraHistorico leitura = ExportacoesSobrepostas(empresa, de, ate);
        if (!leitura.Registros.empty())
            aviso.Exportacoes = TextoAnsi("Este período já foi exportado para esta empresa:");
        for (const auto& registro : leitura.Registros)
            aviso.Exportacoes += "\n" + Descrever(registro);
        aviso.Aviso = leitura.AvisoDanificadas();
    } catch (const EFalha& falha) {
        // The record only informs: one that cannot be read never stops an export.
        aviso.Aviso = TextoAnsi("O histórico de exportações não pôde ser lido: ") + falha.what();
    }
    return aviso;
}
