#include "qtbase/UEditDiretorio.h"

#include "platform/UPastaPrograma.h"
#include "qtbase/UEscolhaArquivo.h"
#include "qtbase/UTextoQt.h"

#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QStyle>

TEditDiretorio::TEditDiretorio(QWidget* dono) : QLineEdit(dono) {
    QAction* escolher = addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    escolher->setObjectName(QStringLiteral("btnEscolherDiretorio"));
    // The button shows only its icon; the action's text is what a screen reader calls it.
    escolher->setText(QStringLiteral("Escolher a pasta"));
    escolher->setToolTip(QStringLiteral("Escolher a pasta"));
    connect(escolher, &QAction::triggered, this, &TEditDiretorio::EscolherPasta);
}

void TEditDiretorio::keyPressEvent(QKeyEvent* evento) {
    // Only what is typed: a validator would upper-case the stored folder and the picker's choice as well, and
    // on a file system that tells case apart an upper-cased name would be another folder.
    const QString maiusculas = evento->text().toUpper();
    if (!SistemaIgnoraCaixa() || maiusculas == evento->text())
        return QLineEdit::keyPressEvent(evento);
    QKeyEvent digitado(evento->type(), evento->key(), evento->modifiers(), maiusculas, evento->isAutoRepeat(),
                       static_cast<ushort>(evento->count()));
    QLineEdit::keyPressEvent(&digitado);
    evento->setAccepted(digitado.isAccepted());
}

void TEditDiretorio::EscolherPasta() {
    if (const auto pasta = TEscolhaArquivo::Atual().EscolherPasta(this, QString(), CaminhoDeQString(text())))
        setText(QDir::toNativeSeparators(CaminhoParaQString(*pasta)));
}
