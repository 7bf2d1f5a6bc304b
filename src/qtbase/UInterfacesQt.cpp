#include "qtbase/UInterfacesQt.h"

#include "qtbase/UCaixaMensagem.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <algorithm>

void TProgressoQt::SetMaximo(int maximo) {
    FMaximo = std::max(maximo, 0);
    FPosicao = std::min(FPosicao, FMaximo);
    FBarra->setMaximum(FMaximo);
    Mostrar();
}

void TProgressoQt::SetPosicao(int posicao) {
    FPosicao = std::clamp(posicao, 0, FMaximo);
    Mostrar();
}

void TProgressoQt::Passo() {
    if (FPosicao < FMaximo)
        ++FPosicao;
    if (FPosicao == FMaximo || FDesdeMostrado.hasExpired(IntervaloAtualizacaoMs))
        Mostrar();
}

void TProgressoQt::Mostrar() {
    FBarra->setValue(FPosicao);
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
