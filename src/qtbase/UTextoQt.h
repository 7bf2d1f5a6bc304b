#pragma once

#include <QString>

#include <filesystem>
#include <string>

// The windows show Unicode; the program keeps code page 1252.
QString ParaQString(const std::string& texto);
std::string DeQString(const QString& texto);

// Paths keep every character the file system allows: they never pass through code page 1252.
QString CaminhoParaQString(const std::filesystem::path& caminho);
std::filesystem::path CaminhoDeQString(const QString& texto);
