#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// Failures show Qt texts as text, not as bytes.
void PrintTo(const QString& texto, std::ostream* saida);

// The child of the window with that objectName; a missing one ends the test.
template <class T> T& Controle(const QWidget& janela, const char* nome) {
    if (T* controle = janela.findChild<T*>(QString::fromLatin1(nome)))
        return *controle;
    throw std::runtime_error(std::string("no control ") + nome);
}

void Clicar(const QWidget& janela, const char* botao);
void Tecla(const QWidget& janela, const char* controle, Qt::Key tecla);

// What a screen reader reads as the name of a window, a control or an action's button.
QString NomeAcessivel(QObject& objeto);
// Whatever a screen reader user would miss in the window, one text each: the window not named by its caption,
// or a control that takes the focus without a name, or with the name of another control of the window.
std::vector<std::string> ProblemasAcessiveis(QWidget& janela, const QString& titulo);

// Lets the event loop run until the condition holds; false when it has not held within a few seconds.
bool Esperar(const std::function<bool()>& condicao);

// Acts on the next modal dialog of class T as soon as it is open (the code under test is then inside the
// dialog's exec). Stops looking when destroyed, so a dialog that never opened cannot catch a later test.
template <class T> class TAoAbrir {
public:
    explicit TAoAbrir(std::function<void(T&)> acao) : FEstado(std::make_shared<TEstado>()) {
        FEstado->Acao = std::move(acao);
        Agendar(FEstado);
    }
    ~TAoAbrir() { FEstado->Ativo = false; }
    TAoAbrir(const TAoAbrir&) = delete;
    TAoAbrir& operator=(const TAoAbrir&) = delete;

    bool Executou() const { return FEstado->Executou; }

private:
    struct TEstado {
        std::function<void(T&)> Acao;
        bool Ativo = true;
        bool Executou = false;
        QDeadlineTimer Prazo{10000};
    };

    static void Agendar(const std::shared_ptr<TEstado>& estado) {
        QTimer::singleShot(0, [estado] {
            if (!estado->Ativo || estado->Executou)
                return;
            if (auto* dialogo = qobject_cast<T*>(QApplication::activeModalWidget())) {
                estado->Executou = true;
                estado->Acao(*dialogo);
            } else if (!estado->Prazo.hasExpired()) {
                Agendar(estado);
            }
        });
    }

    std::shared_ptr<TEstado> FEstado;
};
