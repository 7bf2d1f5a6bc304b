#include "qtbase/UInterfacesQt.h"

#include "qtbase/UCaixaMensagem.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <algorithm>

void TProgressoQt::Mudou(TMudanca mudanca) {
    if (mudanca == TMudanca::Maximo)
        FBarra->setMaximum(Maximo());
    if (mudanca == TMudanca::Passo && Posicao() < Maximo() && !FDesdeMostrado.hasExpired(IntervaloAtualizacaoMs))
        return;
    FBarra->setValue(Posicao());
    FDesdeMostrado.start();
}

void TInformacaoQt::Informar(const std::string& texto, const std::string& titulo) {
    MostrarInformacao(FDono, texto, titulo);
}

void TEventosQt::ProcessarEventos() {
    if (FDesdeProcessado.isValid() && !FDesdeProcessado.hasExpired(IntervaloAtualizacaoMs))
        return;
    QCoreApplication::processEvents();
    FDesdeProcessado.start();
}
