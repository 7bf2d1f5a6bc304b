#include "UAplicacao.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void PrepararAplicacao(QApplication& aplicacao) {
    const QLocale portugues(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(portugues);
    auto* traducao = new QTranslator(&aplicacao);
    if (traducao->load(portugues, QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traducao);
    // Liberation Sans is drawn to Arial's widths, so a caption sized for Arial fits whole. A substitute is
    // used only where the family itself is missing.
    for (const QString& familia : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma")})
        QFont::insertSubstitution(familia, QStringLiteral("Liberation Sans"));
}
