// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere

#include <QtTest>

#include "DataRows.h"
#include "TestImages.h"
#include "core/video/GdiPainter.h"
#include "core/video/ViewComposer.h"

namespace {

constexpr QRgb kBlack = 0xff000000u, kWhite = 0xffffffffu;
// What a reused view buffer held before: any of it left over is a fault.
constexpr QRgb kStale = 0xff3c5a78u;
// 2006/05/01 14:03:59 UTC.
constexpr qint64 kNow = 1146492239;

bool filled(const QImage& image, const QRect& rect, QRgb color)
{
    QImage solid(rect.size(), QImage::Format_RGB32);
    solid.fill(color);
    return image.copy(rect) == solid;
}

// Whether the cell at `at` shows `text` as TextOut draws it alone on white;
// an empty text asks for a blank cell.
bool cellShows(const QImage& back, QPoint at, const QString& text)
{
    const QFontMetrics metrics(GdiPainter::defaultFont());
    QImage cell(
        metrics.horizontalAdvance(text.isEmpty() ? QStringLiteral("0") : text), metrics.height(), QImage::Format_RGB32);
    cell.fill(kWhite);
    QPainter painter(&cell);
    painter.setFont(GdiPainter::defaultFont());
    GdiPainter::textOut(painter, 0, 0, text, Qt::black);
    return back.copy(QRect(at, cell.size())) == cell;
}

using Ints = QList<int>;
// Where zone marks cross a band: the ring's outer line, then every `step` pixels from 20 + step up to `last`.
Ints marks(int step, int last)
{
    Ints found { 19 };
    for (int at = 20 + step; at <= last; at += step)
        found << at;
    return found;
}
using Labels = QList<std::pair<QPoint, QString>>;

} // namespace

class TestComposer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The date line is checked against a fixed local time.
        qputenv("TZ", "UTC");
        tzset();
    }

    // The view of a picture with a title block (shown or not) and an overlay over the image.
    void view_data()
    {
        // Where the zone marks cross the bands, and labels seen at given points.
        columns<QSize, int, bool, bool, Ints, Ints, Labels>(
            "size", "b", "shown", "useDate", "columns", "rows", "labels");
        const auto row = [](const char* name, QSize size, int b, bool shown, bool useDate = false, Ints columns = {},
                             Ints rows = {}, Labels labels = {}) {
            QTest::newRow(name) << size << b << shown << useDate << columns << rows << labels;
        };
        row("no band, title closed", { 640, 480 }, 0, true);
        row("thin band, small image covered by the title", { 64, 48 }, 1, true);
        row("photo band, title hidden", { 640, 480 }, 19, false, true);
        row("ANSI 640x480, title open with date", { 640, 480 }, 20, true, true, marks(160, 660), marks(160, 500),
            { { { 95, 2 }, "1" }, { { 95, 502 }, "1" }, { { 6, 95 }, "A" }, { { 666, 256 }, "B" } });
        row("ANSI 800x600", { 800, 600 }, 20, false, false, marks(160, 820), marks(150, 620),
            { { { 736, 2 }, "5" }, { { 6, 541 }, "D" } });
        row("ANSI 1600x1200", { 1600, 1200 }, 20, false, false, marks(160, 1620), marks(120, 1220),
            { { { 1536, 2 }, ":" } });
        // Rows follow the column count: a portrait image has no row E.
        row("ANSI portrait", { 480, 640 }, 20, false, false, marks(128, 404), marks(128, 404), { { { 6, 592 }, "" } });
        row("ANSI odd width", { 641, 481 }, 20, false, false, marks(128, 660), marks(128, 404));
        // An overlay and a title block have nothing to draw on in an empty view.
        row("empty, ANSI", { 0, 0 }, 20, true);
    }
    void view()
    {
        const auto [size, b, shown, useDate, columns, rows, labels] = fetch<QSize, int, bool, bool, Ints, Ints, Labels>(
            "size", "b", "shown", "useDate", "columns", "rows", "labels");
        // The third line: the date and magnification when asked for (and the block is shown).
        const QString third = useDate && shown ? "2006/05/01 14:03:59   2500X" : "Note";
        // Pixels that differ along both axes and are never black, white or grey.
        const QImage frame = TestImages::made(size, [](int x, int y) { return qRgb(x & 0xff, 0x40 + y % 0xc0, 0x30); });
        const TitleBlockText title { shown, useDate, "Sample 7", "Stage B", "Note", 2500 };
        // In image coordinates, far beyond the image, leaving a pen and a shift the title block must not inherit.
        const auto overlay = [](QPainter& painter) {
            painter.setPen(QPen(Qt::green, 9));
            painter.fillRect(-500, -500, 5000, 5000, Qt::red);
            painter.fillRect(0, 0, 1, 1, Qt::blue);
            painter.translate(7, 7);
        };
        QImage back(size + QSize(2 * b, 2 * b), QImage::Format_RGB32);
        back.fill(kStale);
        QCOMPARE(ViewComposer::compose(back, frame, b, title, overlay, kNow), third);

        // Without either, the image lands at (b, b). The overlay covers the image up to the
        // title block; the band is as without either.
        const QRect image(QPoint(b, b), size), box(b + size.width() - 220, b + size.height() - 60, 220, 60);
        const QRect covered = box.intersected(image);
        QImage expected;
        ViewComposer::compose(expected, frame, b, {}, {}, kNow);
        QVERIFY(size.isEmpty() || expected.copy(image) == frame);
        {
            QPainter painter(&expected);
            painter.fillRect(image, Qt::red);
            painter.fillRect(image & QRect(b, b, 1, 1), Qt::blue);
            if (shown && !covered.isEmpty())
                painter.drawImage(covered.topLeft(), back.copy(covered));
        }
        QCOMPARE(back, expected);

        // Edges and the ring around the image are black; the rest of the band is white, except
        // that the ANSI band of a real image may carry marks outside its corners.
        const QRect ring = image.adjusted(-1, -1, 1, 1);
        const int cw = back.width(), ch = back.height();
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const bool edge = x == 0 || y == 0 || x == cw - 1 || y == ch - 1;
                const bool corner = (x < b / 2 || x >= cw - b / 2) && (y < b / 2 || y >= ch - b / 2);
                const QRgb p = back.pixel(x, y);
                const QRgb expected = edge || ring.contains(x, y) ? kBlack
                    : b != 20 || size.isEmpty() || corner         ? kWhite
                                                                  : p;
                if (!image.contains(x, y) && (p != expected || p == kStale))
                    QFAIL(qPrintable(QStringLiteral("band pixel (%1, %2) is %3").arg(x).arg(y).arg(p, 8, 16)));
            }
        // The black pixels along lines through the bands clear of the labels and the ring, edges left out.
        const auto marksAlong = [&](int x0, int y0, bool across) {
            Ints found;
            for (int i = 1; i < (across ? cw : ch) - 1; ++i)
                if (back.pixel(across ? i : x0, across ? y0 : i) == kBlack)
                    found << i;
            return found;
        };
        if (b == 20 && !size.isEmpty()) {
            QCOMPARE(marksAlong(0, 1, true), columns);
            QCOMPARE(marksAlong(0, ch - 19, true), columns);
            QCOMPARE(marksAlong(1, 0, false), rows);
            QCOMPARE(marksAlong(cw - 19, 0, false), rows);
        }
        for (const auto& [at, text] : labels)
            QVERIFY2(cellShows(back, at, text), qPrintable(QStringLiteral("label at %1, %2").arg(at.x()).arg(at.y())));

        // A box wider than the image covers it all in white; else it shows its sides (all four
        // within the image when there is no band) and three lines.
        if (!shown || size.isEmpty())
            return;
        QVERIFY(box.left() >= b || filled(back, image, kWhite));
        if (box.left() < b)
            return;
        const QRgb side = b == 0 ? kBlack : kWhite;
        QVERIFY(filled(back, QRect(box.topLeft(), QSize(220, 1)), kBlack));
        QVERIFY(filled(back, QRect(box.topLeft(), QSize(1, 60)), kBlack));
        QVERIFY(filled(back, QRect(box.right(), box.top() + 1, 1, 59), side));
        QVERIFY(filled(back, QRect(box.left() + 1, box.bottom(), 219, 1), side));
        QVERIFY(filled(back, QRect(box.left() + 1, box.top() + 1, 5, 58), kWhite));
        QVERIFY(cellShows(back, box.topLeft() + QPoint(6, 4), title.title1));
        QVERIFY(cellShows(back, box.topLeft() + QPoint(6, 22), title.title2));
        QVERIFY(cellShows(back, box.topLeft() + QPoint(6, 40), third));
    }
};

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
