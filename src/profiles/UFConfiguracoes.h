#pragma once

#include "export/UArquivoPerfis.h"
#include "qtbase/UDialogo.h"

#include <string>
#include <vector>

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class TModeloPerfis;

// The profile configuration window: the user keeps the list of profiles and links product groups to them.
// Opened modally by the main window; it rewrites the profile file whole when it closes.
class TFConfiguracoes : public TDialogo {
    Q_OBJECT
public:
    explicit TFConfiguracoes(QWidget* dono);

    // The rows of the window's table, in table order.
    const std::vector<TPerfil>& Perfis() const { return cdsPerfis; }

    // Every way of closing (button, Esc, close box) ends here: the file is written first, and a window whose
    // file could not be written stays open.
    void done(int resultado) override;

protected:
    void Cancelar() override;
    void showEvent(QShowEvent* evento) override;

private:
    void FormShow();
    bool FormClose();
    void btnIncluirClick();
    void btnExcluirClick();
    void btnVincularClick();
    void btnFecharClick();

    void CarregarPerfis();
    void GravarPerfis();
    void IncluirPerfil();
    void ExcluirPerfil();
    int LinhaAtual() const;
    void IrPara(int linha);

    std::vector<TPerfil> cdsPerfis;
    // False while the file has not been read whole: such a window must not write it back.
    bool FArquivoLido = false;

    QFrame* pnlCabecalho;
    QLabel* Label5;
    QTableView* GridProdutos;
    TModeloPerfis* FModelo;
    QGroupBox* GroupBox1;
    QPushButton* btnVincular;
    QPushButton* btnIncluir;
    QPushButton* btnExcluir;
    QPushButton* btnFechar;
};
