#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the description of a new profile. F3 confirms, Esc and the close box cancel.
class TFConfigurarPerfilEdicao : public QDialog {
    Q_OBJECT
public:
    explicit TFConfigurarPerfilEdicao(QWidget* dono);

    // The text of EditDescricao in the system's code page.
    std::string Descricao() const;

protected:
    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    bool FormKeyDown(QObject* alvo, int tecla);
    void btnOkClick();
    void btnCancelarClick();

    QLabel* Label1;
    QLineEdit* EditDescricao;
    QPushButton* btnOk;
    QPushButton* btnCancelar;
};
