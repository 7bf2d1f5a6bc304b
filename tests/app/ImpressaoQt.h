#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Failures show Qt texts as text, not as bytes.
inline void PrintTo(const QString& texto, std::ostream* saida) {
    *saida << '"' << texto.toStdString() << '"';
}

inline void PrintTo(const QStringList& textos, std::ostream* saida) {
    *saida << '{';
    for (const QString& texto : textos)
        *saida << ' ' << '"' << texto.toStdString() << '"';
    *saida << " }";
}
