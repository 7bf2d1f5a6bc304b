#include "qtbase/UEditNumero.h"

#include "platform/UTexto.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

TEditNumero::TEditNumero(int maximoDigitos, QWidget* dono) : QLineEdit(dono) {
    // Text set by the program bypasses the validator, so a longer stored value still shows whole.
    const QRegularExpression digitos(QStringLiteral("[0-9]{0,%1}").arg(maximoDigitos));
    setValidator(new QRegularExpressionValidator(digitos, this));
    connect(this, &QLineEdit::editingFinished, this, &TEditNumero::Formatar);
}

int TEditNumero::Valor() const {
    return InteiroDecimal(text().trimmed().toStdString()).value_or(0);
}

void TEditNumero::SetValor(int valor) {
    setText(valor == 0 ? QString() : QString::number(valor));
}

void TEditNumero::Formatar() {
    const int valor = Valor();
    if (text() != (valor == 0 ? QString() : QString::number(valor)))
        SetValor(valor);
}
