#include "qtbase/UEditDiretorio.h"

#include "platform/UPastaPrograma.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QStyle>
#include <QValidator>

namespace {

// Upper-cases what the user types; text set by the program (the stored folder, the picker's choice) is
// left as it is.
class TValidadorMaiusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override {
        texto = texto.toUpper();
        return Acceptable;
    }
};

} // namespace

TEditDiretorio::TEditDiretorio(QWidget* dono) : QLineEdit(dono) {
    // On a file system that tells case apart, an upper-cased name would be another folder.
    if (SistemaIgnoraCaixa())
        setValidator(new TValidadorMaiusculas(this));
    QAction* escolher = addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    escolher->setObjectName(QStringLiteral("btnEscolherDiretorio"));
    escolher->setToolTip(QStringLiteral("Escolher a pasta"));
    connect(escolher, &QAction::triggered, this, &TEditDiretorio::EscolherPasta);
}

void TEditDiretorio::EscolherPasta() {
    const QString pasta = QFileDialog::getExistingDirectory(this, QString(), text());
    if (!pasta.isEmpty())
        setText(QDir::toNativeSeparators(pasta));
}
