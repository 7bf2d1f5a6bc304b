#pragma once

#include <string>

// The folder of the running program file, ending in a path separator (code page 1252).
std::string PastaPrograma();
// Tests point the program's folder elsewhere; an empty text goes back to the real one.
void DefinirPastaPrograma(const std::string& pasta);

// The path separator of this platform.
char SeparadorPasta();
// Appends the separator unless the text already ends in one.
std::string IncluirSeparador(const std::string& pasta);
// Whether the file system ignores letter case in names (folder names typed are then upper-cased).
bool SistemaIgnoraCaixa();
