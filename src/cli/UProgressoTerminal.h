#pragma once

#include "export/UInterfaces.h"

#include <ostream>
#include <string>

// The export's gauge as a bar on the terminal. It redraws only when the whole percentage changes, so a
// long export writes at most about a hundred bars whatever its number of rows. When the output is not a
// terminal (a file, a pipe, a scheduled job's log) it writes nothing at all.
class TProgressoTerminal : public TProgressoContado {
public:
    TProgressoTerminal(std::ostream& saida, bool terminal) : FSaida(saida), FTerminal(terminal) {}

    // A line shown while there is no bar yet (the server is still working on the query).
    void Anunciar(const std::string& texto);
    // Ends the bar's line, when one was drawn, so that later messages start on a line of their own.
    void Encerrar();

protected:
    void Mudou(TMudanca mudanca) override;

private:
    void Desenhar();

    std::ostream& FSaida;
    bool FTerminal;
    int FPercentualDesenhado = -1;
    bool FLinhaAberta = false;
};
