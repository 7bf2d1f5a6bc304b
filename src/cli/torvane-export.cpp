#include "cli/UComandoExportacao.h"
#include "platform/USinais.h"
#include "platform/UTerminal.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    PrepararTerminal();
    InstalarLimpezaAoInterromper();
    // UTF-8 on every platform, as the command reads names and paths.
    const std::vector<std::string> argumentos = ArgumentosUtf8(argc, argv);
    std::vector<const char*> ponteiros;
    for (const auto& argumento : argumentos)
        ponteiros.push_back(argumento.c_str());
    const int status = TComandoExportacao::Executar(static_cast<int>(ponteiros.size()), ponteiros.data(), std::cout,
                                                    std::cerr, ErroPadraoEhTerminal());
    std::cout.flush();
    std::cerr.flush();
    // The console is left with the code page it had: the programs run after this one read it.
    RestaurarTerminal();
    return status;
}
