// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <csignal>
#include <optional>

#include <sys/resource.h>
#include <unistd.h>

#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "app/AppMessageSink.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "favorites/CAddFavoriteDlg.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/CImagePane.h"
#include "video/CVideoWnd.h"
#include "video/ImageTags.h"

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

// Files larger than `bytes` cannot be written while it lives, as on a full
// disk: write() stops short instead of the process being killed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limit = previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

private:
    rlimit previous {};
    void (*previousHandler)(int) = nullptr;
};

// Sixteen flat colours in small blocks: every format keeps them exactly,
// GIF's 256 colours included.
QImage blocks(int w, int h)
{
    static const QRgb colours[] = {0xff102030, 0xffe0d0c0, 0xff00ff00, 0xffff0000, 0xff0000ff, 0xff808000,
                                   0xff008080, 0xff800080, 0xff404040, 0xffc0c0c0, 0xffffff00, 0xff00ffff,
                                   0xffff00ff, 0xff203040, 0xff604020, 0xff206040};
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, colours[(x / 7 + (y / 5) * 3) % 16]);
    return image;
}

// Gentle gradients, which a JPEG keeps within a few levels.
QImage gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(40 + x * 160 / w, 60 + y * 140 / h, 200 - (x + y) * 120 / (w + h)));
    return image;
}

// The format by its first bytes, read by nothing that wrote it.
QByteArray formatByMagic(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    if (bytes.startsWith(QByteArray("II*\0", 4)) || bytes.startsWith(QByteArray("MM\0*", 4)))
        return "tiff";
    return "unknown";
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Largest difference of a channel between two pictures of one size,
// `margin` pixels from their edges inwards.
int largestDifference(const QImage& a, const QImage& b, int margin = 0)
{
    int largest = 0;
    for (int y = margin; y < a.height() - margin; ++y)
        for (int x = margin; x < a.width() - margin; ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = qMax(largest, qMax(qAbs(qRed(p) - qRed(q)), qMax(qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q)))));
        }
    return largest;
}

} // namespace

class TestSaving : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    // A fresh folder for one test's files.
    QString folder(const QString& name)
    {
        const QString path = dir.filePath(name);
        QDir(path).removeRecursively();
        QDir().mkpath(path);
        return path;
    }

    // A Video Window holding `picture` (opened from a plain PNG) inside `border`.
    struct View {
        View(const QString& ini, const QString& scratch, const QImage& picture, int border)
            : settings(ini)
            , video(settings, prompts, frame)
        {
            const QString source = TestImages::write(scratch, QStringLiteral("source.png"), picture);
            QVERIFY(video.LoadImageFile(source));
            QFile::remove(source);
            video.SetBorderWidth(border);
        }
        // A black Line from (10, 10) to (50, 10), placed.
        void placeLine()
        {
            video.SetActiveTool(ToolFactory::create(KindLine, settings, frame));
            video.activeTool->Press(QPoint(10, 10));
            video.activeTool->Drag(QPoint(50, 10), false);
            video.activeTool->current = -1;
            QVERIFY(video.activeTool->placed);
        }
        SettingsStore settings;
        ScriptedPrompts prompts;
        FrameStandIn frame;
        CVideoWnd video;
    };

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir.isValid());
    }
    void init() { QFile::remove(iniPath()); }

    void extensionChoosesTheFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow(".jpg") << "a.jpg" << QByteArray("jpeg");
        QTest::newRow(".jpeg") << "a.jpeg" << QByteArray("jpeg");
        QTest::newRow(".JPG") << "A.JPG" << QByteArray("jpeg");
        QTest::newRow(".tif") << "a.tif" << QByteArray("tiff");
        QTest::newRow(".tiff") << "a.tiff" << QByteArray("tiff");
        QTest::newRow(".TIF") << "a.TIF" << QByteArray("tiff");
        QTest::newRow(".png") << "a.png" << QByteArray("png");
        QTest::newRow(".gif") << "a.gif" << QByteArray("gif");
        QTest::newRow(".bmp") << "a.bmp" << QByteArray("bmp");
        QTest::newRow(".jpe") << "a.jpe" << QByteArray("bmp");
        QTest::newRow("no extension") << "picture" << QByteArray("bmp");
    }
    void extensionChoosesTheFormat()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        const QString out = folder(QStringLiteral("formats"));
        View view(iniPath(), out, blocks(640, 480), 20);
        const QString path = QDir(out).filePath(name);
        QVERIFY(view.video.SaveImageFile(path));
        QCOMPARE(view.prompts.messages, QStringList());

        const QByteArray bytes = readAll(path);
        QCOMPARE(formatByMagic(bytes), format);
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), format);
        QCOMPARE(reader.size(), QSize(680, 520));

        // 24-bit colour without alpha.
        if (format == "bmp")
            QCOMPARE(quint8(bytes[28]) | quint8(bytes[29]) << 8, 24);
        if (format == "png")
            QCOMPARE(bytes.mid(24, 2), QByteArray("\x08\x02", 2));
        if (format == "jpeg" || format == "tiff")
            QCOMPARE(reader.imageFormat(), QImage::Format_RGB32);

        const ImageTags tags = ImageTags::readFile(path);
        const bool tagged = format == "jpeg" || format == "png" || format == "tiff";
        QCOMPARE(tags.software, tagged ? OptionalText(QStringLiteral("Scopique")) : OptionalText());
        QCOMPARE(tags.make, tagged ? OptionalText(QStringLiteral("20")) : OptionalText());
        // Save passes no description.
        QCOMPARE(tags.description, OptionalText());
    }

    void savedPictureReopensWithoutItsBorder_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("border");
        QTest::addColumn<int>("tolerance");
        for (const char* extension : {"png", "tif", "bmp", "gif", "jpg"}) {
            for (const int border : {0, 1, 19, 20})
                QTest::addRow("%s, border %d", extension, border)
                    << QString::fromLatin1(extension) << border << (qstrcmp(extension, "jpg") == 0 ? 16 : 0);
        }
    }
    void savedPictureReopensWithoutItsBorder()
    {
        QFETCH(QString, extension);
        QFETCH(int, border);
        QFETCH(int, tolerance);
        const QString out = folder(QStringLiteral("roundtrip"));
        const QImage picture = tolerance == 0 ? blocks(640, 480) : gradient(640, 480);
        View view(iniPath(), out, picture, border);
        const QString path = QDir(out).filePath(QStringLiteral("saved.") + extension);
        QVERIFY(view.video.SaveImageFile(path));
        QCOMPARE(QImageReader(path).size(), QSize(640 + 2 * border, 480 + 2 * border));
        if (extension != QLatin1String("bmp") && extension != QLatin1String("gif"))
            QCOMPARE(ImageTags::readFile(path).make, OptionalText(QString::number(border)));

        SettingsStore settings(dir.filePath(QStringLiteral("other.conf")));
        ScriptedPrompts prompts;
        FrameStandIn frame;
        CVideoWnd reopened(settings, prompts, frame);
        reopened.SetBorderWidth(7);
        QVERIFY(reopened.LoadImageFile(path));
        QCOMPARE(reopened.BorderWidth, border);
        const QImage inner = reopened.FrameBuffer.image().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(inner.size(), picture.size());
        if (tolerance == 0) {
            QCOMPARE(inner, picture);
        } else {
            // The border band's hard edges ring a few pixels into a JPEG.
            const int difference = largestDifference(inner, picture, 8);
            QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
        }
    }

    void descriptionIsTagged_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<OptionalText>("description");
        for (const char* extension : {"jpg", "png", "tif"}) {
            QTest::addRow("%s without", extension) << QString::fromLatin1(extension) << OptionalText();
            QTest::addRow("%s empty", extension) << QString::fromLatin1(extension) << OptionalText(QString(""));
            QTest::addRow("%s text", extension)
                << QString::fromLatin1(extension) << OptionalText(QStringLiteral("Zwiebelhaut, 400\u00D7 \u2013 \u00B5m\nZeile 2"));
        }
    }
    void descriptionIsTagged()
    {
        QFETCH(QString, extension);
        QFETCH(OptionalText, description);
        const QString out = folder(QStringLiteral("tags"));
        View view(iniPath(), out, blocks(640, 480), 0);
        const QString path = QDir(out).filePath(QStringLiteral("tagged.") + extension);
        QVERIFY(view.video.SaveImageFile(path, description));
        const ImageTags tags = ImageTags::readFile(path);
        QCOMPARE(tags.software, OptionalText(QStringLiteral("Scopique")));
        QCOMPARE(tags.make, OptionalText(QStringLiteral("0")));
        QCOMPARE(tags.description, description);
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("disk full") << "full";
        QTest::newRow("folder is a file") << "not a folder";
        QTest::newRow("folder in the way") << "folder in the way";
        QTest::newRow("read-only folder") << "read-only";
    }
    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, how);
        const QString out = folder(QStringLiteral("failing"));
        View view(iniPath(), out, blocks(640, 480), 20);
        view.placeLine();
        const QByteArray old = TestImages::encode(TestImages::pattern(64, 48), "jpeg");
        QString path = QDir(out).filePath(QStringLiteral("old.jpg"));
        QVERIFY(!TestImages::writeBytes(out, QStringLiteral("old.jpg"), old).isEmpty());

        std::optional<FileSizeLimit> limit;
        if (how == QLatin1String("full")) {
            limit.emplace(old.size() + 4096);
        } else if (how == QLatin1String("not a folder")) {
            path = QDir(out).filePath(QStringLiteral("old.jpg/new.jpg"));
        } else if (how == QLatin1String("folder in the way")) {
            path = QDir(out).filePath(QStringLiteral("sub.jpg"));
            QVERIFY(QDir().mkpath(QDir(path).filePath(QStringLiteral("inside"))));
        } else {
            if (geteuid() == 0)
                QSKIP("permissions do not stop the superuser");
            QVERIFY(QFile::setPermissions(out, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QStringList before = entries(out);
        const bool saved = view.video.SaveImageFile(path);
        limit.reset();
        QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(!saved);
        QCOMPARE(readAll(QDir(out).filePath(QStringLiteral("old.jpg"))), old);
        QCOMPARE(entries(out), before);
        if (how == QLatin1String("folder in the way"))
            QCOMPARE(entries(path), QStringList {"inside"});
        QCOMPARE(view.prompts.messages.size(), 1);
        QVERIFY2(view.prompts.messages[0].contains(QFileInfo(path).fileName()), qPrintable(view.prompts.messages[0]));
        // The tool went into the picture but is not shown again.
        QVERIFY(!view.video.activeTool->placed);
        QCOMPARE(view.video.FrameBuffer.image().pixel(30, 10), qRgb(0, 0, 0));
    }

    void savingTwiceBurnsAtTheSamePlace()
    {
        const QString out = folder(QStringLiteral("twice"));
        QImage white(640, 480, QImage::Format_RGB32);
        white.fill(Qt::white);
        View view(iniPath(), out, white, 20);
        view.placeLine();
        const QString first = QDir(out).filePath(QStringLiteral("first.png"));
        const QString second = QDir(out).filePath(QStringLiteral("second.png"));
        QVERIFY(view.video.SaveImageFile(first));
        QVERIFY(view.video.activeTool->placed);
        QVERIFY(view.video.SaveImageFile(second));
        QVERIFY(view.video.activeTool->placed);

        const QImage a(first), b(second);
        QCOMPARE(a.size(), QSize(680, 520));
        QCOMPARE(a, b);
        // The line is in the file, without its handles.
        QCOMPARE(a.pixel(20 + 30, 20 + 10), qRgb(0, 0, 0));
        QCOMPARE(a.pixel(20 + 30, 20 + 60), qRgb(255, 255, 255));
        QCOMPARE(view.video.FrameBuffer.image().pixel(30, 10), qRgb(0, 0, 0));
    }

    void saveCommandAsksForTheFile_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("file chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void saveCommandAsksForTheFile()
    {
        QFETCH(bool, chosen);
        const QString out = folder(QStringLiteral("command"));
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        FrameStandIn frame;
        CImagePane pane(settings, prompts, frame);
        CVideoWnd& video = pane.videoWnd();
        video.FrameBuffer.image().fill(Qt::white);
        video.SetActiveTool(ToolFactory::create(KindLine, settings, frame));
        video.activeTool->Press(QPoint(10, 10));
        video.activeTool->Drag(QPoint(50, 10), false);
        const QString path = QDir(out).filePath(QStringLiteral("chosen.jpg"));
        prompts.saveFileAnswer = chosen ? path : QString();

        CommandState state;
        QVERIFY(pane.updateCommand(ID_FILE_SAVE, state) && state.enabled);
        QVERIFY(pane.onCommand(ID_FILE_SAVE));
        QCOMPARE(prompts.asked, QStringList {"saveAs"});
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"))
                    .match(prompts.saveDefaultNameSeen)
                    .hasMatch());
        QVERIFY(prompts.saveFilterSeen.startsWith(QStringLiteral("jpg (*.jpg)")));
        QCOMPARE(QFileInfo::exists(path), chosen);
        // Cancelling burns nothing.
        QCOMPARE(video.FrameBuffer.image().pixel(30, 10) == qRgb(0, 0, 0), chosen);
        QVERIFY(video.activeTool->placed);
        QCOMPARE(prompts.messages, QStringList());
    }

    void addToFavoritesWritesIntoTheFolder_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("written");
        const QString longName(250, QChar(0x00E9));
        QTest::newRow("offered name") << true << QString() << QString("") << true;
        QTest::newRow("own name") << true << "Onion cells" << "Epidermis\n400\u00D7" << true;
        QTest::newRow("251 bytes") << true << QString(251, u'x') << QString("") << true;
        QTest::newRow("cancelled") << false << "Onion" << QString("") << false;
        QTest::newRow("empty") << true << QString("") << QString("") << false;
        QTest::newRow(".") << true << "." << QString("") << false;
        QTest::newRow("..") << true << ".." << QString("") << false;
        QTest::newRow("slash") << true << "../escape" << QString("") << false;
        QTest::newRow("backslash") << true << "a\\b" << QString("") << false;
        QTest::newRow("NUL") << true << QString("a") + QChar(0) + "b" << QString("") << false;
        QTest::newRow("line break") << true << "a\nb" << QString("") << false;
        QTest::newRow("252 bytes") << true << QString(252, u'x') << QString("") << false;
        QTest::newRow("500 bytes") << true << longName << QString("") << false;
    }
    void addToFavoritesWritesIntoTheFolder()
    {
        QFETCH(bool, accept);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(bool, written);
        const QString root = folder(QStringLiteral("favorites"));
        const QString current = QDir(root).filePath(QStringLiteral("AnyOne"));
        QDir().mkpath(current);
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        FrameStandIn frame;
        frame.folder = current;
        CImagePane pane(settings, prompts, frame);
        pane.videoWnd().FrameBuffer.image().fill(Qt::white);
        prompts.addFavoriteAccept = accept;
        prompts.addFavoriteName = name;
        prompts.addFavoriteDescription = description;

        QVERIFY(pane.onCommand(ID_FAVORITES_ADD));
        QCOMPARE(prompts.addFavoriteFolderSeen, current);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"))
                    .match(prompts.addFavoriteDefaultNameSeen)
                    .hasMatch());
        const QString fileName = (name.isNull() ? prompts.addFavoriteDefaultNameSeen : name) + QStringLiteral(".jpg");
        if (written) {
            const QString path = QDir(current).filePath(fileName);
            QCOMPARE(entries(current), QStringList {fileName});
            QCOMPARE(frame.added, QStringList {path});
            QCOMPARE(formatByMagic(readAll(path)), QByteArray("jpeg"));
            QCOMPARE(ImageTags::readFile(path).description, OptionalText(description));
            QCOMPARE(prompts.messages, QStringList());
        } else {
            QCOMPARE(entries(current), QStringList());
            QCOMPARE(entries(root), QStringList {"AnyOne"});
            QCOMPARE(frame.added, QStringList());
            QCOMPARE(prompts.messages.size(), accept ? 1 : 0);
        }
    }

    void failedFavoriteIsNotAnnounced()
    {
        const QString out = folder(QStringLiteral("unwritable"));
        // A "folder" that is a file: nothing can be created in it.
        const QString current = TestImages::writeBytes(out, QStringLiteral("AnyOne"), "not a folder");
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        FrameStandIn frame;
        frame.folder = current;
        CImagePane pane(settings, prompts, frame);
        prompts.addFavoriteAccept = true;
        prompts.addFavoriteName = QStringLiteral("lost");
        pane.onCommand(ID_FAVORITES_ADD);
        QCOMPARE(frame.added, QStringList());
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages[0].contains(QStringLiteral("lost.jpg")));
        QCOMPARE(readAll(current), QByteArray("not a folder"));
    }

    void favoriteNeedsAFolder()
    {
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        FrameStandIn frame;
        CImagePane pane(settings, prompts, frame);
        prompts.addFavoriteAccept = true;
        pane.onCommand(ID_FAVORITES_ADD);
        // No folder: nothing asked, nothing written to "/name.jpg".
        QCOMPARE(prompts.asked, QStringList());
        QCOMPARE(prompts.messages.size(), 1);
        QCOMPARE(frame.added, QStringList());
    }

    void addFavoriteDialogTakesSeveralLines()
    {
        CAddFavoriteDlg dialog;
        dialog.setFolder(QStringLiteral("/data/Favorites/AnyOne"));
        dialog.setName(QStringLiteral("2006-03-14-09-05-07"));
        dialog.setDescription(QString());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add to Favorites"));
        QStringList groups;
        for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
            groups << group->title();
        QCOMPARE(groups, (QStringList {"Name", "Description"}));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("folder"))->text(),
                 QDir::toNativeSeparators(QStringLiteral("/data/Favorites/AnyOne")));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("name"));
        auto* description = dialog.findChild<QPlainTextEdit*>(QStringLiteral("description"));
        // Typing replaces the offered name.
        QCOMPARE(QApplication::focusWidget(), name);
        QTest::keyClicks(name, QStringLiteral("Onion"));
        description->setFocus();
        QTest::keyClicks(description, QStringLiteral("first"));
        QTest::keyClick(description, Qt::Key_Return);
        QTest::keyClicks(description, QStringLiteral("second"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.name(), QStringLiteral("Onion"));
        QCOMPARE(dialog.description(), QStringLiteral("first\nsecond"));
    }

    void frameHandsOutTheAnyOneFolder()
    {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        QDir(data).removeRecursively();
        SettingsStore settings(iniPath());
        ScriptedPrompts prompts;
        CMainFrame frame(settings, prompts);
        QVERIFY(frame.action(ID_FAVORITES_ADD)->isEnabled());
        const QString folder = AppMessageSink::textOf(frame.send(WM_APP_GET_FAVORITES_FOLDER, 0, 0));
        QCOMPARE(folder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                             + QStringLiteral("/Favorites/AnyOne"));
        QVERIFY(QFileInfo(folder).isDir());

        // The whole path from the menu: the offered name in that folder.
        prompts.addFavoriteAccept = true;
        frame.action(ID_FAVORITES_ADD)->trigger();
        const QStringList files = entries(folder);
        QCOMPARE(files, QStringList {prompts.addFavoriteDefaultNameSeen + QStringLiteral(".jpg")});
        QDir(data).removeRecursively();
    }
};

QTEST_MAIN(TestSaving)
#include "tst_saving.moc"
