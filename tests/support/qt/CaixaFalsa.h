#pragma once

#include "qtbase/UCaixaMensagem.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Stands in for the message boxes while it lives: records every box (texts in UTF-8, for readable
// comparisons) and answers from a script; when the script has run out, OK or No.
class TCaixaFalsa : public TCaixaMensagem {
public:
    struct TChamada {
        std::string Texto;
        std::string Titulo;
        TIconeMensagem Icone;
        TBotoesMensagem Botoes;
        bool NaoPadrao;
    };

    TCaixaFalsa() { TCaixaMensagem::Definir(this); }
    ~TCaixaFalsa() override { TCaixaMensagem::Definir(nullptr); }
    TCaixaFalsa(const TCaixaFalsa&) = delete;
    TCaixaFalsa& operator=(const TCaixaFalsa&) = delete;

    TRespostaMensagem Mostrar(QWidget* dono, const std::string& texto, const std::string& titulo, TIconeMensagem icone,
                              TBotoesMensagem botoes, bool naoPadrao) override;

    // The boxes shown so far, one line each: "Title (icon, buttons): text", the default of Yes and No marked "*".
    std::vector<std::string> Resumos() const;
    // How the line of the default failure box begins.
    static std::string InicioFalhaPadrao();

    std::vector<TChamada> Chamadas;
    std::deque<TRespostaMensagem> Respostas;
    // Runs while the box would be open, that is in the middle of whatever showed it.
    std::function<void(const TChamada&)> AoMostrar;
};
