#pragma once

#include <QDialog>

class QPushButton;

// What the dialogs share: a fixed-size window with only the close box, opened centred on the screen, whose keys
// reach FormKeyDown before the focused control sees them. Esc closes or cancels it and Enter presses the focused
// button, in every dialog; a window adds only the keys that are its own.
class TDialogo : public QDialog {
    Q_OBJECT
public:
    explicit TDialogo(QWidget* dono);

protected:
    // Called at the end of the derived constructor, once every control exists.
    void PreverTeclado();
    // True when the key was handled and the control must not see it. `alvo` is the control that has it. A window
    // with keys of its own handles them and hands every other key on to this one.
    virtual bool FormKeyDown(QObject* alvo, int tecla);
    // What Esc does: by default what "Cancelar" does, leaving without an answer.
    virtual void Cancelar();

    // A button of the window, named for the tests. No button is a default one: Enter presses only the button
    // that has the focus.
    static QPushButton* CriarBotao(QWidget* pai, const char* nome, const QString& texto);
    // Either Enter key.
    static bool TeclaEnter(int tecla);
    // Enter on a focused button presses it; true when `alvo` was one.
    static bool ClicarBotaoFocado(QObject* alvo);

    bool eventFilter(QObject* alvo, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    bool TratarTecla(QObject* alvo, int tecla);
};
