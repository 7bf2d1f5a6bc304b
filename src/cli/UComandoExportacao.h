#pragma once

#include <ostream>

// The headless export, for scheduled and scripted runs: the options, the checks of the main window, the
// export itself and the exit status. Messages go to `erro` in the terminal's encoding; on success one line
// goes to `saida`: the file's path, the number of lines and the total in reais, separated by tabs.
class TComandoExportacao {
public:
    TComandoExportacao() = delete;

    static constexpr int Gerado = 0;
    static constexpr int Falhou = 1;
    static constexpr int UsoIncorreto = 2;
    static constexpr int NadaEncontrado = 3;
    // --comparar: the database has changed since the file was sent.
    static constexpr int Mudou = 4;

    // `terminal`: whether `erro` is a terminal, which then shows a progress bar.
    static int Executar(int argc, const char* const* argv, std::ostream& saida, std::ostream& erro, bool terminal);
};
