#pragma once

#include <QString>

#include <string>

// The windows show Unicode; the program keeps code page 1252.
QString ParaQString(const std::string& texto);
std::string DeQString(const QString& texto);
