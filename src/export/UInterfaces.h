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

// What every gauge counts: its maximum, and the position within it that a step never takes past the maximum.
// A front end shows the count in Mudou.
class TProgressoContado : public IProgresso {
public:
    void SetMaximo(int maximo) override {
        FMaximo = maximo > 0 ? maximo : 0;
        FPosicao = FPosicao < FMaximo ? FPosicao : FMaximo;
        Mudou(TMudanca::Maximo);
    }
    void SetPosicao(int posicao) override {
        FPosicao = posicao < 0 ? 0 : (posicao > FMaximo ? FMaximo : posicao);
        Mudou(TMudanca::Posicao);
    }
    void Passo() override {
        if (FPosicao < FMaximo)
            ++FPosicao;
        Mudou(TMudanca::Passo);
    }
    int Maximo() const { return FMaximo; }
    int Posicao() const { return FPosicao; }

protected:
    enum class TMudanca { Maximo, Posicao, Passo };
    virtual void Mudou(TMudanca mudanca) = 0;

private:
    int FMaximo = 0;
    int FPosicao = 0;
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
