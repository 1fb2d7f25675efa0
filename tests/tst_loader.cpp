// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <limits>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "TestImages.h"
#include "core/video/BorderRules.h"
#include "core/video/ImageLoader.h"
#include "core/video/ImageTags.h"

using TestImages::encode;
using TestImages::pattern;

namespace {

const ImageTags scopique19 { QStringLiteral("Scopique"), QStringLiteral("19"), std::nullopt };

// Two 2 x 1 frames over a table of red and blue: red, blue, then blue, red.
// Each frame's LZW data holds 3-bit codes: clear (4), the two pixels, end (5).
const QByteArray twoFrameGif("GIF89a\x02\x00\x01\x00\x80\x00\x00"
                             "\xff\x00\x00\x00\x00\xff"
                             "\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00\x02\x02\x44\x0a\x00"
                             "\x2c\x00\x00\x00\x00\x02\x00\x01\x00\x00\x02\x02\x0c\x0a\x00"
                             "\x3b",
    50);

void opens(const char* name, const char* fileName, const QByteArray& bytes, int border, QSize size,
    const QList<QRgb>& pixels = {}, bool reuse = false)
{
    QTest::newRow(name) << QString(fileName) << bytes << border << size << QString() << pixels << reuse;
}

void refused(const char* name, const char* fileName, const QByteArray& bytes, const QString& reason)
{
    QTest::newRow(name) << QString(fileName) << bytes << 0 << QSize() << reason << QList<QRgb>() << false;
}

} // namespace

class TestLoader : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void borderRules_data()
    {
        QTest::addColumn<QString>("software"); // null, with make: no tags at all
        QTest::addColumn<QString>("make");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("border");

        const QString none, scopique = QStringLiteral("Scopique");
        const std::pair<int, QList<int>> classes[] = { { 1, { 322, 642, 802, 1026, 1282 } },
            { 19, { 358, 678, 838, 1062, 1318 } }, { 20, { 360, 680, 840, 1064, 1320 } } };
        for (const auto& [border, widths] : classes)
            for (int w : widths)
                QTest::addRow("width %d", w) << none << none << QSize(w, 480) << border;
        QTest::newRow("unlisted width") << none << none << QSize(640, 480) << 0;
        // The width rule, like the tag, only takes a border that leaves a picture.
        QTest::newRow("680 x 40 kept whole") << none << none << QSize(680, 40) << 0;
        QTest::newRow("680 x 41 has ansi") << none << none << QSize(680, 41) << 20;
        QTest::newRow("642 x 2 kept whole") << none << none << QSize(642, 2) << 0;
        QTest::newRow("642 x 3 has thin") << none << none << QSize(642, 3) << 1;
        QTest::newRow("make 0 on a strip") << scopique << "0" << QSize(1320, 1) << 0;
        QTest::newRow("make 19 on 838x638") << scopique << "19" << QSize(838, 638) << 19;
        QTest::newRow("make beats width") << scopique << "19" << QSize(642, 482) << 19;
        QTest::newRow("make 0 falls to width") << scopique << "0" << QSize(642, 482) << 1;
        QTest::newRow("negative make") << scopique << "-5" << QSize(642, 482) << 1;
        QTest::newRow("overflowing make") << scopique << "99999999999" << QSize(642, 482) << 1;
        QTest::newRow("digits then text") << scopique << "20abc" << QSize(1000, 700) << 20;
        QTest::newRow("leading blank") << scopique << " 7" << QSize(1000, 700) << 7;
        QTest::newRow("no digits") << scopique << "abc" << QSize(1320, 990) << 20;
        QTest::newRow("other software") << QString("GIMP 2.10") << "7" << QSize(1000, 700) << 0;
        QTest::newRow("software in lower case") << QString("scopique") << "7" << QSize(1000, 700) << 0;
        QTest::newRow("half the height") << scopique << "40" << QSize(642, 80) << 1;
        QTest::newRow("just below half") << scopique << "39" << QSize(642, 80) << 39;
    }

    void borderRules()
    {
        QFETCH(QString, software);
        QFETCH(QString, make);
        QFETCH(QSize, size);
        QFETCH(int, border);
        const ImageTags tags = software.isNull() ? ImageTags() : ImageTags { software, make, std::nullopt };
        QCOMPARE(BorderRules::forImage(tags, size.width(), size.height()), border);
    }

    void atoiText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("blanks and sign") << " \t\n+12" << 12;
        QTest::newRow("minus") << "-5" << -5;
        QTest::newRow("trailing text") << "20abc" << 20;
        QTest::newRow("no digits") << "abc" << 0;
        QTest::newRow("sign only") << "-" << 0;
        QTest::newRow("one above INT_MAX") << "2147483648" << std::numeric_limits<int>::max();
        QTest::newRow("overflow") << QString(40, u'9') << std::numeric_limits<int>::max();
        QTest::newRow("underflow") << "-99999999999" << std::numeric_limits<int>::min();
    }

    void atoiText()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(BorderRules::atoiText(text), value);
    }

    void tagsRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("writable");
        QTest::newRow("jpeg") << encode(pattern(64, 48), "jpeg") << true;
        QTest::newRow("png") << encode(pattern(64, 48), "png") << true;
        QTest::newRow("tiff") << encode(pattern(64, 48), "tiff") << true;
        QTest::newRow("bmp") << encode(pattern(64, 48), "bmp") << false;
        QTest::newRow("gif") << twoFrameGif << false;
    }

    void tagsRoundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, writable);

        ImageTags tags = scopique19;
        tags.description = QStringLiteral("Zwiebelhaut \u2013 Querschnitt \u00D740");
        const QByteArray original = bytes;
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(tags.writeBytes(bytes), writable);
        if (!writable) {
            QCOMPARE(bytes, original);
            return;
        }
        const ImageTags read = ImageTags::readBytes(bytes);
        QVERIFY(read.software == tags.software && read.make == tags.make && read.description == tags.description);
        QCOMPARE(QImage::fromData(bytes), QImage::fromData(original));
        // Other readers expect each TIFF text to end in a NUL: the Make entry (ASCII, 3 bytes) holds "19\0".
        if (bytes.startsWith("II*"))
            QVERIFY(bytes.contains(QByteArray("\x0f\x01\x02\0\x03\0\0\0\x31\x39\0", 11)));
    }

    void decodeVerdicts_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes"); // null: no file; "/": a folder
        QTest::addColumn<int>("border");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("reason"); // empty when the file opens, else part of the message
        QTest::addColumn<QList<QRgb>>("pixels"); // the first pixels, when not those Qt itself reads
        // A second decoding fills the same memory: allocating costs more than decoding.
        QTest::addColumn<bool>("reuse");

        const QByteArray jpeg = encode(pattern(640, 480), "jpeg");
        opens("png thin", "thin.png", encode(pattern(642, 482), "png"), 1, QSize(642, 482), {}, true);
        opens("jpeg plain", "plain.jpg", jpeg, 0, QSize(640, 480), {}, true);
        opens("jpeg tagged", "tagged.jpg", encode(pattern(1000, 70), "jpeg", scopique19), 19, QSize(1000, 70));
        opens("tiff ansi", "ansi.tif", encode(pattern(1320, 990), "tiff"), 20, QSize(1320, 990));
        opens("bmp photo", "photo.bmp", encode(pattern(678, 100), "bmp"), 19, QSize(678, 100));
        opens("png named jpg", "misnamed.jpg", encode(pattern(642, 10), "png"), 1, QSize(642, 10));
        opens("jpeg 680 x 30 whole", "strip.jpg", encode(pattern(680, 30), "jpeg"), 0, QSize(680, 30));
        opens("png 642 x 2 whole", "line.png", encode(pattern(642, 2), "png"), 0, QSize(642, 2));
        opens("gif two frames", "anim.gif", twoFrameGif, 0, QSize(2, 1), { qRgb(255, 0, 0), qRgb(0, 0, 255) });
        // Other viewers show what arrived of a cut JPEG; so does Scopique.
        opens("jpeg cut at half", "half.jpg", jpeg.left(jpeg.size() / 2), 0, QSize(640, 480));
        // Transparent pixels show as over black: premultiplied, made opaque.
        const QRgb alphaPixels[] = { qRgba(200, 100, 50, 128), qRgba(10, 20, 30, 0), qRgba(1, 2, 3, 255) };
        const QImage alpha(reinterpret_cast<const uchar*>(alphaPixels), 3, 1, QImage::Format_ARGB32);
        const QList<QRgb> overBlack = { qRgb(100, 50, 25), qRgb(0, 0, 0), qRgb(1, 2, 3) };
        opens("png alpha", "alpha.png", encode(alpha, "png"), 0, QSize(3, 1), overBlack);
        opens("png 16-bit alpha", "alpha16.png", encode(alpha.convertToFormat(QImage::Format_RGBA64), "png"), 0,
            QSize(3, 1), overBlack);

        const QString notPicture = QStringLiteral("not a JPEG, PNG, GIF, BMP or TIFF");
        refused("missing", "photo.jpg", QByteArray(), "does not exist");
        refused("folder", "album.png", "/", "folder");
        refused("empty", "empty.png", "", "empty");
        refused("text named jpg", "notes.jpg", "Sample 4.\n", notPicture);
        refused("png cut at 64 bytes", "cut.png", encode(pattern(64, 48), "png").left(64), "damaged");
        // Signature, IHDR of 60000 x 60000 RGB, a token IDAT and IEND, with their CRCs.
        refused("png too large", "huge.png",
            QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\xea\x60\0\0\xea\x60\x08\x02\0\0\0\x0f\xb0\xe2\x15"
                       "\0\0\0\x02IDAT\x78\x9c\x62\xa4\x91\x2b\0\0\0\0IEND\xae\x42\x60\x82",
                59),
            QStringLiteral("60000 \u00D7 60000"));
        // A picture format Qt reads but Scopique does not: a 1 x 1 PPM.
        refused("ppm named png", "netpbm.png", QByteArray("P6 1 1 255\n\x10\x20\x30", 14), notPicture);
    }

    void decodeVerdicts()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(int, border);
        QFETCH(QSize, size);
        QFETCH(QString, reason);
        QFETCH(QList<QRgb>, pixels);
        QFETCH(bool, reuse);

        const QString path = QDir(dir.path()).filePath(fileName);
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
        if (reuse) {
            const uchar* memory = decoded.constBits();
            QVERIFY(ImageLoader::decode(path, decoded).ok);
            QCOMPARE(decoded.constBits(), memory);
        }
    }
};

QTEST_GUILESS_MAIN(TestLoader)
#include "tst_loader.moc"
