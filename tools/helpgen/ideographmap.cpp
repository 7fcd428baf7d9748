// SPDX-License-Identifier: GPL-3.0-or-later
// Puts back the ideographs that a PDF's ToUnicode maps give as look-alike radicals.
#include "ideographmap.h"

#include <QRawFont>
#include <QVector>
#include <cstdio>
#include <cstring>

namespace
{

constexpr char16_t firstRadical = 0x2E80;
constexpr char16_t lastRadical = 0x2FDF;
constexpr int hexDigits = 4;

// The "<XXXX>" codes of one line of a "bfrange" section, by their offset.
QVector<int> codesOf(const QByteArray &pdf, int from, int to)
{
    QVector<int> codes;
    for (int at = pdf.indexOf('<', from); at >= 0 && at + hexDigits + 1 < to;
         at = pdf.indexOf('<', at + 1)) {
        if (pdf.at(at + hexDigits + 1) == '>')
            codes.append(at + 1);
    }
    return codes;
}

char16_t codeAt(const QByteArray &pdf, int at)
{
    return char16_t(QByteArray::fromRawData(pdf.constData() + at, hexDigits).toUShort(nullptr, 16));
}

// Rewrites the character codes of one "<first> <last> dest" line, where dest
// is either "[<c1> <c2> ...]", one character per glyph, or "<c>", the first
// of consecutive characters. Returns the radicals it had to leave.
int restoreLine(QByteArray &pdf, int from, int to, const QHash<char16_t, char16_t> &radicals)
{
    const QVector<int> codes = codesOf(pdf, from, to);
    if (codes.size() < 3)
        return 0;
    const char16_t first = codeAt(pdf, codes.at(0));
    const char16_t last = codeAt(pdf, codes.at(1));
    const int bracket = pdf.indexOf('[', from);
    const bool perGlyph = bracket >= 0 && bracket < to;
    if (!perGlyph && first != last) {
        const char16_t start = codeAt(pdf, codes.at(2));
        int left = 0;
        for (int c = start; c <= start + (last - first); ++c)
            left += radicals.contains(char16_t(c)) ? 1 : 0;
        return left;
    }
    for (int i = 2; i < codes.size(); ++i) {
        const auto ideograph = radicals.constFind(codeAt(pdf, codes.at(i)));
        if (ideograph == radicals.cend())
            continue;
        char hex[hexDigits + 1];
        std::snprintf(hex, sizeof hex, "%04X", unsigned(*ideograph));
        std::memcpy(pdf.data() + codes.at(i), hex, hexDigits);
    }
    return 0;
}

} // namespace

QHash<char16_t, char16_t> radicalsSharingGlyphs(const QRawFont &font, const QString &text)
{
    QHash<quint32, char16_t> ideographOfGlyph;
    for (const QChar ch : text) {
        if (ch.script() == QChar::Script_Han && (ch < firstRadical || ch > lastRadical)) {
            const auto glyphs = font.glyphIndexesForString(QString(ch));
            if (!glyphs.isEmpty() && glyphs.first() != 0)
                ideographOfGlyph.insert(glyphs.first(), ch.unicode());
        }
    }
    QHash<char16_t, char16_t> radicals;
    for (char16_t radical = firstRadical; radical <= lastRadical; ++radical) {
        const auto glyphs = font.glyphIndexesForString(QString(QChar(radical)));
        if (glyphs.isEmpty() || glyphs.first() == 0)
            continue;
        const auto ideograph = ideographOfGlyph.constFind(glyphs.first());
        if (ideograph != ideographOfGlyph.cend())
            radicals.insert(radical, *ideograph);
    }
    return radicals;
}

int restoreIdeographs(QByteArray &pdf, const QHash<char16_t, char16_t> &radicals)
{
    static const QByteArray begin("beginbfrange");
    static const QByteArray end("endbfrange");
    int left = 0;
    for (int at = pdf.indexOf(begin); at >= 0; at = pdf.indexOf(begin, at)) {
        const int sectionEnd = pdf.indexOf(end, at);
        if (sectionEnd < 0)
            break;
        for (int line = pdf.indexOf('\n', at) + 1; line > 0 && line < sectionEnd;) {
            int lineEnd = pdf.indexOf('\n', line);
            if (lineEnd < 0 || lineEnd > sectionEnd)
                lineEnd = sectionEnd;
            left += restoreLine(pdf, line, lineEnd, radicals);
            line = lineEnd + 1;
        }
        at = sectionEnd;
    }
    return left;
}
