#pragma once

#include "export/ULinhaExportacao.h"
#include "platform/UErro.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TQuery;

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

// Fails naming the posting and why it cannot go into the file.
[[noreturn]] void RecusarLancamento(std::string_view numlanc, const std::string& motivo);

// Every posting that cannot go into the file, found in one pass: the first one's own message, then the
// others, as many as a person reads.
class TRecusas {
public:
    void Incluir(TRecusa recusa);
    bool Vazia() const { return FTotal == 0; }
    std::string Texto() const;

private:
    static constexpr std::size_t MaisNomeados = 20;
    std::vector<TRecusa> FRecusas;
    std::size_t FTotal = 0;
};

// Where the fields of a posting stand in the receivables query.
struct TCamposLancamento {
    explicit TCamposLancamento(const TQuery& query);
    int Numlanc, Datahora, Nome, Chapa, Valor;
};

// The posting of the query's current row; one that cannot go into the file fails with ELancamentoRecusado.
TLancamento LerLancamento(const TQuery& query, const TCamposLancamento& campos);

// The product groups of the profile, checked before any query: a number in Torvane that does not fit its field
// and a group list that would change the query's text both fail, saying so.
std::string GruposDaExportacao(int CodTorvane, int Perfil);
// The same checks of groups given ("" for every group), as an earlier export kept them.
std::string GruposVerificados(int CodTorvane, const std::string& grupos);
