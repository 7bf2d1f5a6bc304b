#include "UComandoExportacao.h"
#include "USinais.h"
#include "UTerminal.h"

#include <iostream>

int main(int argc, char** argv) {
    PrepararTerminal();
    InstalarLimpezaAoInterromper();
    return TComandoExportacao::Executar(argc, argv, std::cout, std::cerr, ErroPadraoEhTerminal());
}
