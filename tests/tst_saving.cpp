// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <csignal>

#include <sys/resource.h>

#include <QImageReader>

#include "DataRows.h"
#include "PaneScene.h"
#include "TestImages.h"
#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

using TestImages::entries;
using TestImages::readAll;

namespace {

// The main window as the image pane sees it: answers the favourites
// folder and keeps the paths it is told of.
struct FrameStandIn : AppMessageSink {
    QString folder;
    QStringList added;
    qintptr send(AppMessage message, qintptr wParam, qintptr) override
    {
        if (message == WM_APP_FAVORITE_ADDED)
            added << textOf(wParam);
        return message == WM_APP_GET_FAVORITES_FOLDER && !folder.isNull() ? textArg(folder) : 0;
    }
};

// Sixteen flat colours in small blocks: every format keeps them exactly,
// GIF's 256 colours included.
QImage blocks(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int p = 0; p < w * h; ++p) {
        const int i = (p % w / 7 + p / w / 5 * 3) % 16;
        image.setPixel(p % w, p / w, qRgb(i * 17, 255 - i * 13, i * 85 % 256));
    }
    return image;
}

// A file-size limit stops a write short, as a full disk does.
template <typename Write> auto underLimit(rlim_t bytes, Write write)
{
    rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit limited { bytes ? bytes : previous.rlim_cur, previous.rlim_max };
    setrlimit(RLIMIT_FSIZE, &limited);
    const auto result = write();
    setrlimit(RLIMIT_FSIZE, &previous);
    return result;
}

} // namespace

class TestSaving : public QObject {
    Q_OBJECT

    // A fresh folder for one test's files.
    QString folder(const QString& name)
    {
        const QString path = dir.filePath(name);
        QDir(path).removeRecursively();
        QDir().mkpath(path);
        return path;
    }

    using Scene = PaneScene<FrameStandIn>;

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;
    // Software, Make and ImageDescription of each tagged file, for ExifTool to confirm.
    QMap<QString, QStringList> exif;

private slots:
    // Writes past a file-size limit stop short instead of ending the process.
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }
    void init() { QFile::remove(iniPath()); }

    // ExifTool, a tool that shares no code with the program, reads the tags
    // of every tagged file saved here at once (it is left out where missing).
    void cleanupTestCase()
    {
        QProcess exifTool;
        exifTool.start("exiftool", QStringList { "-json", "-Software", "-Make", "-ImageDescription" } + exif.keys());
        if (!exifTool.waitForFinished(60000))
            QSKIP("ExifTool is not installed");
        QMap<QString, QStringList> read;
        for (const QJsonValue file : QJsonDocument::fromJson(exifTool.readAllStandardOutput()).array())
            for (const char* key : { "Software", "Make", "ImageDescription" })
                read[file["SourceFile"].toString()] << file[QLatin1String(key)].toVariant().toString();
        QCOMPARE(read, exif);
    }

    // Saved under the row's name over an older file. An empty format: a
    // file-size limit stops the write.
    void savedFile_data()
    {
        columns<QImage, int, OptionalText, QByteArray>("picture", "border", "description", "format");
        const OptionalText none, empty(""), text("Zwiebelhaut, 400\u00D7 \u2013 \u00B5m\nZeile 2"),
            tooLong(QString(70000, u'x'));
        // Sizes that no width rule knows: only the tag tells the border.
        const QImage tagged = blocks(300, 200), small = blocks(64, 48), vga = blocks(640, 50);
        const auto row
            = [](const char* name, const QImage& picture, int border, OptionalText description, const char* format) {
                  QTest::newRow(name) << picture << border << description << QByteArray(format);
              };
        row("a.jpg", tagged, 19, text, "jpeg");
        row("a.jpeg", tagged, 0, empty, "jpeg");
        row("A.JPG", tagged, 20, none, "jpeg");
        row("a.png", tagged, 19, text, "png");
        row("a.Png", tagged, 7, empty, "png");
        row("a.png.jpg", tagged, 1, none, "jpeg");
        row("a.pngx", small, 0, none, "bmp");
        row("apng", small, 0, none, "bmp");
        row("a.tif", tagged, 1, text, "tiff");
        row("a.tiff", tagged, 20, empty, "tiff");
        // These reopen with their border by the width rule.
        row("a.gif", vga, 1, text, "gif");
        row("a.bmp", vga, 20, text, "bmp");
        row("a.jpe", small, 0, none, "bmp");
        // A description too long for the tag block of JPEG or PNG (64 kB) is left out; the border tag stays.
        row("long.jpg", tagged, 20, tooLong, "jpeg");
        row("long.png", tagged, 20, tooLong, "png");
        row("long.tif", tagged, 20, tooLong, "tiff");
        // Our PNG encoder, on odd shapes and on more rows than one band holds (the bands join into one stream).
        row("1 x 1.png", TestImages::pattern(1, 1), 0, text, "png");
        row("one row.png", TestImages::pattern(997, 1), 0, none, "png");
        row("one column.png", TestImages::pattern(1, 613), 0, text, "png");
        row("odd width, flat.png", blocks(333, 77), 0, none, "png");
        row("several bands.png", TestImages::pattern(2001, 301), 0, text, "png");
        // Gradients, where every branch of the row filter's predictor is taken.
        row("smooth, several bands.png",
            TestImages::pattern(40, 30).scaled(1501, 301, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 0, none,
            "png");
        row("file-size limit.png", TestImages::pattern(2001, 301), 0, text, "");
    }
    void savedFile()
    {
        const auto [picture, border, description, format]
            = fetch<QImage, int, OptionalText, QByteArray>("picture", "border", "description", "format");
        const QString name = QTest::currentDataTag(), where = folder(name);
        const QString path = TestImages::writeBytes(where, name, "the old file\n");
        Scene scene(iniPath(), picture, border);
        const bool saved = underLimit(
            format.isEmpty() ? 4096 : 0, [&, text = description] { return scene.doc().SaveImageFile(path, text); });
        QCOMPARE(saved, !format.isEmpty());
        QCOMPARE(entries(where), QStringList { name });
        const QByteArray bytes = readAll(path);
        if (!saved) {
            QCOMPARE(bytes, QByteArray("the old file\n"));
            QVERIFY2(scene.prompts.messages.size() == 1 && scene.prompts.messages[0].contains(path), qPrintable(path));
            return;
        }
        QCOMPARE(scene.prompts.messages, QStringList());
        // The format by its content, as Qt's readers tell it (a name's suffix is only their first guess).
        QCOMPARE(QImageReader::imageFormat(path), format);
        QCOMPARE(QImage::fromData(bytes).size(), picture.size() + 2 * QSize(border, border));
        // 24-bit colour without alpha; pngcheck confirms the chunks and the zlib stream.
        QVERIFY(format != "bmp" || bytes[28] == 24);
        QVERIFY(
            format != "png" || (bytes.mid(24, 2) == "\x08\x02" && QProcess::execute("pngcheck", { "-q", path }) <= 0));
        // The lossless formats hold the view as it was composed, pixel for pixel.
        const bool lossless = format != "jpeg", hasTags = format == "jpeg" || format == "png" || format == "tiff";
        if (lossless)
            QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), scene.doc().BackBuffer.image());
        const OptionalText kept
            = description && description->size() > 65535 && format != "tiff" ? OptionalText() : description;
        const ImageTags tags = ImageTags::readFile(path);
        QCOMPARE(tags.software, hasTags ? OptionalText("Scopique") : OptionalText());
        QCOMPARE(tags.make, hasTags ? OptionalText(QString::number(border)) : OptionalText());
        QCOMPARE(tags.description, hasTags ? kept : OptionalText());
        // Other readers expect each TIFF text to end in a NUL: the Make entry (ASCII) holds the digits and "\0".
        const QByteArray make = QByteArray::number(border) + '\0';
        QVERIFY(format != "tiff"
            || bytes.contains("\x0f\x01\x02" + QByteArray(1, 0) + char(make.size()) + QByteArray(3, 0) + make));
        if (hasTags)
            exif[path] = QStringList { "Scopique", QString::number(border), kept.value_or(QString()) };

        // Reopened, the picture comes back without its border.
        Scene reopened(dir.filePath(QStringLiteral("other.conf")), blocks(10, 10), 7);
        QVERIFY(reopened.doc().LoadImageFile(path));
        QCOMPARE(reopened.doc().BorderWidth, border);
        if (lossless)
            QCOMPARE(reopened.doc().FrameBuffer.image().convertToFormat(QImage::Format_RGB32), picture);
    }

    void savingTwiceBurnsAtTheSamePlace()
    {
        Scene scene(iniPath(), blocks(100, 80), 20, true);
        const QString path = folder(QStringLiteral("twice")) + QStringLiteral("/saved.png");
        QVERIFY(scene.doc().SaveImageFile(path) && scene.doc().activeTool()->placed);
        const QImage saved(path);
        QVERIFY(scene.doc().SaveImageFile(path) && scene.doc().activeTool()->placed);
        QCOMPARE(QImage(path), saved);
        // The line is in the file, without its handles.
        QCOMPARE(saved.pixel(20 + 30, 20 + 10), qRgb(0, 0, 0));
        QCOMPARE(saved.pixel(20 + 30, 20 + 60), blocks(100, 80).pixel(30, 60));
        QCOMPARE(scene.doc().FrameBuffer.image().pixel(30, 10), qRgb(0, 0, 0));
    }

    void addToFavorites_data()
    {
        columns<QString, bool, QString>("name", "written", "how");
        QTest::newRow("offered name") << QString() << true << "";
        QTest::newRow("251 bytes") << QString(251, u'x') << true << "";
        QTest::newRow("cancelled") << "Onion" << false << "cancel";
        QTest::newRow("no folder") << "Onion" << false << "no folder";
        // A picture smaller than a write buffer: the cut comes only as the file is completed.
        QTest::newRow("file-size limit") << "old" << false << "limit";
        QTest::newRow("parent is a file") << "new" << false << "parent is a file";
        QTest::newRow("backslash") << "a\\b" << false << "";
        QTest::newRow("252 bytes") << QString(252, u'x') << false << "";
        QTest::newRow("250 two-byte letters") << QString(250, QChar(0x00E9)) << false << "";
    }
    void addToFavorites()
    {
        const auto [name, written, how] = fetch<QString, bool, QString>("name", "written", "how");
        const QString root = folder(QStringLiteral("favorites")), current = root + QStringLiteral("/AnyOne");
        QDir().mkpath(current);
        const QString oldPath = TestImages::writeBytes(current, QStringLiteral("old.jpg"), "old");
        Scene scene(iniPath(), blocks(104, 88), 20, true);
        scene.sink.folder = how == "no folder" ? QString() : how == "parent is a file" ? oldPath : current;
        scene.prompts.addFavoriteAccept = how != "cancel";
        scene.prompts.addFavoriteName = name;
        scene.prompts.addFavoriteDescription = QStringLiteral("Epidermis\n400\u00D7");
        QVERIFY(underLimit(how == "limit" ? 1024 : 0, [&] { return scene.pane.onCommand(ID_FAVORITES_ADD); }));

        QCOMPARE(scene.prompts.addFavoriteFolderSeen, scene.sink.folder);
        const QString path
            = current + u'/' + (name.isNull() ? scene.prompts.addFavoriteDefaultNameSeen : name) + ".jpg";
        QCOMPARE(readAll(oldPath), QByteArray("old"));
        QCOMPARE(entries(root), QStringList { "AnyOne" });
        QCOMPARE(entries(current).size(), written ? 2 : 1);
        QCOMPARE(scene.sink.added, written ? QStringList { path } : QStringList());
        QCOMPARE(scene.prompts.messages.size(), written || how == "cancel" ? 0 : 1);
        // Burnt for a file that could not be written, the tool is not shown again.
        QCOMPARE(scene.doc().activeTool()->placed, how != "limit" && how != "parent is a file");
        if (written) {
            QCOMPARE(QImageReader::imageFormat(path), QByteArray("jpeg"));
            QCOMPARE(ImageTags::readFile(path).description, OptionalText(scene.prompts.addFavoriteDescription));
            // The offered name is the time, year to second.
            QVERIFY(
                QRegularExpression("^\\d{4}(-\\d\\d){5}$").match(scene.prompts.addFavoriteDefaultNameSeen).hasMatch());
        }
    }
};

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
