#include "export/UComparacaoExportacao.h"

#include "dao/UConexao.h"
#include "dao/UQuery.h"
#include "export/UCopiasExportacao.h"
#include "export/UDados.h"
#include "export/ULeituraLancamentos.h"
#include "export/UVerificacaoExportacao.h"
#include "platform/UCp1252.h"
#include "platform/UErro.h"
#include "platform/UTexto.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t TamanhoLinha = 82;

// Badge, then posting date and number: what makes a line the same posting.
int CompararChave(std::string_view a, std::string_view b) {
    if (const int chapa = a.substr(2, 10).compare(b.substr(2, 10)); chapa != 0)
        return chapa;
    return a.substr(52, 14).compare(b.substr(52, 14));
}

TDiferencaExportacao Diferenca(TGrupoComparacao grupo, std::string_view linha) {
    TDiferencaExportacao d;
    d.Grupo = grupo;
    TSelecaoExportacao::TCampos campos = CamposDaLinha(linha);
    d.Chapa = std::move(campos.Chapa);
    d.Nome = std::move(campos.Nome);
    d.Data = std::move(campos.Data);
    d.Numero = std::move(campos.Numero);
    return d;
}

// The lines of the file as sent, in the order of their posting, each paired at most once.
class TEnviados {
public:
    explicit TEnviados(std::string texto) : FTexto(std::move(texto)) {
        if (FTexto.size() % TamanhoLinha != 0)
            throw EFalha(
                TextoAnsi("O arquivo enviado não é um arquivo da Torvane: suas linhas não têm 80 caracteres."));
        FOrdem.resize(FTexto.size() / TamanhoLinha);
        for (std::size_t i = 0; i < FOrdem.size(); ++i) {
            if (FTexto.compare(i * TamanhoLinha + 80, 2, "\r\n") != 0)
                throw EFalha(TextoAnsi("O arquivo enviado não é um arquivo da Torvane: a linha ") +
                             std::to_string(i + 1) + TextoAnsi(" não tem 80 caracteres."));
            FOrdem[i] = static_cast<std::uint32_t>(i);
        }
        std::sort(FOrdem.begin(), FOrdem.end(), [this](std::uint32_t a, std::uint32_t b) {
            const int chave = CompararChave(Linha(a), Linha(b));
            return chave != 0 ? chave < 0 : Linha(a) < Linha(b);
        });
        FUsadas.assign(FOrdem.size(), false);
    }

    std::size_t Quantidade() const { return FOrdem.size(); }
    std::string_view Linha(std::size_t i) const { return std::string_view(FTexto).substr(i * TamanhoLinha, 80); }
    bool Usada(std::size_t i) const { return FUsadas[i]; }

    // A line not paired yet that is the same posting: the very same line when `igual`, or any other.
    std::optional<std::size_t> Usar(std::string_view linha, bool igual) {
        const auto [inicio, fim] = std::equal_range(FOrdem.begin(), FOrdem.end(), linha, TMenorChave{this});
        for (auto i = inicio; i != fim; ++i)
            if (!FUsadas[*i] && (!igual || Linha(*i) == linha)) {
                FUsadas[*i] = true;
                return *i;
            }
        return std::nullopt;
    }

private:
    struct TMenorChave {
        const TEnviados* Enviados;
        bool operator()(std::uint32_t a, std::string_view b) const { return CompararChave(Enviados->Linha(a), b) < 0; }
        bool operator()(std::string_view a, std::uint32_t b) const { return CompararChave(a, Enviados->Linha(b)) < 0; }
    };

    std::string FTexto;
    std::vector<std::uint32_t> FOrdem;
    std::vector<bool> FUsadas;
};

std::string Entre(const TDataHora& data, const char* hora) {
    return "\"" + data.TextoDataIso() + " " + hora + "\"";
}

// Why postings sent are no longer in the selection, as far as the database tells: every row of the posting
// deleted, or paid; otherwise it no longer matches the selection (another period, company or group).
void ExplicarBaixas(const TFiltroExportacao& filtro, std::vector<TDiferencaExportacao>& diferencas) {
    std::map<std::pair<std::string, std::string>, TDiferencaExportacao*> baixas;
    for (auto& d : diferencas)
        if (d.Grupo == TGrupoComparacao::NaoEstaMaisEmAberto) {
            d.Motivo = TextoAnsi("não corresponde mais à seleção");
            baixas[{d.Numero, d.Data}] = &d;
        }
    if (baixas.empty())
        return;
    const std::string coluna = filtro.DataLancamento ? "receber.datahora" : "receber.vencimento";
    TQuery query(*TDadosExportacao::GetConexao(),
                 "select receber.numlanc, receber.datahora, min(receber.amort) as amort, "
                 "max(receber.apagado <> \"S\") as ativo from receber join clientes on (clientes.clientes_id = "
                 "receber.clientes_id) where clientes.empresa_id = " +
                     std::to_string(filtro.Empresa) + " and " + coluna + " between " +
                     Entre(filtro.DataInicial, "00:00:00") + " and " + Entre(filtro.DataFinal, "23:59:59") +
                     " group by receber.numlanc, receber.datahora");
    query.Abrir();
    for (query.Primeiro(); !query.FimDosDados(); query.Proximo()) {
        const TNumeroLido numero = LerDecimal(query.Campo("numlanc").Texto(), 0, INT64_MAX);
        if (numero.Leitura != TLeituraNumero::Valido)
            continue;
        TDataHora data;
        try {
            data = query.Campo("datahora").DataHora();
        } catch (const EFalha&) {
            continue;
        }
        const auto baixa = baixas.find({std::to_string(numero.Valor), data.TextoDataExibicao()});
        if (baixa == baixas.end())
            continue;
        if (query.Campo("ativo").Texto() == "0")
            baixa->second->Motivo = TextoAnsi("excluído (apagado \"S\")");
        else if (query.Campo("amort").Valor().CentavosArredondados() >= 10000)
            baixa->second->Motivo = TextoAnsi("pago (amort de 100 ou mais)");
    }
}

std::string Contagem(const TTotalComparacao& total) {
    return MilharesBrasileiros(static_cast<long long>(total.Linhas)) +
           (total.Linhas == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos")) + ", R$ " +
           ReaisBrasileiros(total.Centavos);
}

} // namespace

TComparacaoExportacao TComparacaoExportacao::Comparar(const TRegistroExportacao& registro) {
    TComparacaoExportacao c;
    c.Registro = registro;
    TEnviados enviados(TCopiasExportacao::LerEnviado(registro));
    for (std::size_t i = 0; i < enviados.Quantidade(); ++i) {
        ++c.Enviado.Linhas;
        c.Enviado.Centavos += CentavosDaLinha(enviados.Linha(i));
    }
    TFiltroExportacao filtro{registro.DataLancamento, registro.DataInicial, registro.DataFinal, registro.Empresa,
                             registro.CodTorvane,     registro.Perfil,      registro.Grupos};
    c.GruposDeHoje = !registro.Grupos;

    // The lines of now that are not one of the file's wait until every line of now has had its chance at its own.
    std::vector<std::string> pendentes;
    {
        const auto query = TDadosExportacao::ConsultarSelecao(filtro);
        TDadosExportacao::IniciarProgresso(query->QuantidadeRegistros());
        const TCamposLancamento campos(*query);
        std::string linha;
        for (query->Primeiro(); !query->FimDosDados(); query->Proximo(), TDadosExportacao::Avancar()) {
            try {
                const TLancamento lancamento = LerLancamento(*query, campos);
                linha.clear();
                AcrescentarLinhaExportacao(linha, lancamento, registro.CodTorvane);
            } catch (const ELancamentoRecusado&) {
                ++c.RecusadosAgora;
                continue;
            }
            const std::string_view agora = std::string_view(linha).substr(0, 80);
            ++c.Agora.Linhas;
            c.Agora.Centavos += CentavosDaLinha(agora);
            if (enviados.Usar(agora, true))
                ++c.Iguais;
            else
                pendentes.emplace_back(agora);
        }
    }
    std::vector<TDiferencaExportacao> mudancas;
    for (const std::string& agora : pendentes) {
        const auto enviada = enviados.Usar(agora, false);
        auto d = Diferenca(enviada ? TGrupoComparacao::Alterado : TGrupoComparacao::Novo, agora);
        d.CentavosAgora = CentavosDaLinha(agora);
        if (enviada) {
            const std::string_view antes = enviados.Linha(*enviada);
            d.CentavosEnviados = CentavosDaLinha(antes);
            if (const std::string nome = Aparar(antes.substr(12, 40)); nome != d.Nome)
                d.Motivo = TextoAnsi("nome enviado: ") + nome;
            ++c.Alterados;
            c.DiferencaAlterados += *d.CentavosAgora - *d.CentavosEnviados;
        } else {
            ++c.Novos.Linhas;
            c.Novos.Centavos += *d.CentavosAgora;
        }
        mudancas.push_back(std::move(d));
    }
    for (std::size_t i = 0; i < enviados.Quantidade(); ++i)
        if (!enviados.Usada(i)) {
            auto d = Diferenca(TGrupoComparacao::NaoEstaMaisEmAberto, enviados.Linha(i));
            d.CentavosEnviados = CentavosDaLinha(enviados.Linha(i));
            ++c.NaoEstaoMaisEmAberto.Linhas;
            c.NaoEstaoMaisEmAberto.Centavos += *d.CentavosEnviados;
            c.Diferencas.push_back(std::move(d));
        }
    ExplicarBaixas(filtro, c.Diferencas);
    c.Diferencas.insert(c.Diferencas.end(), std::make_move_iterator(mudancas.begin()),
                        std::make_move_iterator(mudancas.end()));
    return c;
}

std::vector<std::string> TComparacaoExportacao::Resumo() const {
    const std::string sinal = DiferencaAlterados < 0 ? "-" : "+";
    std::vector<std::string> linhas = {
        TextoAnsi("Enviado: ") + Contagem(Enviado) + TextoAnsi(" (exportação de ") + Registro.Momento.TextoExibicao() +
            (Registro.Usuario.empty() ? "" : " por " + Registro.Usuario) + ").",
        TextoAnsi("Não estão mais em aberto: ") + Contagem(NaoEstaoMaisEmAberto) + ".",
        TextoAnsi("Alterados: ") + MilharesBrasileiros(static_cast<long long>(Alterados)) +
            (Alterados == 1 ? TextoAnsi(" lançamento") : TextoAnsi(" lançamentos")) + TextoAnsi(", diferença de ") +
            sinal + "R$ " + ReaisBrasileiros(DiferencaAlterados < 0 ? -DiferencaAlterados : DiferencaAlterados) + ".",
        TextoAnsi("Novos: ") + Contagem(Novos) + ".",
        TextoAnsi("Em aberto agora: ") + Contagem(Agora) + TextoAnsi(" (iguais ao enviado: ") +
            MilharesBrasileiros(static_cast<long long>(Iguais)) + ")."};
    if (RecusadosAgora > 0)
        linhas.push_back(MilharesBrasileiros(static_cast<long long>(RecusadosAgora)) +
                         TextoAnsi(" lançamento(s) em aberto não podem ir para um arquivo e ficaram fora da "
                                   "comparação."));
    if (GruposDeHoje)
        linhas.push_back(TextoAnsi("A exportação é de antes de o histórico guardar os grupos do perfil: a seleção "
                                   "de agora usa os grupos que o perfil tem hoje."));
    return linhas;
}

std::string TComparacaoExportacao::NomeGrupo(TGrupoComparacao grupo) {
    switch (grupo) {
    case TGrupoComparacao::Novo:
        return "novo";
    case TGrupoComparacao::NaoEstaMaisEmAberto:
        return TextoAnsi("não está mais em aberto");
    case TGrupoComparacao::Alterado:
        return "alterado";
    case TGrupoComparacao::Igual:
        break;
    }
    return "igual";
}

TSomenteNovos TComparacaoExportacao::SomenteNovos(const TFiltroExportacao& filtro) {
    return SomenteNovos(TDadosExportacao::LerSelecao(filtro));
}

TSomenteNovos TComparacaoExportacao::SomenteNovos(const TSelecaoExportacao& selecao) {
    const TFiltroExportacao& filtro = selecao.Filtro();
    TSomenteNovos novos{TSelecaoExportacao(filtro), {}, {}};
    std::vector<TEnviados> enviados;
    for (const TRegistroExportacao& registro :
         THistoricoExportacao::ExportacoesSobrepostas(filtro.Empresa, filtro.DataInicial, filtro.DataFinal).Registros) {
        if (registro.CodTorvane != filtro.CodTorvane)
            continue;
        try {
            enviados.emplace_back(TCopiasExportacao::LerEnviado(registro));
        } catch (const EFalha& falha) {
            novos.NaoLidos.push_back(THistoricoExportacao::Descrever(registro) + " " + falha.what());
        }
    }
    const auto enviada = [&](std::string_view linha, bool igual) -> std::optional<std::string> {
        for (TEnviados& arquivo : enviados)
            if (const auto achada = arquivo.Usar(linha, igual))
                return std::string(arquivo.Linha(*achada));
        return std::nullopt;
    };
    // A line sent as it is now is no new posting; then a posting sent with other values has changed.
    std::vector<std::size_t> restantes;
    for (std::size_t i = 0; i < selecao.Quantidade(); ++i)
        if (selecao.Item(i).Recusado || !enviada(selecao.Linha(selecao.Item(i).Indice), true))
            restantes.push_back(i);
    for (const std::size_t i : restantes) {
        if (!selecao.Item(i).Recusado) {
            const std::string_view agora = selecao.Linha(selecao.Item(i).Indice);
            if (const auto antes = enviada(agora, false)) {
                auto d = Diferenca(TGrupoComparacao::Alterado, agora);
                d.CentavosEnviados = CentavosDaLinha(*antes);
                d.CentavosAgora = CentavosDaLinha(agora);
                novos.Alterados.push_back(std::move(d));
                continue;
            }
        }
        novos.Selecao.Copiar(selecao, i);
    }
    return novos;
}

TResultadoExportacao TComparacaoExportacao::GerarSomenteNovos(const TSelecaoExportacao& selecao,
                                                              const std::filesystem::path& Diretorio,
                                                              const std::filesystem::path& NomeArquivo) {
    const TSomenteNovos novos = SomenteNovos(selecao);
    std::string nota;
    for (const std::string& naoLido : novos.NaoLidos)
        nota += "\n\n" + naoLido + TextoAnsi(" Seus lançamentos podem ir de novo.");
    if (!novos.Alterados.empty()) {
        nota += TextoAnsi("\n\nAlterados desde que foram enviados, fora do arquivo (corrija-os na Torvane):");
        // A box holds a few; the comparison with the database lists them all.
        constexpr std::size_t Listados = 20;
        for (std::size_t i = 0; i < novos.Alterados.size() && i < Listados; ++i)
            nota += "\n" + TextoDiferenca(novos.Alterados[i]);
        if (novos.Alterados.size() > Listados)
            nota += TextoAnsi("\n... e mais ") +
                    MilharesBrasileiros(static_cast<long long>(novos.Alterados.size() - Listados)) +
                    TextoAnsi(": veja todos em \"Comparar com o banco\".");
    }
    return TDadosExportacao::GerarArquivo(novos.Selecao, Diretorio, NomeArquivo, true, nota);
}

TResultadoExportacao TComparacaoExportacao::GerarSomenteNovos(const TPedidoExportacao& pedido) {
    return GerarSomenteNovos(TDadosExportacao::LerSelecao(TDadosExportacao::Filtro(pedido)), pedido.Diretorio,
                             NomeExportacao(pedido.NomeArquivo).Nome);
}

std::string TextoDiferenca(const TDiferencaExportacao& d) {
    const auto reais = [](const std::optional<std::int64_t>& centavos) {
        return centavos ? "R$ " + ReaisBrasileiros(*centavos) : TextoAnsi("nada");
    };
    std::string texto = "Chapa " + d.Chapa + ", " + d.Nome + ", " + d.Data + TextoAnsi(", nº ") + d.Numero + ": " +
                        TComparacaoExportacao::NomeGrupo(d.Grupo);
    if (d.Grupo == TGrupoComparacao::Alterado)
        texto += ", enviado " + reais(d.CentavosEnviados) + ", agora " + reais(d.CentavosAgora);
    else
        texto += ", " + reais(d.CentavosEnviados ? d.CentavosEnviados : d.CentavosAgora);
    return texto + (d.Motivo.empty() ? "" : " (" + d.Motivo + ")") + ".";
}
