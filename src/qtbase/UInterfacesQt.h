#pragma once

#include "export/UInterfaces.h"

#include <QElapsedTimer>

class QProgressBar;
class QWidget;

// How the export reaches the desktop program: its gauge, its information box and its event pump.
// The export steps the gauge and offers to pump events after every row; drawing and pumping a million
// times would take longer than the export itself, so both are paced by time instead. Every interval the
// bar shows the rows done and the window repaints and takes input.

// Time between two showings of the gauge, and between two runs of the event pump.
constexpr int IntervaloAtualizacaoMs = 50;

class TProgressoQt : public TProgressoContado {
public:
    explicit TProgressoQt(QProgressBar* barra) : FBarra(barra) {}

protected:
    // A step shows at most once an interval, and always at the last row.
    void Mudou(TMudanca mudanca) override;

private:
    QProgressBar* FBarra;
    QElapsedTimer FDesdeMostrado;
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
    // Handles the pending events when an interval has passed since it last did (at once the first time, and
    // so at the first row of an export that starts after a pause).
    void ProcessarEventos() override;

private:
    QElapsedTimer FDesdeProcessado;
};
