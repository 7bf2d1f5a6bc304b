#pragma once

#include <QLineEdit>

// An edit for whole numbers, shown without leading zeros. The value 0 shows as an empty edit, and an empty
// edit, or text that is not a number, reads as 0. The digit limit holds for typing only: a value set by
// the program is shown whole.
class TEditNumero : public QLineEdit {
    Q_OBJECT
public:
    TEditNumero(int maximoDigitos, QWidget* dono);

    int Valor() const;
    void SetValor(int valor);

private:
    void Formatar();
};
