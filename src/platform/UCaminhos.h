#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// Paths are the file system's own and keep every character it allows. Their text for the windows and the
// terminal is UTF-8; in a message of the program (code page 1252) a character it cannot hold shows as "?".
std::filesystem::path CaminhoDeUtf8(std::string_view utf8);
std::string CaminhoUtf8(const std::filesystem::path& caminho);
std::string CaminhoMensagem(const std::filesystem::path& caminho);
// A path as the value of a code page 1252 settings file, and back: code page 1252 where it holds the path
// and cannot be taken for UTF-8, UTF-8 otherwise, so that a stored path reads back as the same path.
std::string CaminhoParaValor(const std::filesystem::path& caminho);
std::filesystem::path ValorParaCaminho(std::string_view valor);

bool ArquivoExiste(const std::filesystem::path& caminho);
bool DiretorioExiste(const std::filesystem::path& caminho);
// Creates one folder level; its parent must exist.
bool CriarDiretorio(const std::filesystem::path& caminho);

// Whether two paths name the same file: the very file on disk or, when there is none, the same absolute path.
bool MesmoCaminho(const std::filesystem::path& a, const std::filesystem::path& b);

// std::fopen for every path the file system allows: on Windows the narrow name would pass through the ANSI
// code page and lose the characters it lacks, so the file is opened by its wide name.
std::FILE* AbrirArquivo(const std::filesystem::path& caminho, const char* modo);
