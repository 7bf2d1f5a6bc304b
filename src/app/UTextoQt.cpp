#include "UTextoQt.h"

#include "UCp1252.h"

QString ParaQString(const std::string& texto) {
    return QString::fromStdString(Cp1252ParaUtf8(texto));
}

std::string DeQString(const QString& texto) {
    return Utf8ParaCp1252(texto.toStdString());
}
