#include "UComandoExportacao.h"
#include "UTerminal.h"

#include <iostream>

int main(int argc, char** argv) {
    PrepararTerminal();
    return TComandoExportacao::Executar(argc, argv, std::cout, std::cerr, ErroPadraoEhTerminal());
}
