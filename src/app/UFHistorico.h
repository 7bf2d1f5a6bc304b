#pragma once

#include "export/UHistoricoExportacao.h"
#include "qtbase/UDialogo.h"

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TModeloHistorico;

// What was sent: the record of the exports, newest first, read only, with a filter by company, and "Conferir",
// which tells whether the file of the selected row is still the one written. Opened modally by the main window.
class TFHistorico : public TDialogo {
    Q_OBJECT
public:
    explicit TFHistorico(QWidget* dono);

private:
    void CarregarHistorico();
    void PreencherEmpresas();
    void cmbEmpresaChange();
    void btnConferirClick();

    // Every row read, newest first.
    std::vector<TRegistroExportacao> FRegistros;

    QLabel* lblEmpresa;
    QComboBox* cmbEmpresa;
    QTableView* GridHistorico;
    TModeloHistorico* FModelo;
    QLabel* lblAviso;
    QLabel* lblArquivo;
    QPushButton* btnConferir;
    QPushButton* btnFechar;
};
