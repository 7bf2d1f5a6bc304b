#pragma once

#include <CLI/CLI.hpp>

#include <string>

// The parser's words in Portuguese, as the rest of the command speaks.

// The help's own words; the options' groups take the name given here as they are added.
void EmPortugues(CLI::App& app);
// The parser's complaint, kind by kind, with the options and arguments it names.
std::string MensagemUso(const CLI::ParseError& erro, const CLI::App& app);
