#pragma once

#include "UCaixaMensagem.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Stands in for the message boxes while it lives: records every box and answers from a script
// (No, or OK, when the script has run out).
class TCaixaFalsa : public TCaixaMensagem {
public:
    struct TChamada {
        std::string Texto;
        std::string Titulo;
        TIconeMensagem Icone;
        TBotoesMensagem Botoes;
    };

    TCaixaFalsa() { TCaixaMensagem::Definir(this); }
    ~TCaixaFalsa() override { TCaixaMensagem::Definir(nullptr); }
    TCaixaFalsa(const TCaixaFalsa&) = delete;
    TCaixaFalsa& operator=(const TCaixaFalsa&) = delete;

    TRespostaMensagem Mostrar(QWidget* dono, const std::string& texto, const std::string& titulo, TIconeMensagem icone,
                              TBotoesMensagem botoes, bool naoPadrao) override;

    std::vector<TChamada> Chamadas;
    std::deque<TRespostaMensagem> Respostas;
};

// The widgets that Tab visits, in order, from the first one.
std::vector<QWidget*> OrdemDeTabulacao(QWidget* primeiro);

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
                return;
            }
            if (!estado->Prazo.hasExpired())
                Agendar(estado);
        });
    }

    std::shared_ptr<TEstado> FEstado;
};
