#pragma once

#include "dao/UValorFixo.h"
#include "dao/UVariante.h"
#include "platform/UDataHora.h"

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TConexao;
struct st_mysql_res;
class TQuery;

// Told when the cursor moves or rows change, unless the query's controls are suspended.
class IObservadorQuery {
public:
    virtual ~IObservadorQuery() = default;
    virtual void CursorMudou() = 0;
    // Something changed in the rows: redraw them all.
    virtual void DadosMudaram() = 0;
};

// One column of the current row, read in the type the caller asks for.
class TCampo {
public:
    TCampo(const TQuery& query, int indice) : FQuery(query), FIndice(indice) {}
    bool Nulo() const;
    // NULL reads as "".
    std::string Texto() const;
    // NULL reads as 0; other text that is not a whole number fails with "'%s' is not a valid integer value".
    int Inteiro() const;
    // NULL reads as the zero date-time, 30 December 1899.
    TDataHora DataHora() const;
    // NULL reads as 0.
    TValorFixo Valor() const;
    // The value in the column's own type; NULL gives the empty value.
    TVariante Variante() const;

private:
    const TQuery& FQuery;
    int FIndice;
};

// A query on a connection: SQL text and, once open, every row of the result with a cursor over them.
// Edits are held in memory only; nothing is written back to the database.
class TQuery {
public:
    explicit TQuery(TConexao& conexao, std::string sql = {});
    ~TQuery();
    TQuery(const TQuery&) = delete;
    TQuery& operator=(const TQuery&) = delete;

    void SetSQL(std::string sql) { FSQL = std::move(sql); }
    const std::string& SQL() const { return FSQL; }

    // Runs the text and fetches every row; the cursor goes to the first row. Fails with EFalha carrying
    // the client's error text. A statement that gives no result set fails too.
    void Abrir();
    void Fechar();
    bool Aberta() const { return FResultado != nullptr; }

    std::size_t QuantidadeRegistros() const { return FLinhas.size(); }
    bool Vazia() const { return FLinhas.empty(); }
    void Primeiro();
    void Proximo();
    bool FimDosDados() const;
    // The current row, 0-based; remembered and restored with IrPara.
    std::size_t Linha() const { return FLinha; }
    void IrPara(std::size_t linha);

    int QuantidadeCampos() const;
    std::string NomeCampo(int indice) const;
    // Fails with "Field '<name>' not found" when the result has no such column.
    int IndiceCampo(std::string_view nome) const;
    TCampo Campo(std::string_view nome) const { return TCampo(*this, IndiceCampo(nome)); }
    TCampo Campo(int indice) const { return TCampo(*this, indice); }

    // Moves to the first row whose column holds the value: exactly, or as a case-insensitive prefix.
    // Returns false and leaves the cursor where it was when no row matches.
    bool Localizar(std::string_view campo, std::string_view valor, bool prefixoSemCaixa);

    // Changes a column of the current row in memory (std::nullopt is NULL).
    void Editar(std::string_view campo, std::optional<std::string> valor);

    // While suspended the observer hears nothing; resuming tells it that everything changed.
    void SetObservador(IObservadorQuery* observador) { FObservador = observador; }
    void DesabilitarControles();
    void HabilitarControles();

    // Raw access for readers: the value of a column in the current row, std::nullopt for NULL.
    std::optional<std::string_view> ValorBruto(int indice) const;
    // The server's type of a column (enum_field_types).
    int TipoCampo(int indice) const;

private:
    struct TLiberarResultado {
        void operator()(st_mysql_res* resultado) const;
    };
    void Guardar(unsigned campos, char** valores, const unsigned long* tamanhos);
    void ExigirLinhaAtual() const;
    void AvisarCursor();
    void AvisarDados();

    TConexao& FConexao;
    std::string FSQL;
    // The result's columns; its rows are held here.
    std::unique_ptr<st_mysql_res, TLiberarResultado> FResultado;
    // The rows packed one after the other in large blocks, each value as its length and its bytes: a result of a
    // million rows costs little more memory than its text.
    std::vector<std::unique_ptr<char[]>> FBlocos;
    // The free space at the end of the last block.
    char* FLivre = nullptr;
    const char* FFimBloco = nullptr;
    // Where each row starts.
    std::deque<const char*> FLinhas;
    std::size_t FLinha = 0;
    std::map<std::pair<std::size_t, int>, std::optional<std::string>> FEdicoes;
    IObservadorQuery* FObservador = nullptr;
    int FSuspensoes = 0;
};

// A walk over every row without the controls following it: remembers the current row and suspends the
// observer; on the way out, by any path, the row comes back and the controls are told once.
class TPercursoQuery {
public:
    explicit TPercursoQuery(TQuery& query) : FQuery(query), FLinha(query.Linha()) { FQuery.DesabilitarControles(); }
    ~TPercursoQuery() {
        FQuery.IrPara(FLinha);
        FQuery.HabilitarControles();
    }
    TPercursoQuery(const TPercursoQuery&) = delete;
    TPercursoQuery& operator=(const TPercursoQuery&) = delete;

private:
    TQuery& FQuery;
    std::size_t FLinha;
};
