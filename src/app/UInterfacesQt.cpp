#include "UInterfacesQt.h"

#include "UCaixaMensagem.h"

#include <QCoreApplication>
#include <QProgressBar>

void TProgressoQt::SetMaximo(int maximo) {
    FBarra->setMaximum(maximo);
}

void TProgressoQt::SetPosicao(int posicao) {
    FBarra->setValue(posicao);
}

void TProgressoQt::Passo() {
    if (FBarra->value() < FBarra->maximum())
        FBarra->setValue(FBarra->value() + 1);
}

void TInformacaoQt::Informar(const std::string& texto, const std::string& titulo) {
    TCaixaMensagem::Atual().Mostrar(FDono, texto, titulo, TIconeMensagem::Informacao, TBotoesMensagem::Ok, false);
}

void TEventosQt::ProcessarEventos() {
    QCoreApplication::processEvents();
}
