// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <algorithm>
#include <limits>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include "TestImages.h"
#include "video/BorderRules.h"
#include "video/ImageLoader.h"
#include "video/ImageTags.h"
#include "video/PixelBuffer.h"

namespace {

QByteArray encode(const QImage& image, const char* format)
{
    if (qstrcmp(format, "gif") == 0)
        return TestImages::gif({ image });
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return QByteArray();
    return bytes;
}

ImageTags tagsFrom(const QVariant& software, const QVariant& make, const QVariant& description = {})
{
    ImageTags tags;
    if (software.isValid())
        tags.software = software.toString();
    if (make.isValid())
        tags.make = make.toString();
    if (description.isValid())
        tags.description = description.toString();
    return tags;
}

QVariant asVariant(const std::optional<QString>& text)
{
    return text ? QVariant(*text) : QVariant();
}

// The largest difference of any colour channel between two pictures of the same size.
int maxDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return std::numeric_limits<int>::max();
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            worst
                = std::max({ worst, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q)) });
        }
    }
    return worst;
}

// Every pixel of an RGB32 picture must keep its unused byte at 0xff: Qt's
// drawing takes it for opaque.
bool unusedBytesOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) != 255)
                return false;
        }
    }
    return true;
}

// What a picture with transparency looks like over black, worked out per pixel.
QImage overBlack(const QImage& source)
{
    const QImage argb = source.convertToFormat(QImage::Format_ARGB32);
    QImage out(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const double a = qAlpha(p) / 255.0;
            out.setPixel(x, y, qRgb(qRound(qRed(p) * a), qRound(qGreen(p) * a), qRound(qBlue(p) * a)));
        }
    }
    return out;
}

// A picture of at most 251 colours, all different, so that GIF keeps it exactly.
QImage fewColours(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int i = (x + 3 * y) % 251;
            image.setPixel(x, y, qRgb(i, 255 - i, (i * 7) % 256));
        }
    }
    return image;
}

QImage flat(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage withAlpha()
{
    QImage image(6, 2, QImage::Format_ARGB32);
    const QRgb pixels[12] = {
        qRgba(200, 100, 50, 128),
        qRgba(10, 20, 30, 0),
        qRgba(255, 255, 255, 255),
        qRgba(0, 255, 0, 1),
        qRgba(90, 180, 240, 254),
        qRgba(255, 0, 255, 64),
        qRgba(255, 255, 255, 0),
        qRgba(1, 2, 3, 255),
        qRgba(128, 128, 128, 128),
        qRgba(250, 5, 60, 200),
        qRgba(0, 0, 0, 0),
        qRgba(33, 66, 99, 33),
    };
    for (int i = 0; i < 12; ++i)
        image.setPixel(i % 6, i / 6, pixels[i]);
    return image;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(crc32(body), crc.data());
    return chunk + body + crc;
}

// A PNG that only declares its size: a header, a token of data and its end.
QByteArray pngHeaderOnly(quint32 w, quint32 h)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(w, ihdr.data());
    qToBigEndian<quint32>(h, ihdr.data() + 4);
    ihdr[8] = 8; // bits per channel
    ihdr[9] = 2; // RGB
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) + pngChunk("IDAT", QByteArray("\x78\x9c", 2))
        + pngChunk("IEND", QByteArray());
}

// An uncompressed 24-bit TGA, stored from the top row down.
QByteArray tga(const QImage& image)
{
    QByteArray out(18, '\0');
    out[2] = 2;
    qToLittleEndian<quint16>(quint16(image.width()), out.data() + 12);
    qToLittleEndian<quint16>(quint16(image.height()), out.data() + 14);
    out[16] = 24;
    out[17] = 0x20;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            out.append(char(qBlue(p)));
            out.append(char(qGreen(p)));
            out.append(char(qRed(p)));
        }
    }
    return out;
}

struct TiffEntry {
    quint16 tag;
    quint16 type;
    quint32 count;
    QByteArray value;
};

QByteArray shortValue(quint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<quint16>(v, b.data());
    return b;
}

QByteArray longValue(quint32 v)
{
    QByteArray b(4, '\0');
    qToLittleEndian<quint32>(v, b.data());
    return b;
}

// A 1 x 1 grey TIFF whose Software is "Scopique" and whose Make is stored
// with the given field type and bytes.
QByteArray tiffWithMake(quint16 makeType, const QByteArray& makeBytes)
{
    const quint16 Short = 3, Long = 4, Ascii = 2;
    const quint32 unitSize = makeType == 3 ? 2 : makeType == 4 ? 4 : 1;
    QList<TiffEntry> entries = {
        { 256, Short, 1, shortValue(1) },
        { 257, Short, 1, shortValue(1) },
        { 258, Short, 1, shortValue(8) },
        { 259, Short, 1, shortValue(1) },
        { 262, Short, 1, shortValue(1) },
        { 271, makeType, quint32(makeBytes.size()) / unitSize, makeBytes },
        { 273, Long, 1, QByteArray() }, // the strip offset, filled in below
        { 277, Short, 1, shortValue(1) },
        { 278, Short, 1, shortValue(1) },
        { 279, Long, 1, longValue(1) },
        { 305, Ascii, 9, QByteArray("Scopique\0", 9) },
    };
    const quint32 ifdSize = 2 + 12 * quint32(entries.size()) + 4;
    quint32 dataOffset = 8 + ifdSize;
    QByteArray data;
    QByteArray ifd = shortValue(quint16(entries.size()));
    quint32 pixelOffset = dataOffset;
    for (const TiffEntry& e : entries)
        if (e.value.size() > 4)
            pixelOffset += quint32(e.value.size() + (e.value.size() & 1));
    for (TiffEntry e : entries) {
        if (e.tag == 273)
            e.value = longValue(pixelOffset);
        ifd += shortValue(e.tag) + shortValue(e.type) + longValue(e.count);
        if (e.value.size() <= 4) {
            ifd += e.value + QByteArray(4 - e.value.size(), '\0');
        } else {
            ifd += longValue(dataOffset + quint32(data.size()));
            data += e.value;
            if (data.size() & 1)
                data += '\0';
        }
    }
    ifd += longValue(0);
    return QByteArray("II*\0", 4) + longValue(8) + ifd + data + QByteArray(1, char(0x80));
}

// The stored bytes of an ASCII field of a TIFF's first directory, as other
// programs see them; empty when the field is missing.
QByteArray tiffAsciiField(const QByteArray& tiff, quint16 wanted)
{
    const bool little = tiff.startsWith("II");
    const auto u16 = [&](qsizetype at) {
        return little ? qFromLittleEndian<quint16>(tiff.constData() + at)
                      : qFromBigEndian<quint16>(tiff.constData() + at);
    };
    const auto u32 = [&](qsizetype at) {
        return little ? qFromLittleEndian<quint32>(tiff.constData() + at)
                      : qFromBigEndian<quint32>(tiff.constData() + at);
    };
    if (tiff.size() < 8)
        return QByteArray();
    const quint32 ifd = u32(4);
    if (qsizetype(ifd) + 2 > tiff.size())
        return QByteArray();
    const int count = u16(ifd);
    for (int i = 0; i < count && qsizetype(ifd) + 14 + 12 * i <= tiff.size(); ++i) {
        const qsizetype entry = ifd + 2 + 12 * i;
        if (u16(entry) != wanted || u16(entry + 2) != 2)
            continue;
        const quint32 length = u32(entry + 4);
        const qsizetype at = length <= 4 ? entry + 8 : qsizetype(u32(entry + 8));
        return tiff.mid(at, length);
    }
    return QByteArray();
}

// How a refused file is made.
enum RefusedFile { Bytes, Missing, Folder, Unreadable };

} // namespace

class TestLoader : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void borderFromWidth_data();
    void borderFromWidth();
    void borderFromTags_data();
    void borderFromTags();
    void atoiText_data();
    void atoiText();

    void tagsRoundTrip_data();
    void tagsRoundTrip();
    void tagTypes_data();
    void tagTypes();
    void tagsOfOddFiles_data();
    void tagsOfOddFiles();

    void decodeBorders_data();
    void decodeBorders();
    void decodeConversions_data();
    void decodeConversions();
    void decodeRefused_data();
    void decodeRefused();
    void pixelCap_data();
    void pixelCap();
    void truncatedJpegOpens();
    void decodeReusesMemory_data();
    void decodeReusesMemory();

private:
    QTemporaryDir dir;
    int qtAllocationLimit = 0;
};

void TestLoader::initTestCase()
{
    QVERIFY(dir.isValid());
    qtAllocationLimit = QImageReader::allocationLimit();
}

void TestLoader::cleanup()
{
    QImageReader::setAllocationLimit(qtAllocationLimit);
}

void TestLoader::borderFromWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("border");

    for (int w : { 322, 642, 802, 1026, 1282 })
        QTest::addRow("thin %d", w) << w << 1;
    for (int w : { 358, 678, 838, 1062, 1318 })
        QTest::addRow("photo %d", w) << w << 19;
    for (int w : { 360, 680, 840, 1064, 1320 })
        QTest::addRow("ansi %d", w) << w << 20;
    for (int w : { 0, 1, 320, 321, 323, 640, 641, 643, 800, 1024, 1280, 1283, 357, 359, 361, 1319, 1321, 2592, -642 })
        QTest::addRow("none %d", w) << w << 0;
}

void TestLoader::borderFromWidth()
{
    QFETCH(int, width);
    QFETCH(int, border);

    QCOMPARE(BorderRules::fromWidth(width), border);
    // The height plays no part, and a file without tags follows the width.
    for (int h : { 1, 40, 480, 100000 })
        QCOMPARE(BorderRules::forImage(ImageTags(), width, h), border);
}

void TestLoader::borderFromTags_data()
{
    QTest::addColumn<QVariant>("software");
    QTest::addColumn<QVariant>("make");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("border");

    const QVariant scopique = QStringLiteral("Scopique");
    const QVariant none;
    QTest::newRow("make 19 on 838x638") << scopique << QVariant("19") << 838 << 638 << 19;
    QTest::newRow("make beats the width rule") << scopique << QVariant("19") << 642 << 482 << 19;
    QTest::newRow("make on an unlisted width") << scopique << QVariant("19") << 1000 << 700 << 19;
    QTest::newRow("make 0 falls to width") << scopique << QVariant("0") << 642 << 482 << 1;
    QTest::newRow("make 0 on unlisted width") << scopique << QVariant("0") << 1000 << 700 << 0;
    QTest::newRow("negative make") << scopique << QVariant("-5") << 642 << 482 << 1;
    QTest::newRow("overflowing make") << scopique << QVariant("99999999999") << 642 << 482 << 1;
    QTest::newRow("INT_MAX make") << scopique << QVariant("2147483647") << 642 << 482 << 1;
    QTest::newRow("INT_MIN make") << scopique << QVariant("-2147483648") << 840 << 600 << 20;
    QTest::newRow("digits then text") << scopique << QVariant("20abc") << 1000 << 700 << 20;
    QTest::newRow("leading blank") << scopique << QVariant(" 7") << 1000 << 700 << 7;
    QTest::newRow("tab and plus") << scopique << QVariant("\t+12") << 1000 << 700 << 12;
    QTest::newRow("no digits") << scopique << QVariant("abc") << 1320 << 990 << 20;
    QTest::newRow("empty make") << scopique << QVariant("") << 1320 << 990 << 20;
    QTest::newRow("no make") << scopique << none << 1320 << 990 << 20;
    QTest::newRow("other software") << QVariant("GIMP 2.10") << QVariant("7") << 1000 << 700 << 0;
    QTest::newRow("software differs in case") << QVariant("scopique") << QVariant("7") << 1000 << 700 << 0;
    QTest::newRow("software with a suffix") << QVariant("Scopique ") << QVariant("7") << 642 << 482 << 1;
    QTest::newRow("no software") << none << QVariant("7") << 1000 << 700 << 0;
    QTest::newRow("just below half the height") << scopique << QVariant("39") << 1000 << 80 << 39;
    QTest::newRow("half the height") << scopique << QVariant("40") << 1000 << 80 << 0;
    QTest::newRow("just below half the width") << scopique << QVariant("49") << 100 << 800 << 49;
    QTest::newRow("half the width") << scopique << QVariant("50") << 100 << 800 << 0;
    QTest::newRow("larger than the picture") << scopique << QVariant("5000") << 838 << 638 << 19;
    QTest::newRow("make 1 on 3x3") << scopique << QVariant("1") << 3 << 3 << 1;
}

void TestLoader::borderFromTags()
{
    QFETCH(QVariant, software);
    QFETCH(QVariant, make);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, border);

    QCOMPARE(BorderRules::forImage(tagsFrom(software, make), width, height), border);
}

void TestLoader::atoiText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");

    const int maxInt = std::numeric_limits<int>::max();
    const int minInt = std::numeric_limits<int>::min();
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("plain") << "19" << 19;
    QTest::newRow("leading zeros") << "007" << 7;
    QTest::newRow("blanks") << " \t\n\v\f\r8" << 8;
    QTest::newRow("plus") << "+5" << 5;
    QTest::newRow("minus") << "-5" << -5;
    QTest::newRow("trailing text") << "20abc" << 20;
    QTest::newRow("inner blank") << "1 2" << 1;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("sign without digits") << "-" << 0;
    QTest::newRow("blank after sign") << "- 5" << 0;
    QTest::newRow("two signs") << "--5" << 0;
    QTest::newRow("trailing blank") << "42 " << 42;
    QTest::newRow("non-ASCII digits") << QStringLiteral("\uFF11\uFF12") << 0;
    QTest::newRow("int max") << "2147483647" << maxInt;
    QTest::newRow("one above int max") << "2147483648" << maxInt;
    QTest::newRow("far above") << "99999999999" << maxInt;
    QTest::newRow("very long") << QString(60, u'9') << maxInt;
    QTest::newRow("int min") << "-2147483648" << minInt;
    QTest::newRow("below int min") << "-99999999999" << minInt;
}

void TestLoader::atoiText()
{
    QFETCH(QString, text);
    QFETCH(int, value);

    QCOMPARE(BorderRules::atoiText(text), value);
}

void TestLoader::tagsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QVariant>("software");
    QTest::addColumn<QVariant>("make");
    QTest::addColumn<QVariant>("description");
    QTest::addColumn<bool>("writable");

    const QVariant none;
    const QVariant text = QStringLiteral("Zwiebelhaut \u2013 Querschnitt \u00D740, \u00E9chantillon 3");
    QTest::newRow("jpeg") << QByteArray("jpeg") << QVariant("Scopique") << QVariant("19") << text << true;
    QTest::newRow("png") << QByteArray("png") << QVariant("Scopique") << QVariant("20") << text << true;
    QTest::newRow("tiff") << QByteArray("tiff") << QVariant("Scopique") << QVariant("1") << text << true;
    QTest::newRow("jpeg make only") << QByteArray("jpeg") << none << QVariant("7") << none << true;
    QTest::newRow("png description only") << QByteArray("png") << none << none << text << true;
    QTest::newRow("tiff empty texts") << QByteArray("tiff") << QVariant("") << QVariant("") << none << true;
    QTest::newRow("jpeg no tags") << QByteArray("jpeg") << none << none << none << true;
    QTest::newRow("bmp") << QByteArray("bmp") << QVariant("Scopique") << QVariant("19") << text << false;
    QTest::newRow("gif") << QByteArray("gif") << QVariant("Scopique") << QVariant("19") << text << false;
}

void TestLoader::tagsRoundTrip()
{
    QFETCH(QByteArray, format);
    QFETCH(QVariant, software);
    QFETCH(QVariant, make);
    QFETCH(QVariant, description);
    QFETCH(bool, writable);

    const QImage picture = format == "gif" ? fewColours(64, 48) : TestImages::pattern(64, 48);
    QByteArray bytes = encode(picture, format.constData());
    QVERIFY(!bytes.isEmpty());
    const QByteArray original = bytes;

    const ImageTags tags = tagsFrom(software, make, description);
    QCOMPARE(tags.writeBytes(bytes), writable);
    if (!writable) {
        QCOMPARE(bytes, original);
        return;
    }

    const ImageTags fromBytes = ImageTags::readBytes(bytes);
    QCOMPARE(asVariant(fromBytes.software), software);
    QCOMPARE(asVariant(fromBytes.make), make);
    QCOMPARE(asVariant(fromBytes.description), description);

    if (format == "tiff") {
        // Other readers expect each text to end in its NUL.
        const std::pair<quint16, QVariant> fields[] = { { 305, software }, { 271, make }, { 270, description } };
        for (const auto& [tag, text] : fields) {
            if (text.isValid())
                QCOMPARE(tiffAsciiField(bytes, tag), text.toString().toUtf8() + '\0');
        }
    }

    const QString path = TestImages::writeBytes(dir.path(), QStringLiteral("tagged.") + format, bytes);
    QVERIFY(!path.isEmpty());
    const ImageTags fromFile = ImageTags::readFile(path);
    QCOMPARE(asVariant(fromFile.software), software);
    QCOMPARE(asVariant(fromFile.make), make);
    QCOMPARE(asVariant(fromFile.description), description);

    // The tags must leave the picture intact.
    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(decoded, QImage::fromData(original).convertToFormat(QImage::Format_RGB32));
}

void TestLoader::tagTypes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QVariant>("make");

    QTest::newRow("ascii") << 2 << QByteArray("19\0", 3) << QVariant("19");
    QTest::newRow("ascii without its NUL") << 2 << QByteArray("19") << QVariant("19");
    QTest::newRow("ascii with an inner NUL") << 2 << QByteArray("19\0junk\0", 8) << QVariant("19");
    QTest::newRow("ascii starting with NUL") << 2
                                             << QByteArray("\0"
                                                           "19\0",
                                                    4)
                                             << QVariant("");
    QTest::newRow("utf-8") << 2
                           << QByteArray("Leitz \xE2\x80\x93 \xC3\x97"
                                         "40\0",
                                  14)
                           << QVariant(QStringLiteral("Leitz \u2013 \u00D740"));
    QTest::newRow("undefined type") << 7 << QByteArray("19\0", 3) << QVariant();
    QTest::newRow("byte type") << 1 << QByteArray("19\0", 3) << QVariant();
    QTest::newRow("short type") << 3 << shortValue(19) << QVariant();
    QTest::newRow("long type") << 4 << longValue(19) << QVariant();
}

void TestLoader::tagTypes()
{
    QFETCH(int, type);
    QFETCH(QByteArray, stored);
    QFETCH(QVariant, make);

    const QString path
        = TestImages::writeBytes(dir.path(), QStringLiteral("types.tif"), tiffWithMake(quint16(type), stored));
    QVERIFY(!path.isEmpty());
    const ImageTags tags = ImageTags::readFile(path);
    QCOMPARE(asVariant(tags.software), QVariant("Scopique"));
    QCOMPARE(asVariant(tags.make), make);
    QCOMPARE(asVariant(tags.description), QVariant());
}

void TestLoader::tagsOfOddFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray jpeg = encode(TestImages::pattern(64, 48), "jpeg");
    QTest::newRow("empty") << "empty.jpg" << QByteArray();
    QTest::newRow("text") << "notes.jpg" << QByteArray("not a picture at all\n");
    QTest::newRow("jpeg cut at 10 bytes") << "cut.jpg" << jpeg.left(10);
    QTest::newRow("png signature only") << "sig.png" << QByteArray("\x89PNG\r\n\x1a\n", 8);
    QTest::newRow("tiff header only") << "head.tif" << QByteArray("II*\0\x08\0\0\0", 8);
    QTest::newRow("tiff pointing outside") << "far.tif" << QByteArray("II*\0\xff\xff\xff\x7f", 8);
    QTest::newRow("bmp") << "plain.bmp" << encode(TestImages::pattern(8, 8), "bmp");
    QTest::newRow("gif") << "plain.gif" << encode(fewColours(8, 8), "gif");
    QTest::newRow("untagged jpeg") << "plain.jpg" << jpeg;
}

void TestLoader::tagsOfOddFiles()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);

    const QString path = TestImages::writeBytes(dir.path(), fileName, bytes);
    QVERIFY(!path.isEmpty());
    for (const ImageTags& tags : { ImageTags::readFile(path), ImageTags::readBytes(bytes) }) {
        QVERIFY(!tags.software);
        QVERIFY(!tags.make);
        QVERIFY(!tags.description);
    }
    QVERIFY(!ImageTags::readFile(QDir(dir.path()).filePath(QStringLiteral("missing.jpg"))).make);
}

void TestLoader::decodeBorders_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QVariant>("software");
    QTest::addColumn<QVariant>("make");
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("tolerance");

    const QVariant none;
    const QByteArray byName; // the extension chooses the encoder
    const QVariant scopique = QStringLiteral("Scopique");
    const QImage blue = flat(838, 638, qRgb(40, 120, 200));
    QTest::newRow("png 642x482 thin") << "thin.png" << byName << TestImages::pattern(642, 482) << none << none << 1
                                      << 0;
    QTest::newRow("png 640x480 plain") << "plain.png" << byName << TestImages::pattern(640, 480) << none << none << 0
                                       << 0;
    QTest::newRow("jpeg tagged 19") << "photo.jpg" << byName << blue << scopique << QVariant("19") << 19 << 4;
    QTest::newRow("jpeg by width 19") << "photo-untagged.jpg" << byName << blue << none << none << 19 << 4;
    QTest::newRow("jpeg tagged 19 on unlisted width")
        << "wide.jpg" << byName << flat(1000, 700, qRgb(40, 120, 200)) << scopique << QVariant("19") << 19 << 4;
    QTest::newRow("jpeg make of other software")
        << "other.jpg" << byName << flat(1000, 700, qRgb(40, 120, 200)) << QVariant("GIMP") << QVariant("19") << 0 << 4;
    QTest::newRow("jpeg plain 640x480") << "plain.jpg" << byName << flat(640, 480, qRgb(200, 40, 90)) << none << none
                                        << 0 << 4;
    QTest::newRow("tiff ansi 1320x990") << "ansi.tif" << byName << TestImages::pattern(1320, 990) << none << none << 20
                                        << 0;
    QTest::newRow("tiff tagged 3") << "three.tiff" << byName << TestImages::pattern(100, 80) << scopique
                                   << QVariant("3") << 3 << 0;
    QTest::newRow("png tagged 7") << "seven.png" << byName << TestImages::pattern(100, 80) << scopique << QVariant("7")
                                  << 7 << 0;
    QTest::newRow("png make 0 uses width")
        << "zero.png" << byName << TestImages::pattern(642, 482) << scopique << QVariant("0") << 1 << 0;
    QTest::newRow("png make too large for height")
        << "tall.png" << byName << TestImages::pattern(100, 80) << scopique << QVariant("40") << 0 << 0;
    QTest::newRow("png make just fits") << "fits.png" << byName << TestImages::pattern(100, 80) << scopique
                                        << QVariant("39") << 39 << 0;
    QTest::newRow("bmp 678 photo") << "photo.bmp" << byName << TestImages::pattern(678, 100) << none << none << 19 << 0;
    QTest::newRow("gif 322 thin") << "thin.gif" << byName << fewColours(322, 50) << none << none << 1 << 0;
    QTest::newRow("upper-case name") << "SHOUT.PNG" << byName << TestImages::pattern(642, 10) << none << none << 1 << 0;
    QTest::newRow("png named jpg") << "misnamed.jpg" << QByteArray("png") << TestImages::pattern(642, 10) << none
                                   << none << 1 << 0;
}

void TestLoader::decodeBorders()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, format);
    QFETCH(QImage, picture);
    QFETCH(QVariant, software);
    QFETCH(QVariant, make);
    QFETCH(int, border);
    QFETCH(int, tolerance);

    // Without a format the extension chooses the encoder.
    const QString path = TestImages::write(
        dir.path(), fileName, picture, format.isEmpty() ? nullptr : format.constData(), tagsFrom(software, make));
    QVERIFY(!path.isEmpty());

    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded);
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(result.border, border);
    QCOMPARE(decoded.format(), QImage::Format_RGB32);
    QCOMPARE(decoded.size(), picture.size());

    PixelBuffer frame;
    frame.adopt(decoded, result.border);
    const QRect inner = picture.rect().adjusted(border, border, -border, -border);
    QCOMPARE(frame.size(), inner.size());
    const QImage expected = picture.copy(inner);
    QVERIFY(maxDifference(frame.image(), expected) <= tolerance);
}

void TestLoader::decodeConversions_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QImage>("expected");
    QTest::addColumn<int>("tolerance");

    const QImage alpha = withAlpha();
    const QImage colours = TestImages::pattern(50, 40);
    QTest::newRow("png transparency") << "alpha.png" << encode(alpha, "png") << overBlack(alpha) << 1;
    QTest::newRow("tiff transparency") << "alpha.tif" << encode(alpha, "tiff") << overBlack(alpha) << 1;
    QTest::newRow("png 16-bit") << "deep.png" << encode(colours.convertToFormat(QImage::Format_RGBX64), "png")
                                << colours << 0;
    QTest::newRow("png 16-bit transparency")
        << "deep-alpha.png" << encode(alpha.convertToFormat(QImage::Format_RGBA64), "png") << overBlack(alpha) << 1;

    QImage grey(64, 4, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar(x * 4 + y);
    const QImage greyRgb = grey.convertToFormat(QImage::Format_RGB32);
    QTest::newRow("png grey") << "grey.png" << encode(grey, "png") << greyRgb << 0;
    QTest::newRow("png grey 16-bit") << "grey16.png" << encode(grey.convertToFormat(QImage::Format_Grayscale16), "png")
                                     << greyRgb << 0;
    QTest::newRow("jpeg grey") << "grey.jpg"
                               << encode(flat(64, 64, qRgb(128, 128, 128)).convertToFormat(QImage::Format_Grayscale8),
                                      "jpeg")
                               << flat(64, 64, qRgb(128, 128, 128)) << 2;

    QImage indexed(16, 4, QImage::Format_Indexed8);
    indexed.setColorTable(
        { qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 0), qRgba(0, 255, 0, 128), qRgba(9, 99, 199, 255) });
    for (int y = 0; y < indexed.height(); ++y)
        for (int x = 0; x < indexed.width(); ++x)
            indexed.scanLine(y)[x] = uchar((x + y) % 4);
    QTest::newRow("png palette with transparency")
        << "palette.png" << encode(indexed, "png") << overBlack(indexed) << 1;
    QImage opaqueIndexed = indexed;
    opaqueIndexed.setColorTable({ qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 255, 0), qRgb(9, 99, 199) });
    QTest::newRow("bmp palette") << "palette.bmp" << encode(opaqueIndexed, "bmp")
                                 << opaqueIndexed.convertToFormat(QImage::Format_RGB32) << 0;
    const QImage mono = TestImages::pattern(33, 7).convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    QTest::newRow("bmp one bit") << "mono.bmp" << encode(mono, "bmp") << mono.convertToFormat(QImage::Format_RGB32)
                                 << 0;
    QTest::newRow("bmp 24-bit") << "colour.bmp" << encode(colours, "bmp") << colours << 0;

    // Two frames; the first has a transparent colour (index 3).
    QImage first(12, 5, QImage::Format_Indexed8);
    first.setColorTable({ qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255) });
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            first.scanLine(y)[x] = uchar((x + 2 * y) % 4);
    QImage second = first;
    second.fill(1);
    QImage firstOverBlack = first.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x)
            if (first.constScanLine(y)[x] == 3)
                firstOverBlack.setPixel(x, y, qRgb(0, 0, 0));
    QTest::newRow("gif first frame") << "animated.gif" << TestImages::gif({ first, second }, 3) << firstOverBlack << 0;
    QTest::newRow("gif opaque") << "opaque.gif" << TestImages::gif({ first, second })
                                << first.convertToFormat(QImage::Format_RGB32) << 0;
}

void TestLoader::decodeConversions()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(QImage, expected);
    QFETCH(int, tolerance);

    QVERIFY(!bytes.isEmpty());
    const QString path = TestImages::writeBytes(dir.path(), fileName, bytes);
    QVERIFY(!path.isEmpty());

    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(decoded.format(), QImage::Format_RGB32);
    QCOMPARE(decoded.size(), expected.size());
    QVERIFY(unusedBytesOpaque(decoded));
    const int difference = maxDifference(decoded, expected);
    QVERIFY2(difference <= tolerance, qPrintable(QStringLiteral("difference %1").arg(difference)));
}

void TestLoader::decodeRefused_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("skip");

    const QString notPicture = QStringLiteral("not a JPEG, PNG, GIF, BMP or TIFF picture");
    const QByteArray png = encode(TestImages::pattern(64, 48), "png");
    const QByteArray jpeg = encode(TestImages::pattern(64, 48), "jpeg");
    const QByteArray none;

    QTest::newRow("missing") << "photo.jpg" << int(Missing) << none << "does not exist" << QString();
    QTest::newRow("folder") << "album.png" << int(Folder) << none << "folder" << QString();
    QTest::newRow("unreadable") << "locked.png" << int(Unreadable) << png << "cannot be read" << QString();
    QTest::newRow("empty") << "empty.png" << int(Bytes) << QByteArray("") << "empty" << QString();
    QTest::newRow("text named jpg") << "notes.jpg" << int(Bytes) << QByteArray("Sample 4, stained.\n") << notPicture
                                    << QString();
    QTest::newRow("png cut at 64 bytes") << "cut.png" << int(Bytes) << png.left(64) << "damaged" << QString();
    QTest::newRow("png cut at the signature") << "sig.png" << int(Bytes) << png.left(8) << "damaged" << QString();
    QTest::newRow("jpeg cut in its header") << "head.jpg" << int(Bytes) << jpeg.left(20) << "damaged" << QString();
    QTest::newRow("png declaring 60000x60000")
        << "huge.png" << int(Bytes) << pngHeaderOnly(60000, 60000) << QStringLiteral("60000 \u00D7 60000") << QString();
    QTest::newRow("tga named png") << "targa.png" << int(Bytes) << tga(TestImages::pattern(16, 8)) << notPicture
                                   << QString();

    const bool icns = QImageWriter::supportedImageFormats().contains("icns");
    QTest::newRow("icns named png") << "icon.png" << int(Bytes)
                                    << (icns ? encode(TestImages::pattern(64, 64), "icns") : none) << notPicture
                                    << (icns ? QString() : QStringLiteral("no ICNS writer"));
    const bool webp = QImageWriter::supportedImageFormats().contains("webp");
    QTest::newRow("webp named jpg") << "web.jpg" << int(Bytes)
                                    << (webp ? encode(TestImages::pattern(64, 48), "webp") : none) << notPicture
                                    << (webp ? QString() : QStringLiteral("no WebP writer"));
    QTest::newRow("name with percent signs")
        << "100% %1 %2.jpg" << int(Bytes) << QByteArray("text") << notPicture << QString();
}

void TestLoader::decodeRefused()
{
    QFETCH(QString, fileName);
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QFETCH(QString, skip);

    if (!skip.isEmpty())
        QSKIP(qPrintable(skip));
    QTemporaryDir rowDir;
    QVERIFY(rowDir.isValid());
    QString path = QDir(rowDir.path()).filePath(fileName);
    if (kind == Bytes || kind == Unreadable)
        QCOMPARE(TestImages::writeBytes(rowDir.path(), fileName, bytes), path);
    if (kind == Folder)
        QVERIFY(QDir(rowDir.path()).mkdir(fileName));
    if (kind == Unreadable) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this account reads files without read permission");
    }

    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(u'\u201C' + fileName + u'\u201D'), qPrintable(result.error));
    QVERIFY2(result.error.contains(reason), qPrintable(result.error));
    QVERIFY2(result.error.endsWith(u'.'), qPrintable(result.error));
}

void TestLoader::pixelCap_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<qint64>("maxPixels");
    QTest::addColumn<int>("qtLimitMB");
    QTest::addColumn<bool>("ok");

    QTest::newRow("png at the cap") << "cap.png" << QSize(100, 100) << qint64(10000) << 256 << true;
    QTest::newRow("png one pixel over") << "over.png" << QSize(100, 100) << qint64(9999) << 256 << false;
    QTest::newRow("jpeg one pixel over") << "over.jpg" << QSize(100, 100) << qint64(9999) << 256 << false;
    QTest::newRow("bmp one pixel over") << "over.bmp" << QSize(100, 100) << qint64(9999) << 256 << false;
    QTest::newRow("tiff one pixel over") << "over.tif" << QSize(100, 100) << qint64(9999) << 256 << false;
    QTest::newRow("gif one pixel over") << "over.gif" << QSize(100, 100) << qint64(9999) << 256 << false;
    // As with QT_IMAGEIO_MAXALLOC set low or to 0 in the environment.
    QTest::newRow("Qt limit below the picture")
        << "big.jpg" << QSize(1200, 1000) << ImageLoader::MaxPixels << 1 << true;
    QTest::newRow("Qt limit off, over the cap") << "off.png" << QSize(1200, 1000) << qint64(1'000'000) << 0 << false;
}

void TestLoader::pixelCap()
{
    QFETCH(QString, fileName);
    QFETCH(QSize, size);
    QFETCH(qint64, maxPixels);
    QFETCH(int, qtLimitMB);
    QFETCH(bool, ok);

    const QString path = TestImages::write(dir.path(), fileName, fewColours(size.width(), size.height()));
    QVERIFY(!path.isEmpty());
    QImageReader::setAllocationLimit(qtLimitMB);
    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded, maxPixels);
    QCOMPARE(result.ok, ok);
    if (ok) {
        QCOMPARE(decoded.size(), size);
    } else {
        const QString dimensions = QStringLiteral("%1 \u00D7 %2").arg(size.width()).arg(size.height());
        QVERIFY2(result.error.contains(dimensions), qPrintable(result.error));
        QVERIFY2(result.error.contains(fileName), qPrintable(result.error));
    }
}

void TestLoader::truncatedJpegOpens()
{
    // Other viewers show what arrived and grey for the rest; so does Scopique.
    const QImage picture = flat(640, 480, qRgb(200, 30, 30));
    const QByteArray jpeg = encode(picture, "jpeg");
    const QString path = TestImages::writeBytes(dir.path(), QStringLiteral("half.jpg"), jpeg.left(jpeg.size() / 2));
    QVERIFY(!path.isEmpty());

    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(decoded.size(), picture.size());
    QCOMPARE(decoded.format(), QImage::Format_RGB32);
    QVERIFY(maxDifference(decoded.copy(0, 0, 640, 8), picture.copy(0, 0, 640, 8)) <= 4);
    QVERIFY(maxDifference(decoded.copy(0, 472, 640, 8), flat(640, 8, qRgb(128, 128, 128))) <= 2);
}

void TestLoader::decodeReusesMemory_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("jpeg") << "reuse.jpg";
    QTest::newRow("png") << "reuse.png";
}

void TestLoader::decodeReusesMemory()
{
    QFETCH(QString, fileName);

    // A camera image of the same size as the last one lands in the same
    // memory: a fresh allocation costs more than the decoding itself.
    const QImage picture = TestImages::pattern(320, 240, 7);
    const QString path = TestImages::write(dir.path(), fileName, picture);
    QVERIFY(!path.isEmpty());
    QImage decoded(picture.size(), QImage::Format_RGB32);
    decoded.fill(Qt::black);
    const uchar* memory = decoded.constBits();

    const LoadResult result = ImageLoader::decode(path, decoded);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(decoded.constBits(), memory);
    QCOMPARE(decoded, QImage(path).convertToFormat(QImage::Format_RGB32));
}

QTEST_GUILESS_MAIN(TestLoader)
#include "tst_loader.moc"
