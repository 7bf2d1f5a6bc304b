#pragma once

#include "export/ULeituraLancamentos.h"
#include "platform/UDataHora.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What an export selects: the date basis, the period, the company, its number in Torvane and the profile.
struct TFiltroExportacao {
    bool DataLancamento = true;
    TDataHora DataInicial;
    TDataHora DataFinal;
    int Empresa = 0;
    int CodTorvane = 0;
    int Perfil = 0;
    // The product groups the query takes ("" for every group), when they are not the profile's of now: those an
    // earlier export was made with.
    std::optional<std::string> Grupos;
};

// The postings of one selection, read whole and kept for a look before writing: each one's line as it goes into
// the file, in the query's order; the ones that cannot go, with the reason the export gives; and which names
// reached the program with "?" where the database had a character that code page 1252 lacks. The file written
// from it holds exactly these lines.
class TSelecaoExportacao {
public:
    // A posting of the selection: its line, or its refusal, by Indice.
    struct TItem {
        std::uint32_t Indice = 0;
        bool Recusado = false;
        bool NomeComPerda = false;
    };
    // A posting that cannot go into the file, as the database gave it.
    struct TRecusado {
        std::string Chapa;
        std::string Nome;
        std::string Data;
        std::string Numero;
        std::string Valor;
        std::string Motivo;
    };

    // A posting as the clerk sees it, code page 1252: the badge and the name as the file holds them, the date as
    // dd/mm/aaaa, the number, the amount in reais, and what keeps it out of the file or changes its name.
    struct TCampos {
        std::string Chapa;
        std::string Nome;
        std::string Data;
        std::string Numero;
        std::string Valor;
        std::string Situacao;
    };

    explicit TSelecaoExportacao(const TFiltroExportacao& filtro) : FFiltro(filtro) {}

    // Room for the postings of a query at once: grown a line at a time, the text would double past them.
    void Reservar(std::size_t quantidade);
    void Incluir(const TLancamento& lancamento, bool nomeComPerda);
    void Recusar(TRecusado recusado, TRecusa recusa, bool nomeComPerda);
    // Takes the posting at `posicao` of another selection as it is there.
    void Copiar(const TSelecaoExportacao& outra, std::size_t posicao);

    const TFiltroExportacao& Filtro() const { return FFiltro; }
    // Every posting, fit for the file or not.
    std::size_t Quantidade() const { return FItens.size(); }
    const TItem& Item(std::size_t posicao) const { return FItens[posicao]; }
    // The line of the file, 80 bytes without its CR LF.
    std::string_view Linha(std::size_t indice) const;
    const TRecusado& Recusado(std::size_t indice) const { return FRecusados[indice]; }

    TCampos Campos(std::size_t posicao) const;
    // The count and total of the lines, then how many postings cannot go and how many names lost a character.
    std::string Resumo() const;

    std::size_t Linhas() const { return FTexto.size() / TamanhoLinha; }
    std::int64_t TotalCentavos() const { return FTotalCentavos; }
    std::size_t NomesComPerda() const { return FNomesComPerda; }
    std::size_t Recusas() const { return FRecusados.size(); }
    // The message with which the export refuses the unfit postings; empty when there are none.
    std::string TextoRecusas() const { return FRecusas.Vazia() ? std::string() : FRecusas.Texto(); }
    // The bytes of the file: every line with its CR LF.
    const std::string& Texto() const { return FTexto; }

    static constexpr std::size_t TamanhoLinha = 82;

private:
    TFiltroExportacao FFiltro;
    std::vector<TItem> FItens;
    std::string FTexto;
    std::vector<TRecusado> FRecusados;
    TRecusas FRecusas;
    std::int64_t FTotalCentavos = 0;
    std::size_t FNomesComPerda = 0;
};

// The amount of a line of the file, in cents (columns 69 to 80).
std::int64_t CentavosDaLinha(std::string_view linha);
// The fields of a line of the file as the clerk sees them; no Situacao.
TSelecaoExportacao::TCampos CamposDaLinha(std::string_view linha);
