#pragma once

#include "export/UDados.h"

#include <ostream>
#include <string>

// torvane-export --comparar: the recorded export of a file set against the database now. Prints the summary, then
// one line per posting that is not as it was sent: its group, badge, name, date, number, amount sent and amount now
// (reais with a point, empty where there is none) and why, separated by tabs. Gives 0 when nothing changed, 4 when
// something did, 1 when the file cannot be compared (not in the record, or the file sent can no longer be read).
int CompararComBanco(const std::string& arquivo, std::ostream& saida, std::ostream& erro);

// torvane-export --conferir: whether a file is still the one an export wrote, by the record of the exports. 0 when
// it is, 1 when it is not or the record does not hold it.
int ConferirArquivo(const std::string& arquivo, std::ostream& saida);
