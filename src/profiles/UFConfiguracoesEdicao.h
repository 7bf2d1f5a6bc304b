#pragma once

#include "qtbase/UDialogo.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the description of a new profile. F3 confirms, Esc and the close box cancel.
class TFConfigurarPerfilEdicao : public TDialogo {
    Q_OBJECT
public:
    explicit TFConfigurarPerfilEdicao(QWidget* dono);

    // The text of EditDescricao in the system's code page.
    std::string Descricao() const;

protected:
    bool FormKeyDown(QObject* alvo, int tecla) override;
    void Cancelar() override;

private:
    void btnOkClick();
    void btnCancelarClick();

    QLabel* Label1;
    QLineEdit* EditDescricao;
    QPushButton* btnOk;
    QPushButton* btnCancelar;
};
