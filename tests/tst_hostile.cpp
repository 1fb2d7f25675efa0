// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
// Damaged, hostile and misleading input: picture files, settings, names and
// disks that fail part-way. Nothing may crash, hang, lose a file or open
// what cannot be shown.
#include <atomic>
#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/calibration/CalibrationState.h"
#include "core/document/ImageDocument.h"
#include "core/favorites/FavoriteItem.h"
#include "core/favorites/FavoriteName.h"
#include "core/favorites/FavoritesStore.h"
#include "core/histogram/ProfileSurface.h"
#include "core/output/ImageEncoder.h"
#include "core/output/ImageSaver.h"
#include "core/tools/CScaleBarTool.h"
#include "core/tools/CTool.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"
#include "ui/app/CMainFrame.h"
#include "ui/favorites/CFavoritesBar.h"
#include "ui/favorites/CFavoritesList.h"
#include "ui/video/CImagePane.h"

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

namespace {

// ---- Byte surgery on encoded pictures.

void put16(QByteArray& b, qsizetype at, quint32 v, bool bigEndian = false)
{
    b[at + (bigEndian ? 1 : 0)] = char(v & 0xff);
    b[at + (bigEndian ? 0 : 1)] = char((v >> 8) & 0xff);
}

void put32(QByteArray& b, qsizetype at, quint32 v, bool bigEndian = false)
{
    for (int i = 0; i < 4; ++i)
        b[at + (bigEndian ? 3 - i : i)] = char((v >> (8 * i)) & 0xff);
}

QByteArray le16(quint32 v)
{
    QByteArray b(2, 0);
    put16(b, 0, v);
    return b;
}

QByteArray le32(quint32 v)
{
    QByteArray b(4, 0);
    put32(b, 0, v);
    return b;
}

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG chunk: length, type, data, CRC.
QByteArray pngChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray body = type + data;
    QByteArray chunk(4, 0);
    put32(chunk, 0, quint32(data.size()), true);
    QByteArray crc(4, 0);
    put32(crc, 0, crc32(body), true);
    return chunk + body + crc;
}

// Sets a SHORT or LONG entry of a little-endian TIFF's first directory.
void patchTiffTag(QByteArray& b, quint16 tag, quint32 value)
{
    const auto u16 = [&](qsizetype at) { return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8); };
    const qsizetype ifd
        = qsizetype(quint8(b[4]) | quint8(b[5]) << 8 | quint8(b[6]) << 16 | quint32(quint8(b[7])) << 24);
    for (int i = 0; i < u16(ifd); ++i) {
        const qsizetype entry = ifd + 2 + 12 * i;
        if (u16(entry) == tag)
            u16(entry + 2) == 3 ? put16(b, entry + 8, value) : put32(b, entry + 8, value);
    }
}

// Width and height in the header set to 60000 x 60000, nothing else changed.
QByteArray bomb(const QByteArray& format, QByteArray b)
{
    const quint32 n = 60000;
    if (format == "jpeg") {
        const qsizetype sof = b.indexOf("\xFF\xC0");
        put16(b, sof + 5, n, true);
        put16(b, sof + 7, n, true);
    } else if (format == "png") {
        put32(b, 16, n, true);
        put32(b, 20, n, true);
        put32(b, 29, crc32(b.mid(12, 17)), true);
    } else if (format == "gif") {
        put16(b, 6, n);
        put16(b, 8, n);
        const qsizetype descriptor = 13 + ((quint8(b[10]) & 0x80) ? 3 * (2 << (quint8(b[10]) & 7)) : 0);
        put16(b, descriptor + 5, n);
        put16(b, descriptor + 7, n);
    } else if (format == "bmp") {
        put32(b, 18, n);
        put32(b, 22, n);
    } else {
        patchTiffTag(b, 256, n);
        patchTiffTag(b, 257, n);
    }
    return b;
}

// A little-endian TIFF stream of an 8 x 8 grey picture tagged as this
// program's with a border of 2, broken as `damage` says: "count" claims
// 65535 entries, "past end" puts the Make text far beyond the end, "loop"
// points the next and the Exif directory back at the first.
QByteArray exifStream(const QString& damage)
{
    struct Entry {
        quint16 tag, type;
        quint32 count, value;
    };
    const quint32 ifd = 8, entries = 11, data = ifd + 2 + 12 * entries + 4;
    const QByteArray make("2\0\0\0\0\0\0\0\0", 9), software("Scopique\0", 9);
    const quint32 makeAt = damage == QLatin1String("past end") ? 0x7ffffff0u : data;
    const Entry list[entries] = { { 256, 3, 1, 8 }, { 257, 3, 1, 8 }, { 258, 3, 1, 8 }, { 259, 3, 1, 1 },
        { 262, 3, 1, 1 }, { 271, 2, 9, makeAt }, { 273, 4, 1, data + 18 }, { 277, 3, 1, 1 }, { 278, 3, 1, 8 },
        { 279, 4, 1, 64 }, { 305, 2, 9, data + 9 } };
    QByteArray b = QByteArray("II*\0", 4) + le32(ifd) + le16(damage == QLatin1String("count") ? 65535 : entries);
    for (const Entry& e : list)
        b += le16(e.tag) + le16(e.type) + le32(e.count) + le32(e.value);
    b += le32(damage == QLatin1String("loop") ? ifd : 0);
    b += make + software + QByteArray(64, char(0x80));
    if (damage == QLatin1String("loop"))
        b += le16(1) + le16(0x8769) + le16(4) + le32(1) + le32(ifd) + le32(ifd);
    return b;
}

// The EXIF stream carried by a JPEG (APP1 after SOI), a PNG (eXIf after
// IHDR) or as the TIFF file itself.
QByteArray withExif(const QByteArray& format, const QByteArray& picture, const QByteArray& exif)
{
    if (format == "tiff")
        return exif;
    if (format == "jpeg") {
        QByteArray app1("\xFF\xE1\0\0", 4);
        const QByteArray body = QByteArray("Exif\0\0", 6) + exif;
        put16(app1, 2, quint32(body.size() + 2), true);
        return picture.left(2) + app1 + body + picture.mid(2);
    }
    return picture.left(33) + pngChunk("eXIf", exif) + picture.mid(33);
}

QByteArray encodeAs(const QImage& image, const QByteArray& format)
{
    QByteArray bytes;
    QString error;
    return ImageEncoder::encode(image, format, bytes, error) ? bytes : QByteArray();
}

// A flat picture of a border-rule width, so that a tag's border shows.
QImage flat()
{
    QImage image(642, 482, QImage::Format_RGB32);
    image.fill(qRgb(90, 140, 200));
    return image;
}

// ---- The corpus.

struct Case {
    QString name;
    QString fileName;
    QByteArray bytes;
    bool opens = false;
    QSize size;
    int border = 0;
    OptionalText description;
};

const char* const formats[] = { "jpeg", "png", "gif", "bmp", "tiff" };
const char* const extensions[] = { "jpg", "png", "gif", "bmp", "tif" };

QList<Case> makeCorpus()
{
    QList<Case> corpus;
    const QImage picture = TestImages::pattern(96, 64);
    // Pictures of other formats that Qt recognises by their content.
    QList<QByteArray> others;
    for (const char* other : { "ppm", "xpm", "xbm", "icns", "pgm" }) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (QImageWriter(&buffer, other).write(picture))
            others << bytes;
    }
    for (int f = 0; f < 5; ++f) {
        const QByteArray format(formats[f]);
        const QString ext = QString::fromLatin1(extensions[f]), prefix = format + ": ";
        const QByteArray valid = encodeAs(picture, format);
        const auto add = [&](const QString& name, const QString& file, const QByteArray& bytes, bool opens,
                             QSize size = QSize(), int border = 0, OptionalText description = {}) {
            corpus << Case { prefix + name, file, bytes, opens, size, border, description };
        };
        const auto refused = [&](const QString& name, const QByteArray& bytes) {
            add(name, QString(name).replace(u' ', u'-') + u'.' + ext, bytes, false);
        };
        refused(QStringLiteral("empty"), QByteArray());
        refused(QStringLiteral("first 64 bytes"), valid.left(64));
        // libjpeg fills what is missing with grey, as other viewers show it.
        // libjpeg fills what is missing with grey and Qt's GIF reader with the
        // background, as other viewers show them; a BMP short of its pixels is damaged.
        add(QStringLiteral("first half"), QStringLiteral("half.") + ext, valid.left(valid.size() / 2),
            format == "jpeg" || format == "gif", picture.size());
        QByteArray flipped = valid;
        for (qsizetype i = valid.size() / 2 - 32; i < valid.size() / 2 + 32; ++i)
            flipped[i] = char(~flipped[i]);
        // Uncompressed pixels (BMP, Qt's TIFF) are merely wrong; compressed streams break.
        add(QStringLiteral("64 bytes flipped"), QStringLiteral("flipped.") + ext, flipped,
            format == "bmp" || format == "tiff", picture.size());
        refused(QStringLiteral("60000 x 60000 header"), bomb(format, encodeAs(TestImages::pattern(8, 8), format)));
        add(QStringLiteral("wrong extension"), QStringLiteral("wrong.") + extensions[(f + 1) % 5], valid, true,
            picture.size());
        refused(QStringLiteral("text"), QByteArray("This is a note about onion cells, not a picture.\n").repeated(9));
        if (!others.isEmpty())
            refused(QStringLiteral("other format"), others[f % others.size()]);
        if (format == "bmp") {
            // Found by fuzz_loader: sizes near 2^31 and a 65535-bit depth overflowed the length check.
            QByteArray huge = valid;
            put32(huge, 18, 0x7fffffff);
            put32(huge, 22, 0x80000001u);
            put16(huge, 28, 0xffff);
            refused(QStringLiteral("huge header fields"), huge);
        }
        if (format == "gif" || format == "bmp")
            continue;
        // EXIF: broken structures leave the picture and lose only the tags.
        const QByteArray grey = encodeAs(QImage(8, 8, QImage::Format_RGB32), format);
        for (const QString& damage : { QStringLiteral("count"), QStringLiteral("past end"), QStringLiteral("loop") }) {
            // A TIFF cannot do without its directory; a loop is detected and
            // the first directory's border (2) still read.
            const bool opens = format != "tiff" || damage != QLatin1String("count");
            add(QStringLiteral("exif ") + damage, QStringLiteral("exif-%1.").arg(damage).replace(u' ', u'-') + ext,
                withExif(format, grey, exifStream(damage)), opens, QSize(8, 8),
                damage == QLatin1String("loop") ? 2 : 0);
        }
        // Tag values: the Make tag is the border only when it leaves a picture.
        const QByteArray tagged = encodeAs(flat(), format);
        const auto tags = [&](const QString& name, const QString& make, OptionalText description, int border,
                              OptionalText readBack) {
            ImageTags t;
            t.software = QStringLiteral("Scopique");
            t.make = make;
            t.description = description;
            QByteArray bytes = tagged;
            if (t.writeBytes(bytes))
                add(name, QStringLiteral("tags-%1.").arg(corpus.size()) + ext, bytes, true, flat().size(), border,
                    readBack);
        };
        tags(QStringLiteral("make -5"), QStringLiteral("-5"), {}, 1, {});
        tags(QStringLiteral("make 99999999999"), QStringLiteral("99999999999"), {}, 1, {});
        tags(QStringLiteral("make 20abc"), QStringLiteral("20abc"), {}, 20, {});
        // JPEG's APP1 segment holds at most 64 kB: there the tag cannot be written at all.
        const QString longText(70000, u'x');
        tags(QStringLiteral("70000-byte description"), QStringLiteral("19"), longText, 19, longText);
        tags(QStringLiteral("description with NUL"), QStringLiteral("19"),
            QStringLiteral("before") + QChar(0) + "after", 19, QStringLiteral("before"));
        const QString foreign = QStringLiteral("Zwiebelhaut \u00B5m \u2013 400\u00D7 \u6D0B\u8471");
        tags(QStringLiteral("non-ASCII description"), QStringLiteral("19"), foreign, 19, foreign);
    }
    // Pictures of 16 bits per sample, kept as samples and shown through Auto.
    for (const char* format : { "png", "tiff" }) {
        for (const QImage::Format sampleFormat : { QImage::Format_Grayscale16, QImage::Format_RGBX64 }) {
            const bool grey = sampleFormat == QImage::Format_Grayscale16;
            const QString ext = QString::fromLatin1(format == QByteArray("png") ? "png" : "tif");
            const QString prefix = QStringLiteral("%1 16-bit %2: ").arg(format, grey ? "grey" : "colour");
            const QString stem = QStringLiteral("16-%1-").arg(grey ? "grey" : "colour");
            const auto add = [&](const QString& name, const QByteArray& bytes, bool opens, QSize size) {
                corpus << Case { prefix + name, stem + QString(name).replace(u' ', u'-') + u'.' + ext, bytes, opens,
                    size };
            };
            const QImage picture = TestImages::pattern(96, 64).convertToFormat(sampleFormat);
            const QByteArray valid = TestImages::encode(picture, format);
            add(QStringLiteral("first 64 bytes"), valid.left(64), false, QSize());
            add(QStringLiteral("first half"), valid.left(valid.size() / 2), false, QSize());
            add(QStringLiteral("60000 x 60000 header"),
                bomb(format, TestImages::encode(QImage(8, 8, sampleFormat), format)), false, QSize());
            add(QStringLiteral("one row"), TestImages::encode(picture.copy(0, 0, 96, 1), format), true, QSize(96, 1));
            QImage equal(96, 64, sampleFormat);
            equal.fill(QColor::fromRgba64(1234, 1234, 1234));
            add(QStringLiteral("all equal"), TestImages::encode(equal, format), true, QSize(96, 64));
        }
    }
    return corpus;
}

const QList<Case>& corpus()
{
    static const QList<Case> cases = makeCorpus();
    return cases;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Generous: a hang shows as a failure, never a slow machine.
constexpr qint64 hangLimitMs = 60000;

// Past the hang limit, opens and closes the pipe for writing until it is
// destroyed, which lets a reader stuck on it go: a hang then fails the test
// instead of stopping it.
class PipeGuard {
public:
    explicit PipeGuard(const QString& pipe)
        : guard([this, path = pipe.toLocal8Bit()] {
            const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(hangLimitMs);
            while (!done) {
                if (!path.isEmpty() && std::chrono::steady_clock::now() > limit) {
                    const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
                    if (fd >= 0) {
                        stuck = true;
                        ::close(fd);
                    }
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        })
    {
    }
    ~PipeGuard()
    {
        done = true;
        guard.join();
    }
    bool released() const { return stuck; }

private:
    std::atomic<bool> done { false };
    std::atomic<bool> stuck { false };
    std::thread guard;
};

bool makeSocket(const QString& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    if (size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    qstrcpy(address.sun_path, name.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString corpusDir;

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void initTestCase()
    {
        // A write past a size limit then fails instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        // The favourites of the main windows made here live in this run's folder.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        // The fuzzer's build replays the corpus from a folder it names.
        corpusDir = qEnvironmentVariable("SCOPIQUE_CORPUS_DIR", dir.filePath(QStringLiteral("corpus")));
        QDir().mkpath(corpusDir);
        for (const Case& c : corpus())
            QVERIFY(!TestImages::writeBytes(corpusDir, c.fileName, c.bytes).isEmpty());
        QCOMPARE(entries(corpusDir).size() >= corpus().size(), true);
    }

    void pictureFiles_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("border");
        QTest::addColumn<OptionalText>("description");
        for (const Case& c : corpus())
            QTest::newRow(qPrintable(c.name)) << c.fileName << c.opens << c.size << c.border << c.description;
    }
    void pictureFiles()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, opens);
        QFETCH(QSize, size);
        QFETCH(int, border);
        QFETCH(OptionalText, description);
        const QString path = QDir(corpusDir).filePath(fileName);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog frame;
        ImageDocument video(settings, prompts, frame);
        const QImage before = TestImages::pattern(30, 20, 7);
        video.AllocateFrameBuffer(30, 20);
        video.FrameBuffer.image() = before;
        video.SetBorderWidth(7);

        QElapsedTimer timer;
        timer.start();
        const bool opened = video.LoadImageFile(path);
        const std::optional<FavoriteItem> item = FavoriteItem::load(path);
        QVERIFY2(timer.elapsed() < hangLimitMs, "the file took a minute to read");

        QCOMPARE(opened, opens);
        if (opens) {
            QCOMPARE(prompts.messages, QStringList());
            QCOMPARE(video.FrameBuffer.image().size(), size - 2 * QSize(border, border));
            QCOMPARE(video.BorderWidth, border);
        } else {
            QCOMPARE(prompts.messages.size(), 1);
            QVERIFY2(prompts.messages[0].contains(fileName), qPrintable(prompts.messages[0]));
            QCOMPARE(video.FrameBuffer.image(), before);
            QCOMPARE(video.BorderWidth, 7);
        }
        // The favourites list shows a record for any file, with a thumbnail
        // only for what opens.
        QVERIFY(item.has_value());
        QCOMPARE(item->name, QFileInfo(fileName).completeBaseName());
        QCOMPARE(item->thumbnail.isNull(), !opens);
        if (opens)
            QCOMPARE(item->thumbnail.size(), QSize(FavoriteItem::ThumbnailWidth, FavoriteItem::ThumbnailHeight));
        QCOMPARE(item->description, description.value_or(QString()));
    }

    // Pipes, sockets and devices among the favourites or chosen to open are
    // refused by name before anything reads them; a link to a picture opens.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("opens");
        QTest::newRow("named pipe") << "pipe" << false;
        QTest::newRow("link to a named pipe") << "link to pipe" << false;
        QTest::newRow("socket") << "socket" << false;
        QTest::newRow("link to a device") << "link to device" << false;
        QTest::newRow("link to a picture") << "link to picture" << true;
    }
    void specialFiles()
    {
        QFETCH(QString, kind);
        QFETCH(bool, opens);
        const QString root = FavoritesStore::defaultRoot(), folder = root + QStringLiteral("AnyOne");
        QDir(root).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        const QString fileName = QString(kind).replace(u' ', u'-') + QStringLiteral(".jpg");
        const QString path = folder + u'/' + fileName, target = dir.filePath(kind.section(u' ', -1));
        QFile::remove(target);
        QString pipe;
        if (kind == QLatin1String("pipe"))
            pipe = path;
        else if (kind == QLatin1String("link to pipe"))
            pipe = target;
        if (!pipe.isEmpty())
            QCOMPARE(::mkfifo(qPrintable(pipe), 0600), 0);
        if (kind == QLatin1String("socket"))
            QVERIFY(makeSocket(path));
        if (kind == QLatin1String("link to picture"))
            QVERIFY(!TestImages::writeBytes(
                dir.path(), QStringLiteral("picture"), encodeAs(TestImages::pattern(96, 64), "jpeg"))
                         .isEmpty());
        if (kind.startsWith(QLatin1String("link")))
            QVERIFY(QFile::link(kind.endsWith(QLatin1String("device")) ? QStringLiteral("/dev/zero") : target, path));

        const PipeGuard guard(pipe);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        prompts.openFileAnswer = path;
        // The favourites are listed as the main window is made.
        CMainFrame frame(settings, prompts);
        CFavoritesList& favorites = frame.favoritesBar()->list();
        favorites.finishListing();
        // Chosen in the Open dialog, then named on the command line.
        QVERIFY(frame.dispatch(ID_FILE_OPEN));
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
        QVERIFY2(!guard.released(), "a pipe was read");

        const ImageDocument& video = frame.imagePane().imageDocument();
        QCOMPARE(favorites.count(), opens ? 1 : 0);
        QCOMPARE(video.FrameBuffer.image().size(), opens ? QSize(96, 64) : QSize(640, 480));
        if (opens) {
            QCOMPARE(prompts.messages, QStringList());
            QCOMPARE(favorites.record(0)->thumbnail.isNull(), false);
            return;
        }
        const QString refused
            = QStringLiteral("Scopique cannot open \u201C%1\u201D: it is a pipe, socket or device, not a picture file.")
                  .arg(fileName);
        QCOMPARE(prompts.messages, QStringList(3, refused));
    }

    void longDescriptionKeepsTheBorder_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("described");
        QTest::newRow("jpg") << "long.jpg" << false;
        QTest::newRow("png") << "long.png" << false;
        QTest::newRow("tif") << "long.tif" << true;
    }
    void longDescriptionKeepsTheBorder()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, described);
        const QString path = dir.filePath(fileName), text(70000, u'x');
        QString error;
        QVERIFY2(ImageSaver::save(flat(), path, 20, text, error), qPrintable(error));
        const ImageTags tags = ImageTags::readFile(path);
        QCOMPARE(tags.software, OptionalText(QStringLiteral("Scopique")));
        QCOMPARE(tags.make, OptionalText(QStringLiteral("20")));
        QCOMPARE(tags.description, described ? OptionalText(text) : OptionalText());
    }

    void hostileSettings()
    {
        QFile ini(iniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write("[Tool]\nToolColor=red\nTextColor=99999999999\nTextStyle=nan\nTextShadow=inf\n"
                  "FontFace=7\nFontSize=-1\nCircleDisplay=9\nArrowDirection=5\nReticuleSpacing=-inf\n"
                  "ScaleBarLength=1e400\nScaleBarThickness=99999999999\n"
                  "ReticuleCount=4294967296\n[Histogram]\nSize=0\nShow=1\n[Calibration]\nMagnification=0\n"
                  "CalibrationMagnification=abc\nScale=nan\nDistance=inf\nUnits=-7\n[Image\nBorderWidth=20\n"
                  "[Favorites]\nFolder=../../etc\nSortField=1e99\n");
        ini.close();
        SettingsStore settings(iniPath());

        MessageLog log;
        CTool tool(settings, log);
        ToolStyle::readShared(settings, tool);
        QCOMPARE(tool.toolColor, 0u);
        QCOMPARE(tool.textColor, 0x00C0C0C0u);
        QCOMPARE(tool.textStyle, 7);
        QCOMPARE(tool.fontFace, 0);
        QCOMPARE(tool.fontSize, 0);
        const CScaleBarTool bar(settings, log);
        QCOMPARE(bar.length, 0.0); // Automatic
        QCOMPARE(bar.thickness, 6);
        QCOMPARE(ProfileSurface::validThickness(settings.readInt("Histogram", "Size", 64)), 64);
        CalibrationState calibration(settings, log);
        calibration.load();
        QCOMPARE(calibration.Magnification, 100u);
        QCOMPARE(calibration.CalibrationMagnification, 100u);
        QCOMPARE(calibration.Units, 0);
        QVERIFY(std::isfinite(calibration.effectiveScale) && std::isfinite(calibration.effectiveScaleVertical));
        // A circle display or arrow direction beyond the choices draws the handles only.
        QImage canvas(200, 200, QImage::Format_RGB32);
        for (const int kind : { KindCircle, KindArrow, KindReticule, KindText, KindScaleBar }) {
            const std::unique_ptr<CTool> placed = ToolFactory::create(kind, settings, log);
            placed->Press(QPoint(50, 50));
            placed->Drag(QPoint(120, 90), false);
            QPainter painter(&canvas);
            placed->Draw(painter);
        }

        ScriptedPrompts prompts;
        CMainFrame frame(settings, prompts);
        frame.resize(640, 480);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(!frame.grab().isNull());
        FavoritesStore store(settings, dir.filePath(QStringLiteral("favorites")));
        store.open();
        QCOMPARE(store.currentFolderName(), QStringLiteral("AnyOne"));
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("..") << "..";
        QTest::newRow("../x") << "../x";
        QTest::newRow("/etc") << "/etc";
        QTest::newRow("empty") << "";
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b";
        QTest::newRow("256 bytes") << QString(256, u'n');
        QTest::newRow("lone surrogate") << QString("a") + QChar(0xD800) + "b";
        QTest::newRow("newline") << "a\nb";
    }
    void hostileNames()
    {
        QFETCH(QString, name);
        const QString root = dir.filePath(QStringLiteral("names"));
        QDir(root).removeRecursively();
        SettingsStore settings(iniPath());
        FavoritesStore store(settings, root);
        store.open();
        QVERIFY(!FavoriteName::problem(name, QStringLiteral(".jpg")).isEmpty());
        QVERIFY(!store.createFolder(name).isEmpty());
        QVERIFY(!store.switchFolder(name));
        QCOMPARE(entries(root), QStringList { "AnyOne" });
        QCOMPARE(entries(dir.filePath(QStringLiteral("names/AnyOne"))), QStringList());
    }

    void linkedFolderIsNotDeleted()
    {
        const QString root = dir.filePath(QStringLiteral("linked")), outside = dir.filePath(QStringLiteral("outside"));
        QDir().mkpath(outside);
        QVERIFY(!TestImages::writeBytes(outside, QStringLiteral("keep.jpg"), "precious").isEmpty());
        SettingsStore settings(iniPath());
        FavoritesStore store(settings, root);
        store.open();
        QVERIFY(QFile::link(outside, root + QStringLiteral("/Elsewhere")));
        QVERIFY(!store.deleteFolder(QStringLiteral("Elsewhere")).isEmpty());
        QCOMPARE(readAll(outside + QStringLiteral("/keep.jpg")), QByteArray("precious"));
        QVERIFY(QFileInfo(root + QStringLiteral("/Elsewhere")).isSymLink());
    }

    // Adding to what tst_saving covers (a size limit, a parent that is a file).
    void failingDisks_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("read-only folder") << "read-only";
        QTest::newRow("file system fills part-way") << "full";
    }
    void failingDisks()
    {
        QFETCH(QString, how);
        const QString folder = dir.filePath(how);
        QDir().mkpath(folder);
        const QByteArray old = QByteArray("the old picture, kept byte for byte\n").repeated(100);
        if (how == QLatin1String("full")) {
            // Room for the old file and part of the new one only.
            if (geteuid() != 0 || mount("tmpfs", qPrintable(folder), "tmpfs", 0, "size=64k") != 0)
                QSKIP("a small file system needs root and permission to mount tmpfs");
        }
        const QString path = TestImages::writeBytes(folder, QStringLiteral("picture.bmp"), old);
        QVERIFY(!path.isEmpty());
        if (how == QLatin1String("read-only")) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            if (QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly)) {
                QFile::remove(folder + QStringLiteral("/probe"));
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("running as root: folder permissions do not stop writing");
            }
        }
        QString error;
        const bool saved = ImageSaver::save(TestImages::pattern(400, 300), path, 0, {}, error);
        const QByteArray after = readAll(path);
        const QStringList left = entries(folder);
        if (how == QLatin1String("full"))
            umount(qPrintable(folder));
        else
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        QVERIFY2(error.contains(QStringLiteral("picture.bmp")), qPrintable(error));
        QCOMPARE(after, old);
        QCOMPARE(left, QStringList { "picture.bmp" });
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
