#pragma once

#include <filesystem>
#include <string>

// The folder of the running program file.
std::filesystem::path PastaPrograma();
// Tests point the program's folder elsewhere; an empty path goes back to the real one.
void DefinirPastaPrograma(const std::filesystem::path& pasta);

// The path separator of this platform.
char SeparadorPasta();
// Appends the separator unless the text already ends in one.
std::string IncluirSeparador(const std::string& pasta);
// Whether the file system ignores letter case in names (folder names typed are then upper-cased).
bool SistemaIgnoraCaixa();
