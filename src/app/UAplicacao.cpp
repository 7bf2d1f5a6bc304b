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
    // Where Qt is installed (Debian's qt6-translations-l10n), or beside a copy of the program with its own Qt.
    for (const QString& pasta : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
        if (traducao->load(portugues, QStringLiteral("qtbase"), QStringLiteral("_"), pasta)) {
            QCoreApplication::installTranslator(traducao);
            break;
        }
    }
    // Liberation Sans is drawn to Arial's widths, so a caption sized for Arial fits whole. A substitute is
    // used only where the family itself is missing.
    for (const QString& familia : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma")})
        QFont::insertSubstitution(familia, QStringLiteral("Liberation Sans"));
}
