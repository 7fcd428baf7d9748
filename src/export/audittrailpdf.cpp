// SPDX-License-Identifier: GPL-3.0-or-later
// The audit trail as printable A4 pages: a table of entries, page numbers, verdict and fingerprint.
#include "export/audittrailexport.h"

#include "export/exportfile.h"
#include "export/reportfooter.h"
#include "export/reportmetadata.h"
#include "export/reportpainter.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace
{

// Where the rows may reach: the page's foot starts below.
constexpr int rowsBottom = 800;
constexpr int firstPageRowsTop = 84;
constexpr int laterPageRowsTop = 52;
constexpr int cellPadding = 2;
// The columns' widths, left to right; they fill the content width.
constexpr int columnWidths[] = {26, 66, 62, 52, 56, 46, 40, 129, 50};
constexpr int columnCount = int(sizeof columnWidths / sizeof *columnWidths);

// Breaks `text` into lines no wider than `width`: after a space or a CJK
// character where one is at hand, anywhere in a word too long for a line.
QStringList wrapped(const QString &text, qreal width, const QFontMetricsF &metrics)
{
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        qreal lineWidth = 0;
        int breakAt = -1;
        for (const QChar c : paragraph) {
            const qreal advance = metrics.horizontalAdvance(c);
            if (lineWidth + advance > width && !line.isEmpty()) {
                const int cut = breakAt > 0 ? breakAt : line.size();
                lines << line.left(cut).trimmed();
                line = line.mid(cut);
                while (line.startsWith(QLatin1Char(' ')))
                    line.remove(0, 1);
                lineWidth = metrics.horizontalAdvance(line);
                breakAt = -1;
            }
            line += c;
            lineWidth += advance;
            if (c.isSpace() || c.unicode() >= 0x2E80 || c == QLatin1Char(',') ||
                c == QLatin1Char(';'))
                breakAt = line.size();
        }
        lines << line.trimmed();
    }
    return lines;
}

// An entry's cells, each already broken into lines.
struct Row {
    QVector<QStringList> cells;
    int height = 0;
};

class AuditTrailPages
{
    Q_DECLARE_TR_FUNCTIONS(AuditTrail)

public:
    AuditTrailPages(const ReportPainter &painter, const AuditTrailExport &trail,
                    const QString &fingerprint)
        : rp(painter), trail(trail), fingerprint(fingerprint),
          metrics(rp.font(ReportPainter::Table)),
          lineHeight(int(std::ceil(metrics.leading() + metrics.ascent() + metrics.descent())))
    {
        const QStringList titles = {tr("序号"),   tr("时间"), tr("用户"), tr("计算机"), tr("类型"),
                                    tr("序列号"), tr("指纹"), tr("详情"), tr("原因")};
        header = layOut(titles);
        for (const AuditEntry &e : trail.entries)
            rows.append(layOut({QString::number(e.seq), AuditTrailTexts::localTime(e.time), e.user,
                                e.computer, e.kind, e.serial, e.sha256.left(8),
                                AuditTrailTexts::detailsText(e.details), e.reason}));
        closing =
            wrapped(trail.verification, rp.contentWidth(), metrics) +
            wrapped(AuditTrailTexts::headText(trail.head), rp.contentWidth(), metrics) +
            wrapped(AuditTrailTexts::fingerprintText(fingerprint), rp.contentWidth(), metrics);
        paginate();
    }

    static QString title() { return tr("审计追踪"); }

    void draw(QPdfWriter &writer) const
    {
        const int pageCount = firstRows.size();
        const ReportFooter footer(rp, pageCount, QString());
        for (int page = 0; page < pageCount; ++page) {
            if (page > 0)
                writer.newPage();
            rp.painter().setPen(Qt::black);
            int y = page == 0 ? drawTitle() : laterPageRowsTop - header.height;
            y = drawRow(header, y, true);
            const int end = page + 1 < pageCount ? firstRows.at(page + 1) : rows.size();
            for (int i = firstRows.at(page); i < end; ++i)
                y = drawRow(rows.at(i), y, false);
            if (page + 1 == pageCount)
                drawClosing(y + 6);
            footer.draw(page + 1);
        }
    }

private:
    Row layOut(const QStringList &cells) const
    {
        Row row;
        int lines = 1;
        for (int c = 0; c < columnCount; ++c) {
            row.cells.append(wrapped(cells.at(c), columnWidths[c] - 2 * cellPadding - 1, metrics));
            lines = std::max(lines, int(row.cells.last().size()));
        }
        row.height = lines * lineHeight + 2 * cellPadding;
        return row;
    }

    int closingHeight() const { return 6 + int(closing.size()) * lineHeight + 4; }

    // The first row of every page; the last page keeps room for the closing lines.
    void paginate()
    {
        firstRows = {0};
        int y = firstPageRowsTop;
        for (int i = 0; i < rows.size(); ++i) {
            if (y + rows.at(i).height > rowsBottom) {
                firstRows.append(i);
                y = laterPageRowsTop;
            }
            y += rows.at(i).height;
        }
        if (y + closingHeight() > rowsBottom)
            firstRows.append(rows.size());
    }

    // The title, the filter and the time of the export; returns where the header row starts.
    int drawTitle() const
    {
        using RP = ReportPainter;
        rp.text(RP::Title, RP::box(34, 21, rp.right(), 40), RP::alignC, title());
        const QString shown =
            tr("筛选：%1").arg(trail.filter.isEmpty() ? tr("全部条目") : trail.filter);
        rp.text(RP::Label, RP::box(36, 46, 380, 59), RP::alignLC,
                metricsOf(RP::Label).elidedText(shown, Qt::ElideMiddle, 340));
        rp.text(
            RP::Label, RP::box(381, 46, rp.right(), 59), RP::alignRC,
            tr("导出时间：%1")
                .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        rp.line(34, 63, rp.ruleEnd(), 63);
        return firstPageRowsTop - header.height;
    }

    QFontMetricsF metricsOf(ReportPainter::Font font) const { return QFontMetricsF(rp.font(font)); }

    int drawRow(const Row &row, int y, bool isHeader) const
    {
        QPainter &p = rp.painter();
        if (isHeader)
            p.fillRect(QRect(34, y, rp.contentWidth(), row.height), QColor(230, 230, 230));
        int x = 34;
        for (int c = 0; c < columnCount; ++c) {
            const QStringList &lines = row.cells.at(c);
            rp.text(ReportPainter::Table,
                    QRect(x + cellPadding, y + cellPadding, columnWidths[c] - 2 * cellPadding,
                          int(lines.size()) * lineHeight),
                    ReportPainter::alignL, lines.join(QLatin1Char('\n')));
            x += columnWidths[c];
        }
        p.save();
        p.setPen(QColor(190, 190, 190));
        rp.line(34, y + row.height, rp.ruleEnd(), y + row.height);
        p.restore();
        return y + row.height;
    }

    void drawClosing(int y) const
    {
        rp.line(34, y, rp.ruleEnd(), y);
        rp.text(ReportPainter::Table,
                QRect(36, y + 4, rp.contentWidth(), int(closing.size()) * lineHeight),
                ReportPainter::alignL, closing.join(QLatin1Char('\n')));
    }

    const ReportPainter &rp;
    const AuditTrailExport &trail;
    const QString fingerprint;
    const QFontMetricsF metrics;
    const int lineHeight;
    Row header;
    QVector<Row> rows;
    QStringList closing;
    QVector<int> firstRows;
};

} // namespace

namespace audittrailexport
{

bool writePdf(const QString &path, const AuditTrailExport &trail, bool english, QString *error)
{
    ExportFile file(path);
    if (!file.open())
        return file.fail(error);
    bool drawn = false;
    {
        QPdfWriter writer(file.device());
        setUpReportPages(writer);
        const QString title = AuditTrailPages::title();
        const QString creator = QStringLiteral("hygra " HYGRA_VERSION);
        const QString exported = fingerprint(trail.entries);
        ReportMetadata metadata;
        metadata.auditExportSha256 = exported;
        if (trail.head.seq > 0) {
            metadata.auditEntry = QString::number(trail.head.seq);
            metadata.auditHash = trail.head.hash;
        }
        const QDateTime now = QDateTime::currentDateTime();
        writer.setTitle(title);
        writer.setCreator(creator);
        writer.setDocumentXmpMetadata(metadata.xmpPacket(title, creator,
                                                         QStringLiteral("Qt " QT_VERSION_STR),
                                                         now.addMSecs(-now.time().msec())));
        QPainter painter;
        if (painter.begin(&writer)) {
            const ReportPainter rp(painter, writer.width(), writer.height(), english);
            AuditTrailPages(rp, trail, exported).draw(writer);
            drawn = painter.end();
        }
    }
    if (!drawn) {
        file.cancel();
        if (error)
            *error = QStringLiteral("the PDF writer could not begin the document");
        return false;
    }
    return file.commit() || file.fail(error);
}

} // namespace audittrailexport
