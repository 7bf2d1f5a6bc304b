#include "qtbase/UAplicacao.h"

#include "qtbase/UAcessibilidade.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <utility>

void PrepararAplicacao(QApplication& aplicacao) {
    const QLocale portugues(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(portugues);
    auto* traducao = new QTranslator(&aplicacao);
    // Qt's own catalogue where Qt is installed (Debian's qt6-translations-l10n), or the single one that Qt's
    // deployment tool puts beside a copy of the program that carries its own Qt.
    const std::pair<QString, QString> catalogos[] = {
        {QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
        {QStringLiteral("qt"), QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}};
    for (const auto& [nome, pasta] : catalogos) {
        if (traducao->load(portugues, nome, QStringLiteral("_"), pasta)) {
            QCoreApplication::installTranslator(traducao);
            break;
        }
    }
    // Liberation Sans is drawn to Arial's widths, so a caption sized for Arial fits whole. A substitute is
    // used only where the family itself is missing.
    for (const QString& familia : {QStringLiteral("Arial"), QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma")})
        QFont::insertSubstitution(familia, QStringLiteral("Liberation Sans"));
    PrepararAcessibilidade();
}
