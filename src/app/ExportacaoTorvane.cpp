#include "app/UInicializacao.h"
#include "qtbase/UAplicacao.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication aplicacao(argc, argv);
    PrepararAplicacao(aplicacao);
    return Iniciar(aplicacao);
}
