#pragma once

#include <string>

// The main window's remembered values, kept in ExportacaoKOTR.ini (section QOR) in the program's folder,
// and the rules the desktop program and the headless command share.
struct TValoresExportacao {
    std::string Diretorio;
    int Empresa = 0;
    int CodTorvane = 0;
    int TipoData = 0; // 0: posting date; any other number: due date

    static std::string ArquivoConfiguracoes();
    // Absent keys and numbers that are not whole give the defaults.
    static TValoresExportacao Ler();
    // Writes the four keys in order; fails with the path and the system's reason.
    void Gravar() const;
};

// ".txt" is appended to a name shorter than 4 characters, or to one that holds no ".txt" in any case.
std::string CompletarNomeArquivo(const std::string& nome);
