#pragma once

#include "export/UDados.h"
#include "export/UHistoricoExportacao.h"
#include "export/USelecaoExportacao.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The postings of a selection that no file sent before held, for a file of the new postings only.
struct TSomenteNovos {
    TSelecaoExportacao Selecao;
    // Postings sent before that have changed since: they stay out of the file, for a correction in Torvane.
    std::vector<struct TDiferencaExportacao> Alterados;
    // Why an earlier file that overlaps could not be read, one each; its postings may come again.
    std::vector<std::string> NaoLidos;
};

// How a posting stands now against the file that was sent.
enum class TGrupoComparacao { Novo, NaoEstaMaisEmAberto, Alterado, Igual };

// A posting that is not as it was sent. Texts are code page 1252, as the file holds them: the badge, the name (now,
// or as sent when it is no longer open), the date dd/mm/aaaa and the number.
struct TDiferencaExportacao {
    TGrupoComparacao Grupo = TGrupoComparacao::Novo;
    std::string Chapa;
    std::string Nome;
    std::string Data;
    std::string Numero;
    std::optional<std::int64_t> CentavosEnviados;
    std::optional<std::int64_t> CentavosAgora;
    // Why it is no longer open, as far as the database tells; for a changed posting, its name as sent when that
    // changed.
    std::string Motivo;
};

// A count of postings and their amount.
struct TTotalComparacao {
    std::size_t Linhas = 0;
    std::int64_t Centavos = 0;
};

// What has changed in the database since a recorded export was sent: the export's selection run again now, its
// lines paired with the lines of the file as sent, by badge, posting date and posting number (columns 3 to 12 and
// 53 to 66), and where several lines share those, by name and amount as well, so that nothing counts twice. The
// totals add up: sent - no longer open +- changes + new = open now.
class TComparacaoExportacao {
public:
    // Fails when the file sent can no longer be read, saying why, and as a selection fails.
    static TComparacaoExportacao Comparar(const TRegistroExportacao& registro);

    TRegistroExportacao Registro;
    // In the order of the file for what is no longer open, then the changes and the new, in the order of now.
    std::vector<TDiferencaExportacao> Diferencas;
    TTotalComparacao Enviado;
    TTotalComparacao NaoEstaoMaisEmAberto;
    TTotalComparacao Novos;
    TTotalComparacao Agora;
    std::size_t Alterados = 0;
    std::int64_t DiferencaAlterados = 0; // cents now minus cents sent, over the changed postings
    std::size_t Iguais = 0;
    // Postings open now that could not go into a file, which no file sent can hold.
    std::size_t RecusadosAgora = 0;
    // The row is of before the record kept the profile's groups: the groups of now were taken.
    bool GruposDeHoje = false;

    bool Mudou() const { return !Diferencas.empty() || RecusadosAgora > 0; }
    // The summary, a line each.
    std::vector<std::string> Resumo() const;
    static std::string NomeGrupo(TGrupoComparacao grupo);

    // The selection without the postings of every earlier file of the company under that number in Torvane whose
    // period overlaps it and which can still be read, paired as a comparison pairs them.
    static TSomenteNovos SomenteNovos(const TFiltroExportacao& filtro);
    // The same, over a selection already read: the one a look before writing showed.
    static TSomenteNovos SomenteNovos(const TSelecaoExportacao& selecao);
    // Writes and records the file of the new postings only of the selection, as a selection is written; the box
    // that tells how it went (the success, or nothing found when nothing is new) also lists the postings changed
    // since they were sent and the earlier files that could not be read.
    static TResultadoExportacao GerarSomenteNovos(const TSelecaoExportacao& selecao,
                                                  const std::filesystem::path& Diretorio,
                                                  const std::filesystem::path& NomeArquivo);
    // The same, for the values a front end gathered and checked: the selection read now.
    static TResultadoExportacao GerarSomenteNovos(const TPedidoExportacao& pedido);
};

// A posting that is not as it was sent, for a person to read: "Chapa ..., NAME, dd/mm/aaaa, nº N: ...".
std::string TextoDiferenca(const TDiferencaExportacao& diferenca);
