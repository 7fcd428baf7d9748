// SPDX-License-Identifier: GPL-3.0-or-later
// The foot of every report page: "page N of M" and the recording file's fingerprint.
#pragma once

#include <QCoreApplication>
#include <QString>

class ReportPainter;

// Every page names the file it was made from, so that a single printed page
// can still be tied to its recording.
class ReportFooter
{
    Q_DECLARE_TR_FUNCTIONS(DataShowWidget)

public:
    // `fingerprint` is the recording file's SHA-256 in hex; empty for a
    // recording that was not read from a file, whose pages then carry none.
    ReportFooter(const ReportPainter &painter, int pageCount, const QString &fingerprint);

    // Draws the foot of page `page` (from 1) on the current page.
    void draw(int page) const;

    static QString pageText(int page, int pageCount);

private:
    const ReportPainter &rp;
    int pageCount;
    QString fingerprintText;
};
