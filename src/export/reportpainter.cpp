// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing context shared by the report's page parts: painter, page geometry and fonts.
#include "export/reportpainter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

ReportPainter::ReportPainter(QPainter &painter, int pageWidth, int pageHeight, bool english)
    : p(painter), w(pageWidth), h(pageHeight), isEnglish(english)
{
    // The family registered at start-up from the fonts beside the program.
    // Where it is missing, a CJK family keeps the Chinese texts readable
    // instead of leaving the choice to a generic fallback without those glyphs.
    QFont base = p.font();
    base.setFamily(QStringLiteral("思源黑体 CN"));
    base.setFamilies({QStringLiteral("思源黑体 CN"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Microsoft YaHei")});
    p.setFont(base);
    const int pixels[FontCount] = {english ? 14 : 16, english ? 10 : 12, english ? 8 : 10, 8, 6};
    for (int i = 0; i < FontCount; ++i) {
        fonts[i] = base;
        fonts[i].setPixelSize(pixels[i]);
        batches[i] = std::make_unique<GlyphTextBatch>(p, fonts[i]);
    }
}

void ReportPainter::text(Font font, const QRect &rect, int flags, const QString &text) const
{
    GlyphTextBatch &batch = *batches[font];
    batch.add(rect, flags, text, p.pen().color());
    batch.flush();
}

void ReportPainter::label(const QRect &rect, const QString &text) const
{
    this->text(Label, rect, alignL, text);
}

void ReportPainter::line(int x1, int y1, int x2, int y2) const
{
    p.drawLine(x1, y1, x2, y2);
}

void setUpReportPages(QPdfWriter &writer)
{
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
}
