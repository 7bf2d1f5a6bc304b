#pragma once

#include <string>
#include <string_view>
#include <vector>

// The form of the program's tables for a spreadsheet in Portuguese, as the record of the exports keeps them: code
// page 1252, ";" between fields, a field with ";", a quote or a line end in quotes, CR LF after each row.
using TCampos = std::vector<std::string>;

// One row, CR LF included. A field that a spreadsheet would run as a formula gets an apostrophe before it.
std::string LinhaCsv(const TCampos& campos);
// The rows of the text, the apostrophe taken away again; a row whose quotes are broken comes back empty, and
// reading goes on at its next line end, so that one bad row never swallows the ones after it.
std::vector<TCampos> LerCsv(std::string_view texto);
