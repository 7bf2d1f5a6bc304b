#include "cli/UComandoExportacao.h"
#include "platform/USinais.h"
#include "platform/UTerminal.h"

#include <iostream>

int main(int argc, char** argv) {
    PrepararTerminal();
    InstalarLimpezaAoInterromper();
    return TComandoExportacao::Executar(argc, argv, std::cout, std::cerr, ErroPadraoEhTerminal());
}
