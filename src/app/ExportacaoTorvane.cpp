#include "UInicializacao.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication aplicacao(argc, argv);
    return Iniciar(aplicacao);
}
