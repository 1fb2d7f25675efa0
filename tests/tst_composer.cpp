// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstring>
#include <ctime>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include "video/GdiPainter.h"
#include "video/ViewComposer.h"

namespace {

constexpr QRgb kBlack = 0xff000000u;
constexpr QRgb kWhite = 0xffffffffu;
constexpr QRgb kRed = 0xffff0000u;
// What a reused view buffer held before: any of it left over is a fault.
constexpr QRgb kStale = 0xff3c5a78u;
// 2006/05/01 14:03:59 UTC.
constexpr qint64 kNow = 1146492239;

// Pixels that differ along both axes and are never black, white or grey, so
// an untouched or shifted image pixel and drawn text both show.
QImage testFrame(int w, int h)
{
    QImage frame(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(x & 0xff, 0x40 + y % 0xc0, 0x30);
    }
    return frame;
}

struct Composed {
    QImage back;
    QString third;
};

Composed composeView(
    const QImage& frame, int b, const TitleBlockText& title = {}, const ViewComposer::Overlay& overlay = {})
{
    QImage back(frame.width() + 2 * b, frame.height() + 2 * b, QImage::Format_RGB32);
    if (!back.isNull())
        back.fill(kStale);
    const QString third = ViewComposer::compose(back, frame, b, title, overlay, kNow);
    return { back, third };
}

// The image rows at offset (b, b); empty when they match, else the first bad row.
QString imageMismatch(const QImage& back, const QImage& frame, int b)
{
    for (int y = 0; y < frame.height(); ++y) {
        if (std::memcmp(back.constScanLine(y + b) + b * 4, frame.constScanLine(y), size_t(frame.width()) * 4))
            return QStringLiteral("image row %1 differs").arg(y);
    }
    return {};
}

// `text` as TextOut draws it alone on white.
QImage renderedText(const QString& text)
{
    const QFontMetrics metrics(GdiPainter::defaultFont());
    QImage cell(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    cell.fill(kWhite);
    QPainter painter(&cell);
    painter.setFont(GdiPainter::defaultFont());
    GdiPainter::textOut(painter, 0, 0, text, Qt::black);
    return cell;
}

// Whether the cell at `at` shows `text` on white; an empty text asks for a blank cell.
bool cellShows(const QImage& back, QPoint at, const QString& text)
{
    if (!text.isEmpty()) {
        const QImage expected = renderedText(text);
        return back.copy(QRect(at, expected.size())) == expected;
    }
    const QImage blank = renderedText(QStringLiteral("0"));
    const QRect cell = QRect(at, blank.size()).intersected(back.rect());
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            if (back.pixel(x, y) != kWhite)
                return false;
        }
    }
    return true;
}

} // namespace

class TestComposer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void gdiFigures_data();
    void gdiFigures();
    void textCell_data();
    void textCell();
    void band_data();
    void band();
    void ansiMarks_data();
    void ansiMarks();
    void ansiLabels_data();
    void ansiLabels();
    void titleBlock_data();
    void titleBlock();
    void thirdLine_data();
    void thirdLine();
    void overlay_data();
    void overlay();
};

void TestComposer::initTestCase()
{
    // The date line is checked against a fixed local time.
    qputenv("TZ", "UTC");
    tzset();
}

void TestComposer::gdiFigures_data()
{
    QTest::addColumn<int>("figure");
    QTest::addColumn<QStringList>("expected");
    // Rectangle(1, 1, 6, 5) outlined, then Rectangle(2, 2, 5, 4) filled without outline.
    QTest::newRow("rectangles") << 0
                                << QStringList { "........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..",
                                       "........" };
    // MoveTo/LineTo both ways, and a zero-length line.
    QTest::newRow("lines") << 1
                           << QStringList { "####....", "...####.", "........", "........", "........", "........" };
    QTest::newRow("diagonals") << 2
                               << QStringList { "#......#", ".#....#.", "..#..#..", "........", "........",
                                      "........" };
}

void TestComposer::gdiFigures()
{
    QFETCH(int, figure);
    QFETCH(QStringList, expected);
    QImage canvas(8, 6, QImage::Format_RGB32);
    canvas.fill(kWhite);
    {
        QPainter painter(&canvas);
        if (figure == 0) {
            GdiPainter::rectangle(painter, 1, 1, 6, 5, Qt::black, Qt::NoBrush);
            GdiPainter::rectangle(painter, 2, 2, 5, 4, QColor(), QColor(Qt::red));
        } else if (figure == 1) {
            GdiPainter::line(painter, 0, 0, 4, 0, Qt::black);
            GdiPainter::line(painter, 6, 1, 2, 1, Qt::black);
            GdiPainter::line(painter, 7, 5, 7, 5, Qt::black);
        } else {
            GdiPainter::line(painter, 0, 0, 3, 3, Qt::black);
            GdiPainter::line(painter, 7, 0, 4, 3, Qt::black);
        }
    }
    QStringList drawn;
    for (int y = 0; y < canvas.height(); ++y) {
        QString row;
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb p = canvas.pixel(x, y);
            row += p == kBlack ? u'#' : p == kRed ? u'o' : p == kWhite ? u'.' : u'?';
        }
        drawn << row;
    }
    QCOMPARE(drawn, expected);
}

void TestComposer::textCell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("digit, opaque") << "1" << true;
    QTest::newRow("colon, opaque") << ":" << true;
    QTest::newRow("descender, transparent") << "gy" << false;
    QTest::newRow("date line, transparent") << "2006/05/01 14:03:59   100X" << false;
}

void TestComposer::textCell()
{
    QFETCH(QString, text);
    QFETCH(bool, opaque);
    const QFontMetrics metrics(GdiPainter::defaultFont());
    QImage canvas(metrics.horizontalAdvance(text) + 20, metrics.height() + 20, QImage::Format_RGB32);
    canvas.fill(kRed);
    {
        QPainter painter(&canvas);
        painter.setFont(GdiPainter::defaultFont());
        GdiPainter::textOut(painter, 10, 10, text, Qt::black, opaque ? QColor(Qt::white) : QColor());
    }
    // Everything lands in the cell whose top-left is the given point.
    const QRect cell(10, 10, metrics.horizontalAdvance(text), metrics.height());
    int ink = 0;
    int red = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const QRgb p = canvas.pixel(x, y);
            if (!cell.contains(x, y)) {
                QCOMPARE(p, kRed);
                continue;
            }
            ink += qRed(p) < 128;
            red += p == kRed;
        }
    }
    QVERIFY(ink > 0);
    QCOMPARE(red > 0, !opaque);
}

void TestComposer::band_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("b");
    // Whether the band may carry zone marks, so only its corners must be blank.
    QTest::addColumn<bool>("marked");
    QTest::newRow("no band") << 64 << 48 << 0 << false;
    QTest::newRow("thin") << 64 << 48 << 1 << false;
    QTest::newRow("thin, odd size") << 3 << 2 << 1 << false;
    QTest::newRow("photo") << 640 << 480 << 19 << false;
    QTest::newRow("ANSI") << 640 << 480 << 20 << true;
    QTest::newRow("ANSI, odd width") << 641 << 481 << 20 << true;
    QTest::newRow("ANSI, small") << 64 << 48 << 20 << true;
    QTest::newRow("empty, no band") << 0 << 0 << 0 << false;
    QTest::newRow("empty, thin") << 0 << 0 << 1 << false;
    QTest::newRow("empty, ANSI") << 0 << 0 << 20 << false;
}

void TestComposer::band()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, b);
    QFETCH(bool, marked);
    const QImage frame = testFrame(w, h);
    // An overlay and a title block have nothing to draw on in an empty view.
    TitleBlockText title;
    title.shown = w == 0;
    const auto paintAll = [](QPainter& painter) { painter.fillRect(-100, -100, 1000, 1000, Qt::red); };
    const QImage back
        = composeView(frame, b, title, w == 0 ? ViewComposer::Overlay(paintAll) : ViewComposer::Overlay()).back;
    QCOMPARE(back.size(), QSize(w + 2 * b, h + 2 * b));
    const QString imageFault = imageMismatch(back, frame, b);
    QVERIFY2(imageFault.isEmpty(), qPrintable(imageFault));

    const QRect image(b, b, w, h);
    const QRect ring = image.adjusted(-1, -1, 1, 1);
    const QRect insideRing = ring.adjusted(1, 1, -1, -1);
    const int cw = back.width();
    const int ch = back.height();
    for (int y = 0; y < ch; ++y) {
        for (int x = 0; x < cw; ++x) {
            const QPoint p(x, y);
            if (image.contains(p))
                continue;
            const bool edge = x == 0 || y == 0 || x == cw - 1 || y == ch - 1;
            const bool onRing = ring.contains(p) && !insideRing.contains(p);
            const bool corner = (x < b / 2 || x >= cw - b / 2) && (y < b / 2 || y >= ch - b / 2);
            QRgb expected = back.pixel(p);
            if (edge || onRing)
                expected = kBlack;
            else if (!marked || corner)
                expected = kWhite;
            if (back.pixel(p) != expected || back.pixel(p) == kStale)
                QFAIL(qPrintable(QStringLiteral("band pixel (%1, %2) is %3").arg(x).arg(y).arg(back.pixel(p), 8, 16)));
        }
    }
}

void TestComposer::ansiMarks_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<QList<int>>("unmarkedRows");
    QTest::newRow("640x480") << 640 << 480 << QList<int> { 19, 180, 340, 500, 660 } << QList<int> { 19, 180, 340, 500 }
                             << QList<int> { 60, 130, 300 };
    QTest::newRow("800x600") << 800 << 600 << QList<int> { 19, 180, 340, 500, 660, 820 }
                             << QList<int> { 19, 170, 320, 470, 620 } << QList<int> { 180 };
    QTest::newRow("1024x768") << 1024 << 768 << QList<int> { 19, 276, 532, 788, 1044 }
                              << QList<int> { 19, 212, 404, 596, 788 } << QList<int> { 276 };
    // Rows follow the column count: a portrait image has four.
    QTest::newRow("portrait 480x640") << 480 << 640 << QList<int> { 19, 148, 276, 404 }
                                      << QList<int> { 19, 148, 276, 404 } << QList<int> { 532, 660 };
    QTest::newRow("720x576") << 720 << 576 << QList<int> { 19, 164, 308, 452, 596, 740 }
                             << QList<int> { 19, 148, 276, 404, 532 } << QList<int> { 164, 308 };
    QTest::newRow("small 200x100") << 200 << 100 << QList<int> { 19, 220 } << QList<int> { 19, 120 }
                                   << QList<int> { 40 };
}

void TestComposer::ansiMarks()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QList<int>, columns);
    QFETCH(QList<int>, rows);
    QFETCH(QList<int>, unmarkedRows);
    const QImage frame = testFrame(w, h);
    const QImage back = composeView(frame, 20).back;
    QVERIFY(imageMismatch(back, frame, 20).isEmpty());
    const int right = back.width();
    const int bottom = back.height();
    for (int x : columns) {
        for (int y = 0; y < 20; ++y) {
            QCOMPARE(back.pixel(x, y), kBlack);
            QCOMPARE(back.pixel(x, bottom - 20 + y), kBlack);
        }
        // One pixel wide.
        QCOMPARE(back.pixel(x - 1, 10), kWhite);
        if (x + 1 < right - 1)
            QCOMPARE(back.pixel(x + 1, bottom - 10), kWhite);
    }
    for (int y : rows) {
        if (y >= bottom)
            continue;
        for (int x = 0; x < 20; ++x) {
            QCOMPARE(back.pixel(x, y), kBlack);
            QCOMPARE(back.pixel(right - 20 + x, y), kBlack);
        }
        QCOMPARE(back.pixel(10, y - 1), kWhite);
        if (y + 1 < bottom - 1)
            QCOMPARE(back.pixel(right - 10, y + 1), kWhite);
    }
    for (int y : unmarkedRows) {
        QCOMPARE(back.pixel(10, y), kWhite);
        QCOMPARE(back.pixel(right - 10, y), kWhite);
    }
}

void TestComposer::ansiLabels_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("text");
    QTest::newRow("640x480 column 1") << 640 << 480 << QPoint(95, 2) << "1";
    QTest::newRow("640x480 column 1 below") << 640 << 480 << QPoint(95, 502) << "1";
    QTest::newRow("640x480 row A") << 640 << 480 << QPoint(6, 95) << "A";
    QTest::newRow("640x480 row C") << 640 << 480 << QPoint(6, 416) << "C";
    QTest::newRow("640x480 row B right") << 640 << 480 << QPoint(666, 256) << "B";
    QTest::newRow("640x480 between labels") << 640 << 480 << QPoint(120, 2) << "";
    QTest::newRow("800x600 column 5") << 800 << 600 << QPoint(736, 2) << "5";
    QTest::newRow("800x600 row D") << 800 << 600 << QPoint(6, 541) << "D";
    QTest::newRow("1024x768 column 4") << 1024 << 768 << QPoint(912, 2) << "4";
    QTest::newRow("portrait row D") << 480 << 640 << QPoint(6, 464) << "D";
    QTest::newRow("portrait no row E") << 480 << 640 << QPoint(6, 592) << "";
    QTest::newRow("720x576 row E") << 720 << 576 << QPoint(6, 592) << "E";
    QTest::newRow("1600x1200 column 9") << 1600 << 1200 << QPoint(1376, 2) << "9";
    QTest::newRow("1600x1200 column 10") << 1600 << 1200 << QPoint(1536, 2) << ":";
    QTest::newRow("1600x1200 column 10 below") << 1600 << 1200 << QPoint(1536, 1222) << ":";
    QTest::newRow("1600x1200 row J") << 1600 << 1200 << QPoint(6, 1156) << "J";
    QTest::newRow("small 200x100 column 1") << 200 << 100 << QPoint(115, 2) << "1";
}

void TestComposer::ansiLabels()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(QPoint, at);
    QFETCH(QString, text);
    const QImage back = composeView(testFrame(w, h), 20).back;
    QVERIFY(cellShows(back, at, text));
}

void TestComposer::titleBlock_data()
{
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("b");
    // Without a band the box shows all four sides within the image.
    QTest::addColumn<bool>("closed");
    QTest::newRow("no band") << 640 << 480 << 0 << true;
    QTest::newRow("thin") << 320 << 240 << 1 << false;
    QTest::newRow("ANSI") << 640 << 480 << 20 << false;
    QTest::newRow("small image, no band") << 100 << 40 << 0 << true;
    QTest::newRow("small image, ANSI") << 100 << 40 << 20 << false;
}

void TestComposer::titleBlock()
{
    QFETCH(int, w);
    QFETCH(int, h);
    QFETCH(int, b);
    QFETCH(bool, closed);
    const QImage frame = testFrame(w, h);
    TitleBlockText title;
    title.shown = true;
    title.useDate = false;
    title.title1 = QStringLiteral("Sample 7");
    title.title2 = QStringLiteral("Stage B");
    title.title3 = QStringLiteral("Note");
    const Composed view = composeView(frame, b, title);
    const QImage& back = view.back;
    const auto at = [&](int x, int y) { return back.pixel(x + b, y + b); };
    const QRgb side = closed ? kBlack : kWhite;
    for (int y = qMax(0, h - 59); y < h; ++y)
        QCOMPARE(at(w - 1, y), side);
    for (int x = qMax(0, w - 219); x < w; x += 7)
        QCOMPARE(at(x, h - 1), side);

    if (w >= 220 && h >= 60) {
        for (int x = w - 220; x < w; ++x)
            QCOMPARE(at(x, h - 60), kBlack);
        for (int y = h - 60; y < h; ++y)
            QCOMPARE(at(w - 220, y), kBlack);
        QCOMPARE(at(w - 221, h - 61), frame.pixel(w - 221, h - 61));
        QCOMPARE(at(w - 5, h - 50), kWhite);
        QVERIFY(cellShows(back, QPoint(w - 214 + b, h - 56 + b), title.title1));
        QVERIFY(cellShows(back, QPoint(w - 214 + b, h - 38 + b), title.title2));
        QVERIFY(cellShows(back, QPoint(w - 214 + b, h - 20 + b), title.title3));
    } else {
        // The box covers the whole image.
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x)
                QVERIFY(at(x, y) != frame.pixel(x, y));
        }
    }
}

void TestComposer::thirdLine_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("useDate");
    QTest::addColumn<unsigned>("magnification");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date") << true << true << 100u << "2006/05/01 14:03:59   100X";
    QTest::newRow("date, high power") << true << true << 2500u << "2006/05/01 14:03:59   2500X";
    QTest::newRow("own text") << true << false << 100u << "Slide 4";
    QTest::newRow("hidden") << false << true << 100u << "Slide 4";
}

void TestComposer::thirdLine()
{
    QFETCH(bool, shown);
    QFETCH(bool, useDate);
    QFETCH(unsigned, magnification);
    QFETCH(QString, expected);
    TitleBlockText title;
    title.shown = shown;
    title.useDate = useDate;
    title.title3 = QStringLiteral("Slide 4");
    title.magnification = magnification;
    const QImage frame = testFrame(640, 480);
    const Composed view = composeView(frame, 20, title);
    QCOMPARE(view.third, expected);
    if (shown)
        QVERIFY(cellShows(view.back, QPoint(640 - 214 + 20, 480 - 20 + 20), expected));
    else
        QVERIFY(imageMismatch(view.back, frame, 20).isEmpty());
}

void TestComposer::overlay_data()
{
    QTest::addColumn<int>("b");
    QTest::newRow("no band") << 0;
    QTest::newRow("thin") << 1;
    QTest::newRow("ANSI") << 20;
}

void TestComposer::overlay()
{
    QFETCH(int, b);
    const int w = 640;
    const int h = 480;
    const QImage frame = testFrame(w, h);
    const QImage plain = composeView(frame, b).back;

    // Far beyond the image on every side, leaving a pen and a shift the title block must not inherit;
    // the band must stay as it is without overlay and title block.
    const auto flood = [](QPainter& painter) {
        painter.setPen(QPen(Qt::green, 9));
        painter.fillRect(-500, -500, 5000, 5000, Qt::red);
        painter.translate(7, 7);
    };
    TitleBlockText title;
    title.shown = true;
    const QImage flooded = composeView(frame, b, title, flood).back;
    for (int y = 0; y < flooded.height(); ++y) {
        for (int x = 0; x < flooded.width(); ++x) {
            const bool inImage = QRect(b, b, w, h).contains(x, y);
            const bool inBox = QRect(b + w - 220, b + h - 60, 220, 60).contains(x, y);
            const QRgb expected = !inImage ? plain.pixel(x, y) : inBox ? flooded.pixel(x, y) : kRed;
            if (flooded.pixel(x, y) != expected)
                QFAIL(qPrintable(QStringLiteral("pixel (%1, %2) is %3").arg(x).arg(y).arg(flooded.pixel(x, y), 8, 16)));
        }
    }
    // The title block lies above the overlay.
    QCOMPARE(flooded.pixel(b + w - 220, b + h - 30), kBlack);
    QCOMPARE(flooded.pixel(b + w - 5, b + h - 50), kWhite);

    // Image coordinates: (0, 0) is the image's top-left pixel.
    const auto dot = [](QPainter& painter) { painter.fillRect(0, 0, 1, 1, Qt::red); };
    const QImage dotted = composeView(frame, b, {}, dot).back;
    QCOMPARE(dotted.pixel(b, b), kRed);
    QCOMPARE(dotted.pixel(b + 1, b), frame.pixel(1, 0));
    QCOMPARE(dotted.pixel(b, b + 1), frame.pixel(0, 1));
}

QTEST_MAIN(TestComposer)
#include "tst_composer.moc"
