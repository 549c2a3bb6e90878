#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

namespace {

constexpr const char* Catalogue = "qtbase_de";

}  // namespace

QtTranslations::QtTranslations() {
    m_bInstalled =
        m_translator.load(catalogueFile()) && QCoreApplication::installTranslator(&m_translator);
}

QtTranslations::~QtTranslations() {
    if (m_bInstalled) {
        QCoreApplication::removeTranslator(&m_translator);
    }
}

QString QtTranslations::catalogueFile() {
    return QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        .filePath(QString::fromLatin1(Catalogue) + QStringLiteral(".qm"));
}
