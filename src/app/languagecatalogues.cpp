// SPDX-License-Identifier: GPL-3.0-or-later
// LanguageCatalogues: the program's own translation catalogue and Qt's for the chosen language.
#include "app/languagecatalogues.h"

#include "core/shippedfiles.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace
{

// Qt's widgets texts; Debian ships them in qttranslations5-l10n and qt6-translations-l10n.
const char *const qtChineseCatalogue = "qtbase_zh_CN.qm";

QString qtTranslationsFolder()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

} // namespace

LanguageCatalogues::LanguageCatalogues(QObject *parent)
    : QObject(parent), own(new QTranslator(this)), qt(new QTranslator(this))
{
}

QString LanguageCatalogues::findQtCatalogue(const QString &fileName)
{
    for (const QString &folder :
         {shippedFilePath(QStringLiteral("lgxtranslation")), qtTranslationsFolder()}) {
        const QFileInfo file(QDir(folder), fileName);
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return QString();
}

void LanguageCatalogues::apply(const QString &language)
{
    const bool english = language.contains(QLatin1String("English"));
    const QString path = shippedFilePath(QStringLiteral("lgxtranslation/") +
                                         (english ? "main_en.qm" : "main_zh.qm"));
    if (!own->load(path))
        qDebug() << "translation catalogue not loaded:" << path;
    QCoreApplication::installTranslator(own);

    // Qt's own texts are English: the English interface needs no catalogue of Qt's.
    QCoreApplication::removeTranslator(qt);
    qtFile.clear();
    if (english)
        return;
    const QString qtPath = findQtCatalogue(QLatin1String(qtChineseCatalogue));
    if (qtPath.isEmpty() || !qt->load(qtPath)) {
        qDebug() << "Qt's catalogue not found:" << qtChineseCatalogue;
        return;
    }
    qtFile = qtPath;
    QCoreApplication::installTranslator(qt);
}
