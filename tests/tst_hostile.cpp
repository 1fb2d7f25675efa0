// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
// Damaged, hostile and misleading input: picture files, special files,
// settings and names. Nothing may crash, hang, write outside its folder or
// open what cannot be shown. Disks that fail part-way: see tst_saving.

#include <sys/stat.h>

#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/favorites/FavoriteName.h"
#include "core/output/ImageEncoder.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "ui/app/CMainFrame.h"

using OptionalText = std::optional<QString>;

namespace {

// ---- Byte surgery on encoded pictures: `v` written in `n` bytes at `at`.
void put(QByteArray& b, qsizetype at, quint32 v, int n, bool bigEndian = false)
{
    for (int i = 0; i < n; ++i)
        b[at + (bigEndian ? n - 1 - i : i)] = char(v >> (8 * i));
}

QByteArray le(quint32 v, int n)
{
    QByteArray b(n, 0);
    put(b, 0, v, n);
    return b;
}

// A little-endian TIFF stream of a `side` x `side` grey picture (pixels for
// 8 x 8) tagged as this program's with a border of 2, broken as `damage`
// says: "count" claims 65535 entries, "past end" puts the Make text far
// beyond the end, "loop" points the next and the Exif directory back at the first.
QByteArray exifStream(const QString& damage, quint32 side = 8)
{
    const quint32 ifd = 8, entries = 11, data = ifd + 2 + 12 * entries + 4;
    const quint32 makeAt = damage == QLatin1String("past end") ? 0x7ffffff0u : data;
    const quint32 list[entries][4] = { { 256, 3, 1, side }, { 257, 3, 1, side }, { 258, 3, 1, 8 }, { 259, 3, 1, 1 },
        { 262, 3, 1, 1 }, { 271, 2, 9, makeAt }, { 273, 4, 1, data + 18 }, { 277, 3, 1, 1 }, { 278, 3, 1, 8 },
        { 279, 4, 1, 64 }, { 305, 2, 9, data + 9 } };
    QByteArray b = QByteArray("II*\0", 4) + le(ifd, 4) + le(damage == QLatin1String("count") ? 65535 : entries, 2);
    for (const auto& e : list)
        b += le(e[0], 2) + le(e[1], 2) + le(e[2], 4) + le(e[3], 4);
    b += le(damage == QLatin1String("loop") ? ifd : 0, 4);
    b += QByteArray("2\0\0\0\0\0\0\0\0Scopique\0", 18) + QByteArray(64, char(0x80));
    if (damage == QLatin1String("loop"))
        b += le(1, 2) + le(0x8769, 2) + le(4, 2) + le(1, 4) + le(ifd, 4) + le(ifd, 4);
    return b;
}

// The EXIF stream carried by an 8 x 8 JPEG (APP1 after SOI) or as the TIFF file itself.
QByteArray withExif(const QByteArray& format, const QByteArray& exif)
{
    if (format == "tiff")
        return exif;
    const QByteArray picture = TestImages::encode(QImage(8, 8, QImage::Format_RGB32), "jpeg");
    QByteArray app1 = QByteArray("\xFF\xE1\0\0Exif\0\0", 10) + exif;
    put(app1, 2, quint32(app1.size() - 2), 2, true);
    return picture.left(2) + app1 + picture.mid(2);
}

// ---- The corpus.

struct Case {
    QString name, fileName;
    QByteArray bytes;
    bool opens = false;
    QSize size;
    int border = 0;
    OptionalText description;
};

QList<Case> makeCorpus()
{
    QList<Case> corpus;
    const QImage picture = TestImages::pattern(96, 64);
    // A flat picture of a border-rule width, so that a tag's border shows.
    QImage flat(642, 482, QImage::Format_RGB32);
    flat.fill(qRgb(90, 140, 200));
    const char* const formats[] = { "jpeg", "png", "gif", "bmp", "tiff" };
    const char* const extensions[] = { "jpg", "png", "gif", "bmp", "tif" };
    for (int f = 0; f < 5; ++f) {
        const QByteArray format(formats[f]);
        // Written by the program's own encoder: Qt cannot write GIF.
        QByteArray valid;
        QString error;
        ImageEncoder::encode(picture, format, valid, error);
        const auto add = [&](const QString& name, const QByteArray& bytes, bool opens, QSize size = {}, int border = 0,
                             OptionalText description = {}) {
            const QString file = QString(name).replace(u' ', u'-') + u'.' + extensions[f];
            corpus << Case { format + ": " + name, file, bytes, opens, size, border, description };
        };
        add("empty", QByteArray(), false);
        add("first 64 bytes", valid.left(64), false);
        // libjpeg fills what is missing with grey and Qt's GIF reader with the
        // background, as other viewers show them; a BMP short of its pixels is damaged.
        add("first half", valid.left(valid.size() / 2), format == "jpeg" || format == "gif", picture.size());
        QByteArray flipped = valid;
        for (qsizetype i = valid.size() / 2 - 32; i < valid.size() / 2 + 32; ++i)
            flipped[i] = char(~flipped[i]);
        // Uncompressed pixels (BMP, Qt's TIFF) are merely wrong; compressed streams break.
        add("64 bytes flipped", flipped, format == "bmp" || format == "tiff", picture.size());
        // The size check reads every format's header alike.
        if (format == "tiff")
            add("60000 x 60000 header", exifStream({}, 60000), false);
        add("wrong extension", valid, true, picture.size());
        corpus.last().fileName = QStringLiteral("wrong.") + extensions[(f + 1) % 5];
        // A picture Qt recognises by its content, but not one of the five.
        add("other format", TestImages::encode(picture, "ppm"), false);
        if (format == "bmp") {
            // Found by fuzz_loader: sizes near 2^31 and a 65535-bit depth overflowed the length check.
            QByteArray huge = valid;
            put(huge, 18, 0x7fffffff, 4);
            put(huge, 22, 0x80000001u, 4);
            put(huge, 28, 0xffff, 2);
            add("huge header fields", huge, false);
        }
        if (format == "gif" || format == "bmp")
            continue;
        // EXIF: broken structures leave the picture and lose only the tags. A TIFF cannot do
        // without its directory; a loop is detected and the first directory's border (2) still read.
        // PNG's eXIf chunk reaches the same tag reader as JPEG's APP1.
        for (const QString damage : { "count", "past end", "loop" })
            if (format != "png")
                add("exif " + damage, withExif(format, exifStream(damage)), format != "tiff" || damage != "count",
                    QSize(8, 8), damage == "loop" ? 2 : 0);
        // Descriptions read back as far as they can be stored, beside a border of 19 in the Make tag.
        const auto tags = [&](const QString& name, const QString& description, OptionalText readBack) {
            const QByteArray bytes
                = TestImages::encode(flat, format, { QStringLiteral("Scopique"), "19", description });
            if (!bytes.isEmpty())
                add(name, bytes, true, flat.size(), 19, readBack);
        };
        // JPEG's APP1 segment holds at most 64 kB: there the tag cannot be written at all.
        const QString longText(70000, u'x'),
            foreign = QStringLiteral("Zwiebelhaut \u00B5m \u2013 400\u00D7 \u6D0B\u8471");
        tags("70000-byte description", longText, longText);
        tags("description with NUL", QStringLiteral("before") + QChar(0) + "after", QStringLiteral("before"));
        tags("non-ASCII description", foreign, foreign);
        if (format == "jpeg")
            continue;
        // Pictures of 16 bits per sample, kept as samples and shown through Auto.
        for (const QImage::Format samples : { QImage::Format_Grayscale16, QImage::Format_RGBX64 }) {
            const QString depth = samples == QImage::Format_Grayscale16 ? "16-bit grey " : "16-bit colour ";
            const QImage deep = picture.convertToFormat(samples);
            const QByteArray bytes = TestImages::encode(deep, format);
            add(depth + "first half", bytes.left(bytes.size() / 2), false);
            add(depth + "one row", TestImages::encode(deep.copy(0, 0, 96, 1), format), true, QSize(96, 1));
        }
    }
    return corpus;
}

} // namespace

class TestHostile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString corpusDir;
    QList<Case> corpus;

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void initTestCase()
    {
        // The favourites of the main windows made here live in this run's folder.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        // The fuzzer's build replays the corpus from a folder it names.
        corpusDir = qEnvironmentVariable("SCOPIQUE_CORPUS_DIR", dir.filePath(QStringLiteral("corpus")));
        QDir().mkpath(corpusDir);
        corpus = makeCorpus();
        for (const Case& c : corpus)
            QVERIFY(!TestImages::writeBytes(corpusDir, c.fileName, c.bytes).isEmpty());
    }

    void pictureFiles_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < corpus.size(); ++i)
            QTest::newRow(qPrintable(corpus[i].name)) << i;
    }
    void pictureFiles()
    {
        QFETCH(int, index);
        const Case& c = corpus[index];
        const QString path = QDir(corpusDir).filePath(c.fileName);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        MessageLog frame;
        ImageDocument video(settings, prompts, frame);
        const QImage before = TestImages::pattern(30, 20, 7);
        video.AllocateFrameBuffer(30, 20);
        video.FrameBuffer.image() = before;
        video.SetBorderWidth(7);

        // A file that hangs the reader shows as the program's time running out.
        QCOMPARE(video.LoadImageFile(path), c.opens);
        const std::optional<FavoriteItem> item = FavoriteItem::load(path);
        // What cannot be opened leaves the picture as it was; a message names it and the reason: empty,
        // not one of the five formats, too large or damaged.
        const auto has = [&](const char* end) { return c.name.endsWith(QLatin1String(end)); };
        const QString reason = has("empty") ? "the file is empty."
            : has("other format")           ? "it is not a JPEG, PNG, GIF, BMP or TIFF picture."
            : has("header")                 ? "60000 \u00D7 60000 pixels, more than the 100 megapixels"
                                            : "the picture data is damaged";
        QCOMPARE(prompts.messages.size(), c.opens ? 0 : 1);
        QVERIFY2(c.opens || (prompts.messages[0].contains(c.fileName) && prompts.messages[0].contains(reason)),
            qPrintable(prompts.messages.value(0)));
        QCOMPARE(video.BorderWidth, c.opens ? c.border : 7);
        if (c.opens)
            QCOMPARE(video.FrameBuffer.image().size(), c.size - 2 * QSize(c.border, c.border));
        else
            QCOMPARE(video.FrameBuffer.image(), before);
        // The favourites list shows a record for any file, with a thumbnail only for what opens.
        QVERIFY(item.has_value());
        QCOMPARE(item->name, QFileInfo(c.fileName).completeBaseName());
        QCOMPARE(item->thumbnail.size(),
            c.opens ? QSize(FavoriteItem::ThumbnailWidth, FavoriteItem::ThumbnailHeight) : QSize(0, 0));
        QCOMPARE(item->description, c.description.value_or(QString()));
    }

    // Pipes, sockets and devices among the favourites or chosen to open are
    // refused by name before anything reads them; a link to a picture opens.
    void specialFiles_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : { "pipe", "link to device", "link to picture" })
            QTest::newRow(kind) << QString(kind);
    }
    void specialFiles()
    {
        QFETCH(QString, kind);
        const bool opens = kind == QLatin1String("link to picture");
        const QString root = FavoritesStore::defaultRoot(), folder = root + QStringLiteral("AnyOne");
        QDir(root).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        const QString fileName = QString(kind).replace(u' ', u'-') + QStringLiteral(".jpg"),
                      path = folder + u'/' + fileName;
        QVERIFY(kind != "pipe" || ::mkfifo(qPrintable(path), 0600) == 0);
        const QString target = opens ? TestImages::write(dir.path(), "picture", TestImages::pattern(96, 64), "jpeg")
                                     : QStringLiteral("/dev/zero");
        QVERIFY(kind == "pipe" || QFile::link(target, path));

        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        prompts.openFileAnswer = path;
        // The favourites are listed as the main window is made.
        CMainFrame frame(settings, prompts);
        CFavoritesList& favorites = frame.favoritesBar()->list();
        favorites.finishListing();
        // Chosen in the Open dialog, then named on the command line. A pipe that is read
        // hangs the test until its time runs out.
        QVERIFY(frame.dispatch(ID_FILE_OPEN));
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);

        QCOMPARE(favorites.count(), opens ? 1 : 0);
        QVERIFY(!opens || !favorites.record(0)->thumbnail.isNull());
        QCOMPARE(frame.imagePane().imageDocument().FrameBuffer.image().size(), opens ? QSize(96, 64) : QSize(640, 480));
        const QString refused
            = QStringLiteral("Scopique cannot open \u201C%1\u201D: it is a pipe, socket or device, not a picture file.")
                  .arg(fileName);
        QCOMPARE(prompts.messages, opens ? QStringList() : QStringList(3, refused));
    }

    void hostileSettings()
    {
        QVERIFY(!TestImages::writeBytes(dir.path(), "Scopique.conf",
            "[Tool]\nToolColor=red\nTextColor=99999999999\nTextStyle=nan\nTextShadow=inf\n"
            "FontFace=7\nFontSize=-1\nCircleDisplay=9\nArrowDirection=5\nReticuleSpacing=-inf\n"
            "ScaleBarLength=1e400\nScaleBarThickness=99999999999\n"
            "ReticuleCount=4294967296\n[Histogram]\nSize=0\nShow=1\n[Calibration]\nMagnification=0\n"
            "CalibrationMagnification=abc\nScale=nan\nDistance=inf\nUnits=-7\n[Image\nBorderWidth=20\n"
            "[Favorites]\nFolder=../../etc\nSortField=1e99\n")
                     .isEmpty());
        // What each value reads as is checked where the key is read (tst_settings, tst_tools,
        // tst_histogram); here all of them at once must leave every tool drawable and the window usable.
        SettingsStore settings(iniPath());
        MessageLog log;
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
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QVERIFY(!frame.grab().isNull());
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("name");
        for (const char* name : { "..", "../x", "/etc", "", "a\nb" })
            QTest::newRow(name) << QString(name);
        QTest::newRow("256 bytes") << QString(256, u'n');
        QTest::newRow("lone surrogate") << QString("a") + QChar(0xD800) + "b";
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
        QCOMPARE(TestImages::entries(root), QStringList { "AnyOne" });
        QCOMPARE(TestImages::entries(root + QStringLiteral("/AnyOne")), QStringList());
    }
};

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
