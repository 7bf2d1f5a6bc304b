#pragma once

#include "export/UDados.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// What follows a file put in place, in this order: the copy of the file as sent, written whole and flushed, then
// the export's row in the record, which names the copy. Neither undoes the export: why either could not be done
// goes into the result, and into the text of the success box, which is given. `texto`, when given, holds the
// bytes of the file; otherwise the copy is read from the file written.
std::string ConcluirExportacao(TResultadoExportacao& resultado, const TFiltroExportacao& filtro, std::string sha256,
                               const std::filesystem::path& NomeArquivo, std::optional<std::string_view> texto,
                               bool somenteNovos = false);
