// SPDX-License-Identifier: GPL-3.0-or-later
// The foot of every report page: "page N of M" and the recording file's fingerprint.
#include "export/reportfooter.h"

#include "export/reportpainter.h"

#include <QPainter>

ReportFooter::ReportFooter(const ReportPainter &painter, int pageCount, const QString &fingerprint)
    : rp(painter), pageCount(pageCount),
      fingerprintText(fingerprint.isEmpty() ? QString() : QStringLiteral("SHA-256: ") + fingerprint)
{
}

QString ReportFooter::pageText(int page, int pageCount)
{
    return tr("第 %1 页，共 %2 页").arg(page).arg(pageCount);
}

void ReportFooter::draw(int page) const
{
    using RP = ReportPainter;
    rp.painter().setPen(Qt::black);
    // The page text keeps the place of the former bare page number; the
    // fingerprint sits just below it, still inside a printer's margin.
    const int h = rp.height();
    rp.text(RP::Label, RP::box(34, h - 31, rp.right(), h - 18), RP::alignC,
            pageText(page, pageCount));
    if (!fingerprintText.isEmpty())
        rp.text(RP::Table, RP::box(34, h - 19, rp.right(), h - 12), RP::alignC, fingerprintText);
}
