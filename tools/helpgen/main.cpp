// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: turns a Markdown user guide into a paged A4 PDF, with Qt alone.
#include "ideographmap.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Runs during the build, where no display may exist.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: helpgen INPUT.md OUTPUT.pdf TITLE\n");
        return 2;
    }
    QFile input(args.at(1));
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "helpgen: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }

    QTextDocument document;
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("sans-serif")});
    font.setPointSize(10);
    // Map every character through the font's character map instead of
    // shaping it. In Latin text Noto Sans CJK's default "locl" feature swaps
    // digits and some punctuation for glyphs that no character maps to, and
    // "liga" joins "fi" into one glyph. The PDF writer names each glyph by a
    // character that the character map gives it, so those glyphs reached the
    // text layer as nothing ("HX10D" read "HX D") or as U+FB01. Latin and
    // Chinese text need no shaping to be drawn right.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("h1, h2, h3 { color: #202124; } "
                                                 "code { color: #ff6b00; }"));
    document.setMarkdown(QString::fromUtf8(input.readAll()));
    document.setMetaInformation(QTextDocument::DocumentTitle, args.at(3));
    // Code spans carry a whole font of their own, which would be shaped again.
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    QTextCharFormat unshaped;
    unshaped.setFontStyleStrategy(QFont::PreferNoShaping);
    all.mergeCharFormat(unshaped);

    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        // The writer completes the file when it goes out of scope.
        QPdfWriter writer(&pdf);
        writer.setTitle(args.at(3));
        writer.setCreator(QStringLiteral("hygra"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        document.print(&writer);
    }
    QByteArray bytes = pdf.buffer();
    const QRawFont chinese = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
    const int left =
        restoreIdeographs(bytes, radicalsSharingGlyphs(chinese, document.toPlainText()));
    if (left > 0)
        std::fprintf(stderr, "helpgen: %d characters of %s keep a radical's code in the text\n",
                     left, qPrintable(args.at(2)));

    QFile output(args.at(2));
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes) != bytes.size() ||
        !output.flush()) {
        std::fprintf(stderr, "helpgen: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
