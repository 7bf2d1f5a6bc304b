#include "qtbase/UTextoQt.h"

#include "platform/UCaminhos.h"
#include "platform/UCp1252.h"

QString ParaQString(const std::string& texto) {
    return QString::fromStdString(Cp1252ParaUtf8(texto));
}

std::string DeQString(const QString& texto) {
    return Utf8ParaCp1252(texto.toStdString());
}

QString CaminhoParaQString(const std::filesystem::path& caminho) {
    return QString::fromStdString(CaminhoUtf8(caminho));
}

std::filesystem::path CaminhoDeQString(const QString& texto) {
    return CaminhoDeUtf8(texto.toStdString());
}
