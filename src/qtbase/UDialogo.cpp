#include "qtbase/UDialogo.h"

#include "qtbase/UFalhas.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

TDialogo::TDialogo(QWidget* dono) : QDialog(dono) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
}

void TDialogo::PreverTeclado() {
    for (QWidget* controle : findChildren<QWidget*>())
        controle->installEventFilter(this);
}

QPushButton* TDialogo::CriarBotao(QWidget* pai, const char* nome, const QString& texto) {
    auto* botao = new QPushButton(texto, pai);
    botao->setObjectName(QString::fromLatin1(nome));
    botao->setAutoDefault(false);
    return botao;
}

bool TDialogo::TeclaEnter(int tecla) {
    return tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
}

bool TDialogo::ClicarBotaoFocado(QObject* alvo) {
    auto* botao = qobject_cast<QPushButton*>(alvo);
    if (botao)
        botao->click();
    return botao != nullptr;
}

bool TDialogo::FormKeyDown(QObject* alvo, int tecla) {
    if (tecla == Qt::Key_Escape) {
        Cancelar();
        return true;
    }
    // Anywhere else Enter goes to the control: no button is a default one.
    return TeclaEnter(tecla) && ClicarBotaoFocado(alvo);
}

void TDialogo::Cancelar() {
    reject();
}

bool TDialogo::TratarTecla(QObject* alvo, int tecla) {
    bool tratada = false;
    ExecutarTratando(this, [&] { tratada = FormKeyDown(alvo, tecla); });
    return tratada;
}

bool TDialogo::eventFilter(QObject* alvo, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && TratarTecla(alvo, static_cast<QKeyEvent*>(evento)->key()))
        return true;
    return QDialog::eventFilter(alvo, evento);
}

void TDialogo::keyPressEvent(QKeyEvent* evento) {
    if (!TratarTecla(this, evento->key()))
        QDialog::keyPressEvent(evento);
}

void TDialogo::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    // A window restored from the task bar is shown again by the system; it stays where the user left it.
    if (evento->spontaneous())
        return;
    if (QScreen* tela = screen())
        move(tela->availableGeometry().center() - rect().center());
}
