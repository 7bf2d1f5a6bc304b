#pragma once

#include <filesystem>

// A program stopped by Ctrl-C (Ctrl-Break too in a Windows console) or a termination request while it writes
// a file would leave the temporary file of receivables beside the target. The headless command installs this
// clean-up: the file being written at that moment is removed and the terminal is left as it was found
// (RestaurarTerminal), then the program ends as the signal would have ended it.
void InstalarLimpezaAoInterromper();
// The temporary file now being written (one at a time), and its end.
void RegistrarTemporario(const std::filesystem::path& caminho);
void EsquecerTemporario();
