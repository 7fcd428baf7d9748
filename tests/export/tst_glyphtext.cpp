// SPDX-License-Identifier: GPL-3.0-or-later
// Report texts as glyph runs: placement as drawText, clipping only where ink would spill, batching.
#include "export/glyphtextbatch.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QtTest>

namespace
{

QFont reportFont(int pixels)
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixels);
    return font;
}

// The bounding box of the dark pixels of `image`.
QRect inkOf(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 160)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

QImage blank()
{
    QImage image(240, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Counts what reaches a paint engine: text items and the clips they are drawn under.
class CountingEngine : public QPaintEngine
{
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & (DirtyClipEnabled | DirtyClipRegion | DirtyClipPath))
            clipped = state.isClipEnabled() && state.clipOperation() != Qt::NoClip;
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &, const QTextItem &) override
    {
        ++textItems;
        clippedTextItems += clipped ? 1 : 0;
    }
    Type type() const override { return User; }

    bool clipped = false;
    int textItems = 0;
    int clippedTextItems = 0;
};

class CountingDevice : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &engine; }
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return 595;
        case PdmHeight:
            return 842;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 72;
        case PdmDepth:
            return 32;
        default:
            return 1;
        }
    }
    mutable CountingEngine engine;
};

} // namespace

class TestGlyphText : public QObject
{
    Q_OBJECT
private slots:
    void placedAsDrawTextPlacesIt_data();
    void placedAsDrawTextPlacesIt();
    void textWiderThanItsRectangleIsClipped();
    void smallCellTextsBecomeOneUnclippedRun();
};

void TestGlyphText::placedAsDrawTextPlacesIt_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("text");
    QTest::newRow("centred") << int(Qt::AlignCenter) << QStringLiteral("2023/11/30");
    QTest::newRow("left") << int(Qt::AlignLeft | Qt::AlignVCenter) << QStringLiteral("S/N 2023");
    QTest::newRow("right") << int(Qt::AlignRight | Qt::AlignVCenter) << QStringLiteral("-12.5");
    QTest::newRow("two lines") << int(Qt::AlignCenter) << QStringLiteral("45.0\n℃");
}

void TestGlyphText::placedAsDrawTextPlacesIt()
{
    QFETCH(int, flags);
    QFETCH(QString, text);
    const QRect rect(20, 5, 200, 50);
    const QFont font = reportFont(14);

    QImage batched = blank();
    {
        QPainter painter(&batched);
        GlyphTextBatch batch(painter, font);
        batch.add(rect, flags, text, Qt::black);
        batch.flush();
    }
    QImage drawn = blank();
    {
        QPainter painter(&drawn);
        painter.setFont(font);
        painter.drawText(rect, flags, text);
    }
    const QRect a = inkOf(batched);
    const QRect b = inkOf(drawn);
    QVERIFY(!b.isEmpty());
    const QString both = QStringLiteral("%1,%2 %3x%4 vs %5,%6 %7x%8")
                             .arg(a.x())
                             .arg(a.y())
                             .arg(a.width())
                             .arg(a.height())
                             .arg(b.x())
                             .arg(b.y())
                             .arg(b.width())
                             .arg(b.height());
    QVERIFY2(std::abs(a.left() - b.left()) <= 1 && std::abs(a.right() - b.right()) <= 1 &&
                 std::abs(a.top() - b.top()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1,
             qPrintable(both));
}

void TestGlyphText::textWiderThanItsRectangleIsClipped()
{
    QImage image = blank();
    const QRect rect(40, 10, 30, 20);
    {
        QPainter painter(&image);
        GlyphTextBatch batch(painter, reportFont(14));
        batch.add(rect, Qt::AlignCenter, QStringLiteral("WWWWWWWWWW"), Qt::black);
        batch.add(QRect(100, 10, 100, 20), Qt::AlignCenter, QStringLiteral("fits"), Qt::black);
        batch.flush();
    }
    const QRect ink = inkOf(image.copy(0, 0, 100, image.height()));
    QVERIFY(!ink.isEmpty());
    QVERIFY2(rect.contains(ink),
             qPrintable(QStringLiteral("%1..%2").arg(ink.left()).arg(ink.right())));
    QVERIFY(!inkOf(image.copy(100, 0, 140, image.height())).isEmpty());
}

// The data pages hold 2,304 small texts each: batched into one run without
// clips they write a fraction of what a clip and a run per text would.
void TestGlyphText::smallCellTextsBecomeOneUnclippedRun()
{
    CountingDevice device;
    {
        QPainter painter(&device);
        GlyphTextBatch batch(painter, reportFont(6));
        for (int row = 0; row < 96; ++row) {
            const int y = 127 + 7 * row;
            batch.add(QRect(QPoint(36, y), QPoint(61, y + 6)), Qt::AlignCenter,
                      QStringLiteral("23/11/30"), Qt::black);
            batch.add(QRect(QPoint(63, y), QPoint(86, y + 6)), Qt::AlignCenter,
                      QStringLiteral("23:59:59"), Qt::black);
            batch.add(QRect(QPoint(88, y), QPoint(105, y + 6)), Qt::AlignCenter,
                      QStringLiteral("-40.0"), Qt::red);
        }
        batch.flush();
    }
    QCOMPARE(device.engine.textItems, 2);
    QCOMPARE(device.engine.clippedTextItems, 0);
}

QTEST_MAIN(TestGlyphText)
#include "tst_glyphtext.moc"
