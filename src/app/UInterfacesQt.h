#pragma once

#include "UInterfaces.h"

class QProgressBar;
class QWidget;

// How the export reaches the desktop program: its gauge, its information box and its event pump.

class TProgressoQt : public IProgresso {
public:
    explicit TProgressoQt(QProgressBar* barra) : FBarra(barra) {}
    void SetMaximo(int maximo) override;
    void SetPosicao(int posicao) override;
    void Passo() override;

private:
    QProgressBar* FBarra;
};

class TInformacaoQt : public IInformacao {
public:
    explicit TInformacaoQt(QWidget* dono) : FDono(dono) {}
    void Informar(const std::string& texto, const std::string& titulo) override;

private:
    QWidget* FDono;
};

class TEventosQt : public IEventos {
public:
    void ProcessarEventos() override;
};
