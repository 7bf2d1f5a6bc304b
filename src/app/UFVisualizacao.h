#pragma once

#include "qtbase/UDialogo.h"

class QLabel;
class QPushButton;
class QTableView;
class TSelecaoExportacao;

// A look before writing: the count and total of the selection and every posting as it would go into the file, in
// a read-only grid, the ones that cannot go and the names that would go with "?" marked with why. Writes nothing
// itself: "Gerar (F3)" closes it accepted, and the main window then writes exactly what was shown.
class TFVisualizacao : public TDialogo {
    Q_OBJECT
public:
    // The selection stays with the caller and outlives the window.
    TFVisualizacao(QWidget* dono, const TSelecaoExportacao& selecao);

protected:
    bool FormKeyDown(QObject* alvo, int tecla) override;

private:
    QLabel* lblResumo;
    QTableView* GridLancamentos;
    QLabel* lblAviso;
    QPushButton* btnGerar;
    QPushButton* btnFechar;
};
