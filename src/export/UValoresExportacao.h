#pragma once

#include <filesystem>
#include <optional>
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

// What was last used for one company, so that each company gets its own number in Torvane and file name back: kept
// in section Empresas of ExportacaoKOTR.ini (CodTorvane_N, Arquivo_N for company N) and, for a company this PC
// never exported, taken from the last row of the record of the exports.
struct TValoresEmpresa {
    int CodTorvane = 0;
    std::string NomeArquivo; // UTF-8, as typed
};
// None when the company was never exported, here or, by the record, anywhere.
std::optional<TValoresEmpresa> ValoresDaEmpresa(int empresa);
// Fails with the path and the system's reason.
void GravarValoresDaEmpresa(int empresa, const TValoresEmpresa& valores);

// ".txt" is appended to a name shorter than 4 characters, or to one that holds no ".txt" in any case.
// The name is UTF-8 text, as typed.
std::string CompletarNomeArquivo(const std::string& nome);
// Why the typed name is not a plain file name (it holds a folder separator, or is "." or ".."); empty when
// it is one. Such a name would write somewhere else than the chosen folder. On Windows it also refuses the
// device names (CON, NUL, COM1...), the characters Windows refuses and a trailing dot or blank.
std::string ProblemaNomeArquivo(const std::string& nome);
