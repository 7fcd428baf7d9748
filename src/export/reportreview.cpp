// SPDX-License-Identifier: GPL-3.0-or-later
// A recording's signatures and comments in the PDF report: first-page blocks and the review pages.
#include "export/reportreview.h"

#include "export/reportevaluation.h"
#include "export/reportpainter.h"
#include "export/reviewtexts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace
{

// The signature block: its title band right below the alarm table, its rows
// below the rule, and the chart's frame a little lower.
constexpr int signatureTitleTop = 432;
constexpr int signatureRuleY = 451;
constexpr int signatureRowsTop = 454;
constexpr int frameBelowRows = 4;
// The comment rows span the chart's frame inside its borders.
constexpr int commentLeft = 40;
constexpr int commentRight = 555;
// The top temperature label stands 13 points above the top grid line.
constexpr int plotBelowComments = 14;

// The review pages: the first row below the title and serial number, the
// last one above the page's foot.
constexpr int pageRowsTop = 64;
constexpr int pageRowsBottomMargin = 40;
constexpr int sectionHeight = 24;

// A little slack for the glyph runs, which place characters by the font's
// own advances and may come out a fraction wider than measured here.
constexpr qreal slack = 2;

qreal widthOf(const ReportReview::Cell &cell)
{
    return cell.right - cell.left + 1 - slack;
}

} // namespace

ReportReview::ReportReview(const ReportPainter &painter, const LoadedRecording &recording)
    : rp(painter), review(ReviewTexts::shows(recording) ? &recording.review : nullptr),
      serial(recording.recording.sn)
{
    if (!review)
        return;
    const int r = rp.right();
    QVector<Row> signatures;
    for (const ReviewSignature &s : review->signatures)
        signatures << signatureRow(s, 36, r, rp.english());
    QVector<Row> comments;
    QVector<Row> commentsInFull;
    for (const ReviewComment &c : review->comments) {
        comments << commentRow(c, commentLeft, commentRight);
        commentsInFull << commentRow(c, 36, r);
    }
    bool signaturesOverflow = false;
    bool commentsOverflow = false;
    firstSignatures = firstPageBlock(signatures, &signaturesOverflow);
    firstComments = firstPageBlock(comments, &commentsOverflow);

    if (!firstSignatures.isEmpty())
        placement.frameTop =
            signatureRowsTop + rowPitch * int(firstSignatures.size()) + frameBelowRows;
    placement.plotTop =
        std::max(placement.plotTop, placement.frameTop + ReportEvaluation::rowsBelowFrame +
                                        rowPitch * int(firstComments.size()) + plotBelowComments);
    if (signaturesOverflow || commentsOverflow)
        layOutPages(signatures, commentsInFull);
}

ReportReview::Row ReportReview::signatureRow(const ReviewSignature &signature, int left, int right,
                                             bool english)
{
    return {{left, left + 99, signature.printedName},
            {left + 100, left + 189, signature.login},
            {left + 190, left + 339, ReviewTexts::timeText(signature.time)},
            {left + 340, left + 419, ReviewTexts::meaningText(signature, english)},
            {left + 420, right, signature.comment}};
}

ReportReview::Row ReportReview::commentRow(const ReviewComment &comment, int left, int right)
{
    return {{left, left + 149, ReviewTexts::timeText(comment.time)},
            {left + 150, left + 229, comment.user},
            {left + 230, left + 339, ReviewTexts::subjectText(comment)},
            {left + 340, right, ReviewTexts::commentParagraphs(comment).join(QLatin1Char('\n'))}};
}

ReportReview::Row ReportReview::elided(const Row &row, const QFont &font, bool *cut)
{
    const QFontMetricsF metrics(font);
    Row line = row;
    for (Cell &cell : line) {
        const QString text = cell.text.split(QLatin1Char('\n')).join(QStringLiteral("; "));
        cell.text = metrics.elidedText(text, Qt::ElideRight, widthOf(cell));
        if (cell.text != text)
            *cut = true;
    }
    return line;
}

QStringList ReportReview::wrap(const QString &text, const QFont &font, int width)
{
    const QFontMetricsF metrics(font);
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        int start = 0;
        while (true) {
            const int n = paragraph.size();
            if (metrics.horizontalAdvance(paragraph.mid(start)) <= width) {
                lines << paragraph.mid(start);
                break;
            }
            // The longest head that fits, at least one character.
            int end = start + 1;
            while (end < n &&
                   metrics.horizontalAdvance(paragraph.mid(start, end + 1 - start)) <= width)
                ++end;
            // A surrogate pair stays whole.
            if (end < n && paragraph.at(end).isLowSurrogate())
                end += end - start > 1 ? -1 : 1;
            const int space = paragraph.lastIndexOf(QLatin1Char(' '), end);
            if (space > start) {
                lines << paragraph.mid(start, space - start);
                start = space + 1;
            } else {
                lines << paragraph.mid(start, end - start);
                start = end;
            }
            if (start >= n)
                break;
        }
    }
    return lines;
}

QVector<ReportReview::Row> ReportReview::wrapped(const Row &row, const QFont &font)
{
    QVector<QStringList> cellLines;
    int count = 1;
    for (const Cell &cell : row) {
        cellLines << wrap(cell.text, font, int(widthOf(cell)));
        count = std::max(count, int(cellLines.last().size()));
    }
    QVector<Row> lines(count);
    for (int i = 0; i < count; ++i) {
        for (int c = 0; c < row.size(); ++c) {
            const Cell &cell = row.at(c);
            lines[i] << Cell{cell.left, cell.right, cellLines.at(c).value(i)};
        }
    }
    return lines;
}

void ReportReview::drawRow(const ReportPainter &painter, int y, const Row &row)
{
    for (const Cell &cell : row) {
        if (!cell.text.isEmpty())
            painter.text(ReportPainter::Label,
                         ReportPainter::box(cell.left, y, cell.right, y + rowPitch - 1),
                         ReportPainter::alignLC, cell.text);
    }
}

QVector<ReportReview::Row> ReportReview::firstPageBlock(const QVector<Row> &rows,
                                                        bool *overflows) const
{
    const QFont &font = rp.font(ReportPainter::Label);
    bool cut = false;
    QVector<Row> shown;
    for (const Row &row : rows)
        shown << elided(row, font, &cut);
    if (rows.size() <= firstPageRows && !cut)
        return shown;
    *overflows = true;
    const int kept = std::min(int(rows.size()), firstPageRows - 1);
    shown.resize(kept);
    // The first review page follows the first page.
    const int reviewPage = 2;
    const QString pointer =
        rows.size() > kept ? tr("… 另有 %1 条，见第 %2 页").arg(rows.size() - kept).arg(reviewPage)
                           : tr("… 全文见第 %1 页").arg(reviewPage);
    shown << Row{{rows.first().first().left, rows.first().last().right, pointer}};
    return shown;
}

void ReportReview::layOutPages(const QVector<Row> &signatureRows, const QVector<Row> &commentRows)
{
    const QFont &font = rp.font(ReportPainter::Label);
    const int bottom = rp.height() - pageRowsBottomMargin;
    pages.append(QVector<Item>());
    int y = pageRowsTop;
    const auto room = [&](int height) {
        if (y + height > bottom && y > pageRowsTop) {
            pages.append(QVector<Item>());
            y = pageRowsTop;
        }
    };
    const auto add = [&](const Row &line) {
        room(rowPitch);
        pages.last().append({Kind::Row, y, QString(), line});
        y += rowPitch;
    };
    const auto section = [&](const QString &title, const Row &header, const QVector<Row> &rows) {
        if (rows.isEmpty())
            return;
        // A title and the column names stay with the first entry.
        room(sectionHeight + 2 * rowPitch);
        pages.last().append({Kind::Section, y, title, {}});
        y += sectionHeight;
        add(header);
        for (const Row &row : rows) {
            const QVector<Row> lines = wrapped(row, font);
            room(rowPitch * int(lines.size()));
            for (const Row &line : lines)
                add(line);
        }
        y += rowPitch;
    };
    const int r = rp.right();
    Row signatureHeader = signatureRow({}, 36, r, rp.english());
    const QString signatureTitles[] = {tr("姓名"), tr("登录名"), tr("时间"), tr("含义"),
                                       tr("说明")};
    for (int c = 0; c < signatureHeader.size(); ++c)
        signatureHeader[c].text = signatureTitles[c];
    Row commentHeader = commentRow({}, 36, r);
    const QString commentTitles[] = {tr("时间"), tr("作者"), tr("针对"), tr("内容")};
    for (int c = 0; c < commentHeader.size(); ++c)
        commentHeader[c].text = commentTitles[c];
    section(tr("签名"), signatureHeader, signatureRows);
    section(tr("评论"), commentHeader, commentRows);
}

void ReportReview::drawSignatures() const
{
    if (firstSignatures.isEmpty())
        return;
    using RP = ReportPainter;
    rp.painter().setPen(Qt::black);
    rp.text(RP::Section, RP::box(36, signatureTitleTop, rp.sectionRight(), signatureTitleTop + 15),
            RP::alignL, tr("签名"));
    rp.line(34, signatureRuleY, rp.ruleEnd(), signatureRuleY);
    int y = signatureRowsTop;
    for (const Row &row : firstSignatures) {
        drawRow(rp, y, row);
        y += rowPitch;
    }
}

void ReportReview::drawComments() const
{
    rp.painter().setPen(Qt::black);
    int y = placement.frameTop + ReportEvaluation::rowsBelowFrame;
    for (const Row &row : firstComments) {
        drawRow(rp, y, row);
        y += rowPitch;
    }
}

void ReportReview::drawPage(int index) const
{
    using RP = ReportPainter;
    const int r = rp.right();
    rp.painter().setPen(Qt::black);
    rp.text(RP::Title, RP::box(34, 21, r, 40), RP::alignC, tr("审核记录"));
    rp.text(RP::Label, RP::box(34, 43, r, 56), RP::alignC,
            QStringLiteral("%1 : %2").arg(tr("S/N 序列号"), serial));
    for (const Item &item : pages.at(index)) {
        if (item.kind == Kind::Section) {
            rp.text(RP::Section, RP::box(36, item.y, rp.sectionRight(), item.y + 15), RP::alignL,
                    item.title);
            rp.line(34, item.y + 19, rp.ruleEnd(), item.y + 19);
        } else {
            drawRow(rp, item.y, item.row);
        }
    }
}
