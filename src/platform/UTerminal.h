#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The terminal of a program run from the command line.

// Whether standard error is a terminal (and not a file or a pipe).
bool ErroPadraoEhTerminal();
// Makes the console show UTF-8 text where it does not by default.
void PrepararTerminal();
// The command-line arguments, the program's name first, as UTF-8 text: names and paths never pass through
// code page 1252.
std::vector<std::string> ArgumentosUtf8(int argc, char** argv);
// A text of the program (code page 1252) in the terminal's encoding.
std::string TextoTerminal(const std::string& texto);
