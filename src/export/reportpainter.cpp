// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing context shared by the report's page parts: painter, page geometry and fonts.
#include "export/reportpainter.h"

#include <QPainter>
#include <QStringList>

namespace
{

QFont sized(QFont font, int pixels)
{
    font.setPixelSize(pixels);
    return font;
}

} // namespace

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
    f1 = sized(base, english ? 14 : 16);
    f2 = sized(base, english ? 10 : 12);
    f3 = sized(base, english ? 8 : 10);
    f4 = sized(base, 8);
    f5 = sized(base, 6);
}

void ReportPainter::text(const QFont &font, const QRect &rect, int flags, const QString &text) const
{
    p.setFont(font);
    p.drawText(rect, flags, text);
}

void ReportPainter::label(const QRect &rect, const QString &text) const
{
    this->text(f3, rect, alignL, text);
}

void ReportPainter::line(int x1, int y1, int x2, int y2) const
{
    p.drawLine(x1, y1, x2, y2);
}

void ReportPainter::pageNumber(int number) const
{
    text(f3, box(34, h - 31, right(), h - 18), alignC, QString::number(number));
}
