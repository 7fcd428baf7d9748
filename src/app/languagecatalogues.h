// SPDX-License-Identifier: GPL-3.0-or-later
// LanguageCatalogues: the program's own translation catalogue and Qt's for the chosen language.
#pragma once

#include <QObject>
#include <QString>

class QTranslator;

class LanguageCatalogues : public QObject
{
    Q_OBJECT
public:
    explicit LanguageCatalogues(QObject *parent = nullptr);

    // Installs our catalogue of `language` (English when it contains "English", Chinese
    // otherwise) and, for Chinese, Qt's own beside it, so that the dialogs Qt builds (file
    // dialogs, standard buttons) speak the interface's language too.
    void apply(const QString &language);

    // The file Qt's Chinese catalogue was loaded from; empty while none is installed.
    QString qtCatalogue() const { return qtFile; }

    // Where Qt's catalogue `fileName` lies: in our catalogue folder (a copy shipped beside
    // the program), else in Qt's translations folder; empty when neither has it.
    static QString findQtCatalogue(const QString &fileName);

private:
    QTranslator *own;
    QTranslator *qt;
    QString qtFile;
};
