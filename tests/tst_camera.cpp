// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>
#include <mutex>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

#include <QAction>
#include <QCameraDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QtTest>

#include "ShownFrame.h"
#include "VirtualCamera.h"
#include "core/base/CommandIds.h"
#include "ui/histogram/CHistogramWnd.h"
#include "ui/video/QtCameraSource.h"

// The camera path on a real device stack: Qt Multimedia finds virtual
// cameras on a private PipeWire, negotiates their formats and delivers
// their frames on its own threads into the shown main window.
namespace {

// The SMPTE bars of the test source, left to right: the seven of the top
// two thirds, and the band below them.
const QRgb topBars[7] = { 0xffffff, 0xffff00, 0x00ffff, 0x00ff00, 0xff00ff, 0xff0000, 0x0000ff };
const QRgb bandBars[7] = { 0x0000ff, 0x000000, 0xff00ff, 0x000000, 0x00ffff, 0x000000, 0xffffff };
constexpr QRgb green = 0x00ff00;

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Whether `image` shows a frame of `size` with its top-left at `at`: the
// bars at their places, each channel within the tolerance. Empty when it
// does, else the first pixel that differs.
QString barsMismatch(const QImage& image, QSize size, QPoint at = {}, int tolerance = 3)
{
    const int w = size.width(), h = size.height();
    for (int i = 0; i < 7; ++i) {
        const int x = at.x() + w * (2 * i + 1) / 14;
        for (const auto& [y, colour] :
            { std::pair { at.y() + h / 3, topBars[i] }, { at.y() + h * 7 / 10, bandBars[i] } }) {
            if (!near(image.pixel(x, y), colour, tolerance))
                return QStringLiteral("(%1, %2) is %3, not %4")
                    .arg(x)
                    .arg(y)
                    .arg(image.pixel(x, y) & 0xffffff, 6, 16, QChar('0'))
                    .arg(colour, 6, 16, QChar('0'));
        }
    }
    return {};
}

// The patch of snow at the bottom right of a bars frame of `size`.
QRect snow(QSize size)
{
    return QRect(size.width() * 9 / 10, size.height() * 22 / 25, size.width() / 12, size.height() / 10);
}

// The FrameBuffer as it is between two frames.
QImage frameNow(ImageDocument& doc)
{
    std::lock_guard<std::mutex> hold(doc.frameLock);
    return doc.FrameBuffer.image().copy();
}

// What the process writes to its standard error while this lives (GLib's
// warnings go there, past Qt's message handler).
class StandardErrorCapture {
public:
    explicit StandardErrorCapture(const QString& path)
        : file(path)
        , saved(dup(2))
    {
        fflush(stderr);
        const int to = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(to, 2);
        close(to);
    }
    ~StandardErrorCapture() { restore(); }
    QString text()
    {
        restore();
        QFile log(file);
        return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QStringLiteral("(unreadable)");
    }

private:
    void restore()
    {
        if (saved < 0)
            return;
        fflush(stderr);
        dup2(saved, 2);
        close(saved);
        saved = -1;
    }
    QString file;
    int saved;
};

// The main window, shown, with the cameras plugged in before it.
struct Window : ShownFrame {
    explicit Window(const QString& ini)
        : ShownFrame(ini)
    {
        // As the program does once its window is painted.
        video().setFrameSource(QtCameraSource::openDefault());
    }
    QAction* action(int id)
    {
        // Command states refresh on the event loop's next turn.
        QCoreApplication::processEvents();
        return frame.action(id);
    }
    // What the Video Window shows now, border included.
    QImage view() { return video().grab().toImage(); }
    bool showsBars(QSize size) { return barsMismatch(frameNow(doc()), size).isEmpty(); }
    bool waitForBars(QSize size)
    {
        return QTest::qWaitFor([&] { return showsBars(size); }, 5000);
    }
    // Live and Freeze as the user types them.
    void live() { key(Qt::Key_QuoteLeft); }
    void freeze() { key(Qt::Key_Escape); }
};

} // namespace

class TestCamera : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<VirtualCameraStack> stack;
    QString ini() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void initTestCase()
    {
        const QStringList missing = VirtualCameraStack::missing();
        if (!missing.isEmpty())
            QSKIP(qPrintable(QStringLiteral("The virtual camera needs %1 (scripts/install-deps installs them)")
                                 .arg(missing.join(QStringLiteral(", ")))));
        stack = std::make_unique<VirtualCameraStack>();
        QVERIFY2(stack->failure().isEmpty(), qPrintable(stack->failure()));
    }
    void cleanupTestCase() { stack.reset(); }
    void init() { QFile::remove(ini()); }
    void cleanup()
    {
        // Every test ends its cameras; the next one starts with none listed.
        QVERIFY(QTest::qWaitFor([] { return QMediaDevices::videoInputs().isEmpty(); }, 5000));
    }

    void formatsReachTheView_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QSize>("size");
        QTest::newRow("BGRx") << QStringLiteral("BGRx") << QSize(800, 600);
        QTest::newRow("YUY2") << QStringLiteral("YUY2") << QSize(640, 480);
        QTest::newRow("NV12") << QStringLiteral("NV12") << QSize(1280, 720);
        QTest::newRow("I420") << QStringLiteral("I420") << QSize(320, 240);
    }
    void formatsReachTheView()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        const auto camera = stack->plugIn(QStringLiteral("Cam") + format, format, size);
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        window.prompts.videoFormatAnswer = 0;
        window.action(ID_VIDEO_FORMAT)->trigger();
        QCOMPARE(window.prompts.formatsSeen,
            QStringList { QStringLiteral("%1 x %2, 15.0 fps").arg(size.width()).arg(size.height()) });
        QCOMPARE(window.doc().FrameBuffer.size(), size);
        QCOMPARE(window.settings.readInt(QStringLiteral("Image"), QStringLiteral("ImageWidth"), 0), size.width());
        QCOMPARE(window.settings.readInt(QStringLiteral("Image"), QStringLiteral("ImageHeight"), 0), size.height());
        QVERIFY(window.doc().IsLive());
        QVERIFY2(window.waitForBars(size), qPrintable(barsMismatch(frameNow(window.doc()), size)));
        const QImage view = window.view();
        QCOMPARE(barsMismatch(view, size, QPoint(20, 20)), QString());
    }

    void liveFreezeSaveAndProfile()
    {
        const QSize size(640, 480);
        const auto camera = stack->plugIn(QStringLiteral("Bars"));
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        ImageDocument& doc = window.doc();
        QCOMPARE(window.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
        QVERIFY(!doc.IsLive());

        window.live();
        QVERIFY(doc.IsLive());
        QCOMPARE(window.action(ID_FREEZE)->text(), QStringLiteral("&Freeze!\tEsc"));
        QVERIFY2(window.waitForBars(size), qPrintable(barsMismatch(frameNow(doc), size)));
        QCOMPARE(barsMismatch(window.view(), size, QPoint(20, 20)), QString());
        const QImage first = frameNow(doc).copy(snow(size));
        QVERIFY(QTest::qWaitFor([&] { return frameNow(doc).copy(snow(size)) != first; }, 3000));

        // Saving freezes the camera for the write: the file holds one whole frame.
        window.prompts.saveFileAnswer = dir.filePath(QStringLiteral("live.png"));
        window.action(ID_FILE_SAVE)->trigger();
        QVERIFY(doc.IsLive());
        const QImage saved(window.prompts.saveFileAnswer);
        QCOMPARE(saved.size(), size + QSize(40, 40));
        QCOMPARE(barsMismatch(saved, size, QPoint(20, 20), 0), QString());

        window.freeze();
        QVERIFY(!doc.IsLive());
        QCOMPARE(window.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
        const QImage frozen = frameNow(doc);
        QTest::qWait(500); // several frames of the camera's
        QCOMPARE(frameNow(doc), frozen);

        window.live();
        QVERIFY(QTest::qWaitFor([&] { return frameNow(doc).copy(snow(size)) != frozen.copy(snow(size)); }, 3000));

        // A Horizontal tool through the snow: its profile follows the frames.
        window.action(ID_HORIZONTAL)->trigger();
        const int row = snow(size).center().y();
        window.mouse(QTest::MousePress, QPoint(100, row));
        window.mouse(QTest::MouseRelease, QPoint(100, row));
        const int* samples = window.frame.histogram(true).samples();
        const QRect patch = snow(size);
        const auto profile = [&] { return QList<int>(samples + patch.left(), samples + patch.right() + 1); };
        QVERIFY(QTest::qWaitFor([&] { return profile() != QList<int>(patch.width(), 0); }, 3000));
        const QList<int> before = profile();
        QVERIFY(QTest::qWaitFor([&] { return profile() != before; }, 3000));
    }

    void selectCameraFollows()
    {
        const auto bars = stack->plugIn(QStringLiteral("BarsCam"));
        QVERIFY2(bars, qPrintable(stack->failure()));
        const auto plain = stack->plugIn(
            QStringLiteral("GreenCam"), QStringLiteral("BGRx"), { 640, 480 }, 15, VirtualCamera::Picture::Green);
        QVERIFY2(plain, qPrintable(stack->failure()));
        Window window(ini());
        QVERIFY(window.action(ID_SELECT_CAMERA)->isEnabled());
        window.action(ID_SELECT_CAMERA)->trigger(); // cancelled: shows the list
        QCOMPARE(window.prompts.camerasSeen.size(), 2);
        QVERIFY(window.prompts.camerasSeen.contains(QStringLiteral("BarsCam")));
        QVERIFY(window.prompts.camerasSeen.contains(QStringLiteral("GreenCam")));

        window.live();
        const auto isGreen = [&] { return frameNow(window.doc()).pixel(320, 100) == (0xff000000 | green); };
        QVERIFY(QTest::qWaitFor([&] { return isGreen() || window.showsBars({ 640, 480 }); }, 5000));
        const bool startedGreen = isGreen();
        const QString other = startedGreen ? QStringLiteral("BarsCam") : QStringLiteral("GreenCam");
        window.prompts.selectCameraAnswer = int(window.prompts.camerasSeen.indexOf(other));
        window.action(ID_SELECT_CAMERA)->trigger();
        QVERIFY(window.doc().IsLive());
        if (startedGreen)
            QVERIFY(window.waitForBars({ 640, 480 }));
        else
            QVERIFY(QTest::qWaitFor(isGreen, 5000));
    }

    void cameraGoesAway()
    {
        const QSize size(640, 480);
        auto camera = stack->plugIn(QStringLiteral("Leaving"));
        QVERIFY2(camera, qPrintable(stack->failure()));
        std::optional<Window> shown;
        shown.emplace(ini());
        Window& window = *shown;
        ImageDocument& doc = window.doc();
        window.live();
        QVERIFY(window.waitForBars(size));
        for (int id : { ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS })
            QVERIFY(window.action(id)->isEnabled());

        camera->unplug();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(QTest::qWaitFor([&] { return !window.prompts.messages.isEmpty(); }, 2000));
        QCOMPARE(window.prompts.messages, QStringList { QStringLiteral("The camera \"Leaving\" was disconnected.") });
        QVERIFY(!doc.IsLive());
        QCOMPARE(window.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
        // The last frame stays.
        QCOMPARE(barsMismatch(frameNow(doc), size), QString());
        QCOMPARE(barsMismatch(window.view(), size, QPoint(20, 20)), QString());
        for (int id : { ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS, ID_SELECT_CAMERA })
            QVERIFY(!window.action(id)->isEnabled());

        // From here to the window's end nothing warns: not Qt, not GLib.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        StandardErrorCapture errors(dir.filePath(QStringLiteral("stderr.txt")));
        window.live();
        QCOMPARE(window.prompts.messages.last(), QStringLiteral("No camera is available."));
        QVERIFY(!doc.IsLive());
        QTest::qWait(200);
        shown.reset();
        QCoreApplication::processEvents();
        QCOMPARE(errors.text(), QString());
    }

    void silentCamera()
    {
        const auto camera = stack->plugIn(
            QStringLiteral("Mute"), QStringLiteral("BGRx"), { 640, 480 }, 15, VirtualCamera::Picture::Silent);
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        const QImage before = frameNow(window.doc());
        window.live();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(QTest::qWaitFor([&] { return !window.prompts.messages.isEmpty(); }, 5000));
        QVERIFY(clock.elapsed() >= 2900);
        QCOMPARE(window.prompts.messages,
            QStringList { QStringLiteral("The camera \"Mute\" has sent no picture for three seconds.") });
        // Still usable: it freezes and shows what it showed.
        window.freeze();
        QVERIFY(!window.doc().IsLive());
        QCOMPARE(window.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
        QCOMPARE(frameNow(window.doc()), before);
    }
};

QTEST_MAIN(TestCamera)
#include "tst_camera.moc"
