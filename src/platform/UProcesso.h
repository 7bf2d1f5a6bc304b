#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Starts a program and waits for its end, with no shell in between, so that its arguments reach it exactly as
// given on every platform (the tests start the headless command this way).
struct TExecucaoPrograma {
    std::filesystem::path Programa;
    std::vector<std::string> Argumentos;                       // UTF-8
    std::vector<std::pair<std::string, std::string>> Ambiente; // variables set or replaced, UTF-8
    std::filesystem::path Saida;                               // standard output's file
    std::filesystem::path Erro;                                // standard error's file
    std::filesystem::path Entrada;                             // standard input's file; none: empty input
};

// The exit status; -1 when the program did not start or was ended by a signal.
int RodarPrograma(const TExecucaoPrograma& execucao);

// Stops this program as the keyboard does: Ctrl-C (on Windows in a console of its own).
void InterromperComoTeclado();

// A variable of this program's environment, UTF-8; none when unset. An empty value unsets it.
std::optional<std::string> LerAmbiente(const std::string& nome);
void DefinirAmbiente(const std::string& nome, const std::string& valor);
