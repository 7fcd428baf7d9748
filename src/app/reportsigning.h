// SPDX-License-Identifier: GPL-3.0-or-later
// ReportSigning: the window's flow that signs a PDF report digitally with the user's PKCS#12 key.
#pragma once

#include <QCoreApplication>
#include <QString>

class MainWindow;

// Asks for the report, the PKCS#12 file (remembered by its path in the
// settings file, never its password), the reason when the settings want one
// and the password; signs the report in place, says how it went in the
// window's notice and records it in the audit trail as `hygra-cli sign` does.
class ReportSigning
{
    Q_DECLARE_TR_FUNCTIONS(ReportSigning)
public:
    static void run(MainWindow *window);

    // Where the settings file keeps the PKCS#12 file's path.
    static QString settingsGroup() { return QStringLiteral("Signing"); }
    static QString settingsKey() { return QStringLiteral("p12"); }
};
