#pragma once

#include "export/UHistoricoExportacao.h"
#include "qtbase/UDialogo.h"

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TModeloHistorico;

// What was sent: the record of the exports, newest first, read only, with a filter by company. For the selected
// row, "Conferir" tells whether its file is still the one written, "Comparar com o banco" what has changed in the
// database since it was sent, and "Salvar o arquivo enviado…" writes the file as sent again, byte for byte, to a
// folder the user picks. Opened modally by the main window.
class TFHistorico : public TDialogo {
    Q_OBJECT
public:
    explicit TFHistorico(QWidget* dono);

private:
    void CarregarHistorico();
    void PreencherEmpresas();
    void cmbEmpresaChange();
    void btnConferirClick();
    void btnCompararClick();
    void btnSalvarEnviadoClick();
    const TRegistroExportacao* RegistroSelecionado() const;

    // Every row read, newest first.
    std::vector<TRegistroExportacao> FRegistros;

    QLabel* lblEmpresa;
    QComboBox* cmbEmpresa;
    QTableView* GridHistorico;
    TModeloHistorico* FModelo;
    QLabel* lblAviso;
    QLabel* lblArquivo;
    QPushButton* btnConferir;
    QPushButton* btnComparar;
    QPushButton* btnSalvarEnviado;
    QPushButton* btnFechar;
};
