#pragma once

#include <string>

// The core never shows anything itself: each front end hands it these.

// The progress gauge that an export drives.
class IProgresso {
public:
    virtual ~IProgresso() = default;
    virtual void SetMaximo(int maximo) = 0;
    virtual void SetPosicao(int posicao) = 0;
    // Advances the position by one (never past the maximum) and repaints.
    virtual void Passo() = 0;
};

// The information box: a message and its caption, with an OK button.
class IInformacao {
public:
    virtual ~IInformacao() = default;
    virtual void Informar(const std::string& texto, const std::string& titulo) = 0;
};

// Lets the front end handle its pending events in the middle of a long operation.
class IEventos {
public:
    virtual ~IEventos() = default;
    virtual void ProcessarEventos() = 0;
};
