#pragma once

#include "qtbase/UDialogo.h"

#include <memory>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TModeloSelecao;
class TQuery;

// A modal dialog for marking any number of rows of one table. It lists the table's rows (leaving out those
// flagged as deleted), starts with the rows of `Chaves` marked (every row when `Chaves` is empty), lets the
// user change the marks by keyboard and on OK hands back the marked keys as an SQL value list such as
// (12,15,40), with a readable list of the marked rows. Cancel leaves the caller's texts alone.
class TFFiltroGenerico2 : public TDialogo {
    Q_OBJECT
public:
    // The data role of the grid's model that says whether a row is marked.
    static constexpr int PapelMarcado = Qt::UserRole + 1;

    // Texts are code page 1252. `Chaves` and `Descricoes` belong to the caller, who keeps them alive until the
    // dialog is destroyed; they are written only on OK. Fails with EFalha, leaving nothing behind, when
    // `Chaves` is neither empty nor a list of whole numbers, or when the query cannot be opened.
    TFFiltroGenerico2(QWidget* dono, const std::string& CampoChave, const std::string& CampoDescricao,
                      const std::string& Tabela, const std::string& TituloChave, const std::string& Entidade,
                      std::string& Chaves, std::string& Descricoes, const std::string& CampoApagado);
    ~TFFiltroGenerico2() override;

    // The query text, lines joined by CR LF.
    static std::string MontarSQL(const std::string& CampoChave, const std::string& CampoDescricao,
                                 const std::string& Tabela, const std::string& Chaves, const std::string& CampoApagado);

    // Set by OK when no row was marked: an empty `Chaves` then means "none" rather than "all".
    bool NenhumMarcado() const { return FNenhumMarcado; }
    const TQuery& QrySelecao() const { return *FQrySelecao; }

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    bool FormKeyDown(QObject* alvo, int tecla) override;
    void Cancelar() override;

private:
    void EditPesquisaChange(const QString& texto);
    void btnOKClick();
    void btnCancelarClick();
    void MarcarTodos(const std::string& marca);
    void AlternarMarca();
    void SeguirCursor();

    std::string FCampoChave;
    std::string FCampoDescricao;
    std::string& FChaves;
    std::string& FDescricoes;
    bool FNenhumMarcado = false;
    std::unique_ptr<TQuery> FQrySelecao;

    QLabel* lblPesquisa;
    QLineEdit* EditPesquisa;
    QTableView* oGrid;
    TModeloSelecao* FModelo;
    QPushButton* btnOK;
    QPushButton* btnCancelar;
    QLabel* Label3;
    QFrame* Shape1;
    QLabel* Label4;
};
