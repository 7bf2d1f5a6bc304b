#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The terminal of a program run from the command line.

// Whether standard error is a terminal (and not a file or a pipe).
bool ErroPadraoEhTerminal();
// Whether standard input is a terminal, where a person types.
bool EntradaPadraoEhTerminal();
// Makes the console show UTF-8 text where it does not by default, until RestaurarTerminal.
void PrepararTerminal();
// Leaves the terminal as the program found it: the console's code page, and what is typed shown again. It may
// run inside a signal handler, or in the thread in which Windows reports Ctrl-C.
void RestaurarTerminal();
// One line of standard input as UTF-8 text, without its line end; none when the input ends before any. At a
// terminal what is typed is not shown (a password); elsewhere the bytes are taken as UTF-8.
std::optional<std::string> LerLinhaSemEco();
// The command-line arguments, the program's name first, as UTF-8 text: names and paths never pass through
// code page 1252.
std::vector<std::string> ArgumentosUtf8(int argc, char** argv);
// A text of the program (code page 1252) in the terminal's encoding.
std::string TextoTerminal(const std::string& texto);
