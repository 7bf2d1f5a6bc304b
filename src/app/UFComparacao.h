#pragma once

#include "export/UComparacaoExportacao.h"
#include "qtbase/UDialogo.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TModeloDiferencas;

// What has changed in the database since a recorded export was sent: the summary, whose totals add up, and every
// posting that is not as it was sent in a read-only grid, filtered by its group. "Salvar relatório…" writes the
// rows shown as a table in the form of the record of the exports.
class TFComparacao : public TDialogo {
    Q_OBJECT
public:
    TFComparacao(QWidget* dono, TComparacaoExportacao comparacao);

private:
    void cmbGrupoChange();
    void btnSalvarRelatorioClick();

    TComparacaoExportacao FComparacao;

    QLabel* lblResumo;
    QLabel* lblGrupo;
    QComboBox* cmbGrupo;
    QTableView* GridDiferencas;
    TModeloDiferencas* FModelo;
    QPushButton* btnSalvarRelatorio;
    QPushButton* btnFechar;
};
