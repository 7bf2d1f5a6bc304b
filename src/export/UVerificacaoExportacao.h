#pragma once

#include "platform/UDataHora.h"

#include <filesystem>
#include <optional>
#include <string>

// The values of one export, as a front end gathers them.
struct TPedidoExportacao {
    std::filesystem::path Diretorio;
    std::string NomeArquivo; // UTF-8, as typed, before ".txt" is added
    bool DataLancamento = true;
    std::optional<TDataHora> DataInicial; // none: the text given is no real day
    std::optional<TDataHora> DataFinal;
    int Empresa = 0;
    int CodTorvane = 0;
    int Perfil = 0;
};

enum class TCampoExportacao { Diretorio, DataInicial, DataFinal, Empresa, NomeArquivo, CodTorvane, Perfil };

struct TProblemaExportacao {
    TCampoExportacao Campo;
    std::string Texto; // code page 1252
    // The folder is given but missing: a person may be offered to create it; a scheduled run stops.
    bool PastaInexistente = false;
};

// The checks of an export's values, in the main window's order: the first that fails, or none. The profile
// is not among them: the window offers only the profiles of the file. A look before writing (`arquivo` false)
// needs neither the folder nor the file name.
std::optional<TProblemaExportacao> VerificarExportacao(const TPedidoExportacao& pedido, bool arquivo = true);
// A profile line given by number must be in the profile file: one that is not would export every group,
// where a filter was asked for. 0 is every group.
std::optional<TProblemaExportacao> VerificarPerfil(int perfil);

// The folder as the checks name it: ending in a separator.
std::filesystem::path PastaExportacao(const std::filesystem::path& diretorio);

// The name typed (UTF-8), as the export writes it: completed with ".txt" by the file-name rule and made a file
// name, once; and why it is not a plain file name, empty when it is one.
struct TNomeExportacao {
    std::filesystem::path Nome;
    std::string Problema; // code page 1252
};
TNomeExportacao NomeExportacao(const std::string& digitado);
