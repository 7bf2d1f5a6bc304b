#pragma once

#include <filesystem>
#include <string>

// The terminal of a program run from the command line.

// Whether standard error is a terminal (and not a file or a pipe).
bool ErroPadraoEhTerminal();
// Makes the console show UTF-8 text where it does not by default.
void PrepararTerminal();
// A command-line argument as UTF-8 text, for names and paths, which never pass through code page 1252.
std::string ArgumentoUtf8(const char* argumento);
// A text of the program (code page 1252) in the terminal's encoding.
std::string TextoTerminal(const std::string& texto);
