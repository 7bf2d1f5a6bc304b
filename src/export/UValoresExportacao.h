#pragma once

#include <filesystem>
#include <string>

// The main window's remembered values, kept in ExportacaoKOTR.ini (section QOR) beside the program's other
// settings, and the rules the desktop program and the headless command share.
struct TValoresExportacao {
    std::filesystem::path Diretorio;
    int Empresa = 0;
    int CodTorvane = 0;
    int TipoData = 0; // 0: posting date; any other number: due date

    static std::filesystem::path ArquivoConfiguracoes();
    // Absent keys and numbers that are not whole give the defaults.
    static TValoresExportacao Ler();
    // Writes the four keys in order; fails with the path and the system's reason.
    void Gravar() const;
};

// ".txt" is appended to a name shorter than 4 characters, or to one that holds no ".txt" in any case.
// The name is UTF-8 text, as typed.
std::string CompletarNomeArquivo(const std::string& nome);
// Why the typed name is not a plain file name (it holds a folder separator, or is "." or ".."); empty when
// it is one. Such a name would write somewhere else than the chosen folder. On Windows it also refuses the
// device names (CON, NUL, COM1...), the characters Windows refuses and a trailing dot or blank.
std::string ProblemaNomeArquivo(const std::string& nome);
