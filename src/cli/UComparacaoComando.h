#pragma once

#include <ostream>
#include <string>

// torvane-export --comparar: the recorded export of a file set against the database now. Prints the summary, then
// one line per posting that is not as it was sent: its group, badge, name, date, number, amount sent and amount now
// (reais with a point, empty where there is none) and why, separated by tabs. Gives 0 when nothing changed, 4 when
// something did, 1 when the file cannot be compared (not in the record, or the file sent can no longer be read).
int CompararComBanco(const std::string& arquivo, std::ostream& saida, std::ostream& erro);
