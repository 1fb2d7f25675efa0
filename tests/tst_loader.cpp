// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere

#include <QtTest>

#include "DataRows.h"
#include "TestImages.h"
#include "core/video/BorderRules.h"
#include "core/video/ImageLoader.h"

namespace {

// Two 2 x 1 frames over a table of red and blue: red, blue, then blue, red.
// Each frame's LZW data holds 3-bit codes: clear (4), the two pixels, end (5).
const QByteArray twoFrameGif("GIF89a\x02\x00\x01\x00\x80\x00\x00"
                             "\xff\x00\x00\x00\x00\xff"
                             "\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00\x02\x02\x44\x0a\x00"
                             "\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00\x02\x02\x0c\x0a\x00"
                             "\x3b",
    50);

void opens(const char* name, const QByteArray& bytes, int border, QSize size, const QList<QRgb>& pixels = {})
{
    QTest::newRow(name) << bytes << border << size << QString() << pixels;
}

} // namespace

class TestLoader : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void borderRules_data()
    {
        // software null: no tags at all; size invalid: the number atoi reads in `make`.
        columns<QString, QString, QSize, int>("software", "make", "size", "border");
        const auto row = [](const char* name, const char* software, const char* make, QSize size, int border) {
            QTest::newRow(name) << QString(software) << QString(make) << size << border;
        };
        const std::pair<int, QList<int>> classes[] = { { 1, { 322, 642, 802, 1026, 1282 } },
            { 19, { 358, 678, 838, 1062, 1318 } }, { 20, { 360, 680, 840, 1064, 1320 } } };
        for (const auto& [border, widths] : classes)
            for (int w : widths)
                QTest::addRow("width %d", w) << QString() << QString() << QSize(w, 480) << border;
        row("unlisted width", nullptr, nullptr, QSize(640, 480), 0);
        // The width rule, like the tag, only takes a border that leaves a picture.
        row("680 x 40 kept whole", nullptr, nullptr, QSize(680, 40), 0);
        row("680 x 41 has ansi", nullptr, nullptr, QSize(680, 41), 20);
        row("make beats width", "Scopique", "19", QSize(642, 482), 19);
        row("make 0 falls to width", "Scopique", "0", QSize(642, 482), 1);
        row("overflowing make", "Scopique", "99999999999", QSize(642, 482), 1);
        row("digits then text", "Scopique", "20abc", QSize(1000, 700), 20);
        row("other software", "GIMP 2.10", "7", QSize(1000, 700), 0);
        row("software in lower case", "scopique", "7", QSize(1000, 700), 0);
        row("half the height", "Scopique", "40", QSize(642, 80), 1);
        row("just below half", "Scopique", "39", QSize(642, 80), 39);
        row("atoi: blanks and sign", "", " \t\n+12", QSize(), 12);
        row("atoi: sign only", "", "-", QSize(), 0);
        row("atoi: one above INT_MAX", "", "2147483648", QSize(), std::numeric_limits<int>::max());
        row("atoi: overflow", "", "9999999999999999999999999999999999999999", QSize(), std::numeric_limits<int>::max());
        row("atoi: underflow", "", "-99999999999", QSize(), std::numeric_limits<int>::min());
    }
    void borderRules()
    {
        const auto [software, make, size, border]
            = fetch<QString, QString, QSize, int>("software", "make", "size", "border");
        const ImageTags tags = software.isNull() ? ImageTags() : ImageTags { software, make, std::nullopt };
        QCOMPARE(
            size.isValid() ? BorderRules::forImage(tags, size.width(), size.height()) : BorderRules::atoiText(make),
            border);
    }

    void decodeVerdicts_data()
    {
        // bytes null: no file, "/": a folder; reason empty when the file opens, else part of the message;
        // pixels: the first pixels, when not those Qt itself reads.
        columns<QByteArray, int, QSize, QString, QList<QRgb>>("bytes", "border", "size", "reason", "pixels");
        opens("png named.jpg", TestImages::encode(TestImages::pattern(642, 10), "png"), 1, QSize(642, 10));
        opens("two frames.gif", twoFrameGif, 0, QSize(2, 1), { qRgb(255, 0, 0), qRgb(0, 0, 255) });
        // Transparent pixels show as over black: premultiplied, made opaque.
        const QRgb alphaPixels[] = { qRgba(200, 100, 50, 128), qRgba(10, 20, 30, 0), qRgba(1, 2, 3, 255) };
        const QImage alpha(reinterpret_cast<const uchar*>(alphaPixels), 3, 1, QImage::Format_ARGB32);
        const QList<QRgb> overBlack = { qRgb(100, 50, 25), qRgb(0, 0, 0), qRgb(1, 2, 3) };
        opens("alpha.png", TestImages::encode(alpha, "png"), 0, QSize(3, 1), overBlack);
        const QByteArray deep = TestImages::encode(alpha.convertToFormat(QImage::Format_RGBA64), "png");
        opens("alpha 16-bit.png", deep, 0, QSize(3, 1), overBlack);

        // The other reasons are read from files of every format in tst_hostile.
        QTest::newRow("missing.jpg") << QByteArray() << 0 << QSize() << QString("does not exist") << QList<QRgb>();
        QTest::newRow("album.png") << QByteArray("/") << 0 << QSize() << QString("folder") << QList<QRgb>();
    }
    void decodeVerdicts()
    {
        const auto [bytes, border, size, reason, pixels]
            = fetch<QByteArray, int, QSize, QString, QList<QRgb>>("bytes", "border", "size", "reason", "pixels");
        const QString fileName = QTest::currentDataTag(), path = dir.filePath(fileName);
        if (bytes == "/")
            QVERIFY(QDir(dir.path()).mkdir(fileName));
        else if (!bytes.isNull())
            QCOMPARE(TestImages::writeBytes(dir.path(), fileName, bytes), path);
        QImage decoded;
        const LoadResult result = ImageLoader::decode(path, decoded);
        if (!reason.isEmpty()) {
            QVERIFY(!result.ok);
            QVERIFY2(result.error.contains(fileName) && result.error.contains(reason), qPrintable(result.error));
            return;
        }
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.border, border);
        QCOMPARE(decoded.format(), QImage::Format_RGB32);
        QCOMPARE(decoded.size(), size);
        if (pixels.isEmpty())
            QCOMPARE(decoded, QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32));
        // Each byte within 1, down to the unused one that Qt takes for alpha.
        const auto* line = reinterpret_cast<const QRgb*>(decoded.constScanLine(0));
        for (int x = 0; x < pixels.size(); ++x)
            for (int shift : { 0, 8, 16, 24 })
                QVERIFY2(qAbs(int(line[x] >> shift & 0xff) - int(pixels[x] >> shift & 0xff)) <= 1,
                    qPrintable(QString::number(line[x], 16)));
        // A second decoding of what needs no conversion fills the same memory: allocating costs more than decoding.
        const uchar* memory = decoded.constBits();
        QVERIFY(ImageLoader::decode(path, decoded).ok);
        QVERIFY(!pixels.isEmpty() || decoded.constBits() == memory);
    }
};

QTEST_GUILESS_MAIN(TestLoader)
#include "tst_loader.moc"
