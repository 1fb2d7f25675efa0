// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <csignal>
#include <optional>

#include <sys/resource.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "core/output/ImageSaver.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "core/video/ImageTags.h"
#include "ui/video/CImagePane.h"

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

namespace {

// The main window as the image pane sees it: answers the favourites
// folder and keeps the paths it is told of.
class FrameStandIn : public AppMessageSink {
public:
    QString folder;
    QStringList added;

    qintptr send(AppMessage message, qintptr wParam, qintptr) override
    {
        if (message == WM_APP_GET_FAVORITES_FOLDER)
            return folder.isNull() ? 0 : textArg(folder);
        if (message == WM_APP_FAVORITE_ADDED)
            added << textOf(wParam);
        return 0;
    }
};

// Sixteen flat colours in small blocks: every format keeps them exactly,
// GIF's 256 colours included.
QImage blocks(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int i = (x / 7 + (y / 5) * 3) % 16;
            image.setPixel(x, y, qRgb(i * 17, 255 - i * 13, i * 85 % 256));
        }
    return image;
}

// The format by its first bytes, read by nothing that wrote it.
QByteArray formatByMagic(const QByteArray& bytes)
{
    const std::pair<const char*, const char*> magics[] = { { "\xFF\xD8\xFF", "jpeg" }, { "\x89PNG\r\n", "png" },
        { "GIF8", "gif" }, { "BM", "bmp" }, { "II*", "tiff" }, { "MM", "tiff" } };
    for (const auto& [magic, name] : magics) {
        if (bytes.startsWith(magic))
            return name;
    }
    return "unknown";
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The output of a checking tool that install-deps provides, or a null
// string when it is not installed: the check is then left out.
QString runTool(const QString& name, const QStringList& arguments, int& exitCode)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty())
        return QString();
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Software, Make and ImageDescription as ExifTool reads them, a tool that
// shares no code with the program; null texts without ExifTool.
QStringList exifToolTags(const QString& path)
{
    int exitCode = 0;
    const QString json = runTool(QStringLiteral("exiftool"),
        { QStringLiteral("-json"), QStringLiteral("-Software"), QStringLiteral("-Make"),
            QStringLiteral("-ImageDescription"), path },
        exitCode);
    if (json.isNull())
        return {};
    const QJsonObject tags = QJsonDocument::fromJson(json.toUtf8()).array().at(0).toObject();
    QStringList texts;
    for (const char* key : { "Software", "Make", "ImageDescription" })
        texts << (tags.contains(QLatin1String(key)) ? tags.value(QLatin1String(key)).toVariant().toString()
                                                    : QString());
    return texts;
}

// pngcheck's verdict on a file: structure, chunk CRCs and the zlib stream.
bool pngcheckAccepts(const QString& path)
{
    int exitCode = 0;
    const QString report = runTool(QStringLiteral("pngcheck"), { path }, exitCode);
    return report.isNull() || (exitCode == 0 && report.startsWith(QLatin1String("OK:")));
}

QStringList entries(const QString& folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

} // namespace

class TestSaving : public QObject {
    Q_OBJECT

private:
    // A fresh folder for one test's files.
    QString folder(const QString& name)
    {
        const QString path = dir.filePath(name);
        QDir(path).removeRecursively();
        QDir().mkpath(path);
        return path;
    }

    // An image pane showing `picture` inside `border`, with a placed black
    // Line from (10, 10) to (50, 10) when asked.
    struct Scene {
        Scene(const QString& ini, const QImage& picture, int border, bool withLine = false)
            : settings(ini)
            , pane(settings, prompts, frame)
        {
            video().AllocateFrameBuffer(picture.width(), picture.height());
            video().FrameBuffer.image() = picture;
            video().SetBorderWidth(border);
            if (withLine) {
                video().SetActiveTool(ToolFactory::create(KindLine, settings, frame));
                video().activeTool()->Press(QPoint(10, 10));
                video().activeTool()->Drag(QPoint(50, 10), false);
                video().activeTool()->Release();
            }
        }
        ImageDocument& video() { return pane.imageDocument(); }
        SettingsStore settings;
        ScriptedPrompts prompts;
        FrameStandIn frame;
        CImagePane pane;
    };

    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;

private slots:
    // Writes past a file-size limit stop short instead of ending the process.
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }
    void init() { QFile::remove(iniPath()); }

    void extensionChoosesTheFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<OptionalText>("description");
        const OptionalText none, empty(QStringLiteral("")),
            text(QStringLiteral("Zwiebelhaut, 400\u00D7 \u2013 \u00B5m\nZeile 2"));
        QTest::newRow(".jpg") << "a.jpg" << QByteArray("jpeg") << text;
        QTest::newRow(".jpeg") << "a.jpeg" << QByteArray("jpeg") << empty;
        QTest::newRow(".JPG") << "A.JPG" << QByteArray("jpeg") << none;
        QTest::newRow(".png") << "a.png" << QByteArray("png") << text;
        QTest::newRow(".PNG") << "a.PNG" << QByteArray("png") << empty;
        QTest::newRow(".Png") << "a.Png" << QByteArray("png") << none;
        QTest::newRow(".png.jpg") << "a.png.jpg" << QByteArray("jpeg") << none;
        QTest::newRow(".pngx") << "a.pngx" << QByteArray("bmp") << none;
        QTest::newRow("apng") << "apng" << QByteArray("bmp") << none;
        QTest::newRow(".tif") << "a.tif" << QByteArray("tiff") << text;
        QTest::newRow(".tiff") << "a.tiff" << QByteArray("tiff") << empty;
        QTest::newRow(".gif") << "a.gif" << QByteArray("gif") << text;
        QTest::newRow(".bmp") << "a.bmp" << QByteArray("bmp") << text;
        QTest::newRow(".jpe") << "a.jpe" << QByteArray("bmp") << none;
        QTest::newRow("no extension") << "picture" << QByteArray("bmp") << none;
    }
    void extensionChoosesTheFormat()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(OptionalText, description);
        Scene scene(iniPath(), blocks(QSize(640, 480)), 20);
        const QString path = QDir(folder(QStringLiteral("formats"))).filePath(name);
        QVERIFY(scene.video().SaveImageFile(path, description));
        QCOMPARE(scene.prompts.messages, QStringList());

        const QByteArray bytes = readAll(path);
        QCOMPARE(formatByMagic(bytes), format);
        QCOMPARE(QImage::fromData(bytes).size(), QSize(680, 520));
        // 24-bit colour without alpha.
        if (format == "bmp")
            QCOMPARE(int(bytes[28]), 24);
        if (format == "png") {
            QCOMPARE(bytes.mid(24, 2), QByteArray("\x08\x02", 2));
            QVERIFY(pngcheckAccepts(path));
        }
        // The lossless formats hold the view as it was composed, pixel for pixel.
        if (format == "png" || format == "bmp" || format == "tiff")
            QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), scene.video().BackBuffer.image());

        const bool tagged = format == "jpeg" || format == "png" || format == "tiff";
        const ImageTags tags = ImageTags::readFile(path);
        QCOMPARE(tags.software, tagged ? OptionalText(QStringLiteral("Scopique")) : OptionalText());
        QCOMPARE(tags.make, tagged ? OptionalText(QStringLiteral("20")) : OptionalText());
        QCOMPARE(tags.description, tagged ? description : OptionalText());
        const QStringList exifTool = exifToolTags(path);
        if (tagged && !exifTool.isEmpty())
            QCOMPARE(exifTool,
                QStringList({ QStringLiteral("Scopique"), QStringLiteral("20"), description.value_or(QString()) }));
    }

    void pngKeepsEveryPixel_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<OptionalText>("description");
        QTest::addColumn<bool>("overLimit");
        const OptionalText none, text(QStringLiteral("Zwiebelhaut \u00B5m\nZeile 2"));
        QTest::newRow("1 x 1") << TestImages::pattern(1, 1) << text << false;
        QTest::newRow("one row") << TestImages::pattern(997, 1) << none << false;
        QTest::newRow("one column") << TestImages::pattern(1, 613) << text << false;
        QTest::newRow("odd width, flat") << blocks(QSize(333, 77)) << none << false;
        // Larger than one band of rows: the bands join into one stream.
        QTest::newRow("odd width, several bands") << TestImages::pattern(2001, 301) << text << false;
        // Gradients, where every branch of the row filter's predictor is taken.
        QTest::newRow("smooth, several bands") << TestImages::pattern(40, 30).scaled(1501, 1201, Qt::IgnoreAspectRatio,
            Qt::SmoothTransformation) << none << false;
        QTest::newRow("file-size limit") << TestImages::pattern(2001, 301) << text << true;
    }
    void pngKeepsEveryPixel()
    {
        QFETCH(QImage, picture);
        QFETCH(OptionalText, description);
        QFETCH(bool, overLimit);
        const QString where = folder(QStringLiteral("png"));
        const QByteArray old = TestImages::encode(TestImages::pattern(64, 48), "png");
        const QString path = TestImages::writeBytes(where, QStringLiteral("picture.png"), old);

        // A file-size limit stops the write short, as a full disk does.
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        if (overLimit)
            limited.rlim_cur = 4096;
        setrlimit(RLIMIT_FSIZE, &limited);
        QString error;
        const bool saved = ImageSaver::save(picture, path, 7, description, error);
        setrlimit(RLIMIT_FSIZE, &previous);

        QCOMPARE(saved, !overLimit);
        QCOMPARE(entries(where), QStringList { "picture.png" });
        const QByteArray bytes = readAll(path);
        if (overLimit) {
            QVERIFY(error.contains(QDir::toNativeSeparators(path)));
            QCOMPARE(bytes, old);
            return;
        }
        QVERIFY(pngcheckAccepts(path));
        QCOMPARE(bytes.mid(24, 2), QByteArray("\x08\x02", 2));
        QCOMPARE(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32), picture);
        const ImageTags tags = ImageTags::readFile(path);
        QCOMPARE(tags.software, OptionalText(QStringLiteral("Scopique")));
        QCOMPARE(tags.make, OptionalText(QStringLiteral("7")));
        QCOMPARE(tags.description, description);
        const QStringList exifTool = exifToolTags(path);
        if (!exifTool.isEmpty())
            QCOMPARE(exifTool,
                QStringList({ QStringLiteral("Scopique"), QStringLiteral("7"), description.value_or(QString()) }));
    }

    void savedPictureReopensWithoutItsBorder_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("border");
        // Sizes that no width rule knows: only the tag tells the border.
        QTest::newRow("png, tagged 19") << "png" << QSize(300, 200) << 19;
        QTest::newRow("tif, tagged 1") << "tif" << QSize(300, 200) << 1;
        QTest::newRow("png, no border") << "png" << QSize(640, 480) << 0;
        QTest::newRow("bmp, 20 by width") << "bmp" << QSize(640, 480) << 20;
        QTest::newRow("gif, 1 by width") << "gif" << QSize(640, 480) << 1;
    }
    void savedPictureReopensWithoutItsBorder()
    {
        QFETCH(QString, extension);
        QFETCH(QSize, size);
        QFETCH(int, border);
        const QImage picture = blocks(size);
        Scene scene(iniPath(), picture, border);
        const QString path = QDir(folder(QStringLiteral("roundtrip"))).filePath(QStringLiteral("saved.") + extension);
        QVERIFY(scene.video().SaveImageFile(path));

        Scene reopened(dir.filePath(QStringLiteral("other.conf")), blocks(QSize(10, 10)), 7);
        QVERIFY(reopened.video().LoadImageFile(path));
        QCOMPARE(reopened.video().BorderWidth, border);
        QCOMPARE(reopened.video().FrameBuffer.image().convertToFormat(QImage::Format_RGB32), picture);
    }

    void savingTwiceBurnsAtTheSamePlace()
    {
        QImage white(640, 480, QImage::Format_RGB32);
        white.fill(Qt::white);
        Scene scene(iniPath(), white, 20, true);
        QImage saved[2];
        for (QImage& image : saved) {
            const QString path = QDir(folder(QStringLiteral("twice"))).filePath(QStringLiteral("saved.png"));
            QVERIFY(scene.video().SaveImageFile(path));
            QVERIFY(scene.video().activeTool()->placed);
            image = QImage(path);
        }
        QCOMPARE(saved[1], saved[0]);
        // The line is in the file, without its handles.
        QCOMPARE(saved[0].pixel(20 + 30, 20 + 10), qRgb(0, 0, 0));
        QCOMPARE(saved[0].pixel(20 + 30, 20 + 60), qRgb(255, 255, 255));
        QCOMPARE(scene.video().FrameBuffer.image().pixel(30, 10), qRgb(0, 0, 0));
    }

    void addToFavorites_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("how");
        QTest::newRow("offered name") << QString() << true << "";
        QTest::newRow("own name") << "Onion cells" << true << "";
        QTest::newRow("251 bytes") << QString(251, u'x') << true << "";
        QTest::newRow("cancelled") << "Onion" << false << "cancel";
        QTest::newRow("no folder") << "Onion" << false << "no folder";
        QTest::newRow("file-size limit") << "old" << false << "limit";
        QTest::newRow("parent is a file") << "new" << false << "parent is a file";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("..") << ".." << false << "";
        QTest::newRow("slash") << "../escape" << false << "";
        QTest::newRow("backslash") << "a\\b" << false << "";
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << false << "";
        QTest::newRow("252 bytes") << QString(252, u'x') << false << "";
        QTest::newRow("250 two-byte letters") << QString(250, QChar(0x00E9)) << false << "";
    }
    void addToFavorites()
    {
        QFETCH(QString, name);
        QFETCH(bool, written);
        QFETCH(QString, how);
        const QString root = folder(QStringLiteral("favorites"));
        const QString current = QDir(root).filePath(QStringLiteral("AnyOne"));
        QDir().mkpath(current);
        const QByteArray old = TestImages::encode(TestImages::pattern(64, 48), "jpeg");
        const QString oldPath = TestImages::writeBytes(current, QStringLiteral("old.jpg"), old);
        Scene scene(iniPath(), blocks(QSize(640, 480)), 20, true);
        scene.frame.folder = how == QLatin1String("no folder") ? QString()
            : how == QLatin1String("parent is a file")         ? oldPath
                                                               : current;
        scene.prompts.addFavoriteAccept = how != QLatin1String("cancel");
        scene.prompts.addFavoriteName = name;
        scene.prompts.addFavoriteDescription = QStringLiteral("Epidermis\n400\u00D7");

        // A file-size limit stops a write short, as a full disk does.
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        if (how == QLatin1String("limit"))
            limited.rlim_cur = 1024;
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool handled = scene.pane.onCommand(ID_FAVORITES_ADD);
        setrlimit(RLIMIT_FSIZE, &previous);
        QVERIFY(handled);

        QCOMPARE(scene.prompts.addFavoriteFolderSeen, scene.frame.folder);
        const QString fileName = (name.isNull() ? scene.prompts.addFavoriteDefaultNameSeen : name) + ".jpg";
        const QString path = QDir(current).filePath(fileName);
        QCOMPARE(readAll(oldPath), old);
        QCOMPARE(entries(root), QStringList { "AnyOne" });
        QStringList files { "old.jpg" };
        if (written)
            files << fileName;
        files.sort();
        QCOMPARE(entries(current), files);
        QCOMPARE(scene.frame.added, written ? QStringList { path } : QStringList());
        QCOMPARE(scene.prompts.messages.size(), written || how == QLatin1String("cancel") ? 0 : 1);
        // Burnt for a file that could not be written, the tool is not shown again.
        QCOMPARE(scene.video().activeTool()->placed,
            how != QLatin1String("limit") && how != QLatin1String("parent is a file"));
        if (written) {
            QCOMPARE(formatByMagic(readAll(path)), QByteArray("jpeg"));
            QCOMPARE(ImageTags::readFile(path).description, OptionalText(scene.prompts.addFavoriteDescription));
            const QRegularExpression timestamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"));
            QVERIFY(timestamp.match(scene.prompts.addFavoriteDefaultNameSeen).hasMatch());
        }
    }
};

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
