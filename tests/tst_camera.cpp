// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <mutex>
#include <optional>

#include <QAction>
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

using Picture = VirtualCameraStack::Picture;

// Empty when `image` shows the SMPTE bars of a frame of `size` with its
// top-left at `at`, each channel within the tolerance; else the first pixel
// that differs. The seven bars of the top two thirds, then the band below.
QString barsMismatch(const QImage& image, QSize size = { 640, 480 }, QPoint at = {}, int tolerance = 3)
{
    const QRgb bars[14] = { 0xffffff, 0xffff00, 0x00ffff, 0x00ff00, 0xff00ff, 0xff0000, 0x0000ff, 0x0000ff, 0x000000,
        0xff00ff, 0x000000, 0x00ffff, 0x000000, 0xffffff };
    for (int i = 0; i < 14; ++i) {
        const QPoint p = at + QPoint(size.width() * (2 * (i % 7) + 1) / 14, size.height() * (i < 7 ? 10 : 21) / 30);
        const QRgb is = image.pixel(p);
        if (std::abs(qRed(is) - qRed(bars[i])) > tolerance || std::abs(qGreen(is) - qGreen(bars[i])) > tolerance
            || std::abs(qBlue(is) - qBlue(bars[i])) > tolerance)
            return QStringLiteral("(%1, %2) is %3").arg(p.x()).arg(p.y()).arg(is & 0xffffff, 6, 16, QChar('0'));
    }
    return {};
}

// The main window, shown, with the cameras plugged in before it.
struct Window : ShownFrame {
    explicit Window(const QString& ini)
        : ShownFrame(ini)
    {
        // As the program does once its window is painted.
        video().setFrameSource(QtCameraSource::openDefault());
    }
    // The FrameBuffer as it is between two frames, and the Video Window with its border.
    QImage now()
    {
        std::lock_guard<std::mutex> hold(doc().frameLock);
        return doc().FrameBuffer.image().copy();
    }
    QImage view() { return video().grab().toImage(); }
    QString waitForBars(QSize size = { 640, 480 })
    {
        const auto mismatch = [&] { return barsMismatch(now(), size); };
        return QTest::qWaitFor([&] { return mismatch().isEmpty(); }, 5000) ? QString() : mismatch();
    }
    // Live as the user types it.
    void live() { key(Qt::Key_QuoteLeft); }
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
            QSKIP(
                qPrintable("The virtual camera needs " + missing.join(", ") + " (scripts/install-deps installs them)"));
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
        QTest::newRow("BGRx") << "BGRx" << QSize(800, 600);
        QTest::newRow("YUY2") << "YUY2" << QSize(640, 480);
        QTest::newRow("NV12") << "NV12" << QSize(1280, 720);
        QTest::newRow("I420") << "I420" << QSize(320, 240);
    }
    void formatsReachTheView()
    {
        QFETCH(QString, format);
        QFETCH(QSize, size);
        const auto camera = stack->plugIn("Cam" + format, format, size);
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        window.prompts.videoFormatAnswer = 0;
        window.action(ID_VIDEO_FORMAT)->trigger();
        QCOMPARE(window.prompts.formatsSeen,
            QStringList { QStringLiteral("%1 x %2, 15.0 fps").arg(size.width()).arg(size.height()) });
        QCOMPARE(window.doc().FrameBuffer.size(), size);
        QVERIFY(window.doc().IsLive());
        QCOMPARE(window.waitForBars(size), QString());
        QCOMPARE(barsMismatch(window.view(), size, { 20, 20 }), QString());
    }

    void liveSaveProfileAndSelect()
    {
        const QRect snow(576, 422, 53, 48); // the patch that changes with every frame
        const auto bars = stack->plugIn("Bars");
        QVERIFY2(bars, qPrintable(stack->failure()));
        const auto green = stack->plugIn("Green", "BGRx", { 640, 480 }, Picture::Green);
        QVERIFY2(green, qPrintable(stack->failure()));
        Window window(ini());
        window.action(ID_SELECT_CAMERA)->trigger(); // cancelled: shows the list
        QStringList seen = window.prompts.camerasSeen;
        window.prompts.selectCameraAnswer = int(seen.indexOf("Bars"));
        seen.sort();
        QCOMPARE(seen, (QStringList { "Bars", "Green" }));
        window.live();
        window.action(ID_SELECT_CAMERA)->trigger();
        QVERIFY(window.doc().IsLive());
        QCOMPARE(window.waitForBars(), QString());

        // Saving freezes the camera for the write: the file holds one whole frame.
        window.prompts.saveFileAnswer = dir.filePath(QStringLiteral("live.png"));
        window.action(ID_FILE_SAVE)->trigger();
        QVERIFY(window.doc().IsLive());
        QCOMPARE(barsMismatch(QImage(window.prompts.saveFileAnswer), { 640, 480 }, { 20, 20 }, 0), QString());

        // A Horizontal tool through the snow: its profile follows the frames.
        window.action(ID_HORIZONTAL)->trigger();
        window.mouse(QTest::MousePress, QPoint(100, snow.center().y()));
        window.mouse(QTest::MouseRelease, QPoint(100, snow.center().y()));
        const int* samples = window.frame.histogram(true).samples();
        const auto profile = [&] { return QList<int>(samples + snow.left(), samples + snow.right() + 1); };
        QVERIFY(QTest::qWaitFor([&] { return profile() != QList<int>(snow.width(), 0); }, 3000));
        const QList<int> before = profile();
        QVERIFY(QTest::qWaitFor([&] { return profile() != before; }, 3000));

        // The other camera: the picture follows.
        window.prompts.selectCameraAnswer = int(window.prompts.camerasSeen.indexOf("Green"));
        window.action(ID_SELECT_CAMERA)->trigger();
        QVERIFY(window.doc().IsLive());
        QVERIFY(QTest::qWaitFor([&] { return window.now().pixel(320, 100) == 0xff00ff00; }, 5000));
    }

    void cameraGoesAway()
    {
        // No camera at all: Live says so, and the camera commands are greyed.
        std::optional<Window> shown(std::in_place, ini());
        const auto greyed = [&] {
            const int commands[] = { ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS, ID_SELECT_CAMERA };
            return std::none_of(commands, commands + 3, [&](int id) { return shown->action(id)->isEnabled(); });
        };
        shown->live();
        QCOMPARE(shown->prompts.messages, QStringList { "No camera is available." });
        QVERIFY(greyed() && !shown->doc().IsLive());

        auto camera = stack->plugIn("Leaving");
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window& window = shown.emplace(ini());
        window.live();
        QCOMPARE(window.waitForBars(), QString());

        camera->end(); // pulled out
        QVERIFY(QTest::qWaitFor([&] { return !window.prompts.messages.isEmpty(); }, 2000));
        QCOMPARE(window.prompts.messages, QStringList { "The camera \"Leaving\" was disconnected." });
        QVERIFY(!window.doc().IsLive());
        // The last frame stays.
        QCOMPARE(barsMismatch(window.view(), { 640, 480 }, { 20, 20 }), QString());
        QVERIFY(greyed());

        // From here to the window's end nothing warns.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        window.live();
        QCOMPARE(window.prompts.messages.last(), QStringLiteral("No camera is available."));
        QVERIFY(!window.doc().IsLive());
        QTest::qWait(200);
        shown.reset();
        QCoreApplication::processEvents();
    }

    void silentCamera()
    {
        const auto camera = stack->plugIn("Mute", "BGRx", { 640, 480 }, Picture::Silent);
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        const QImage before = window.now();
        window.live();
        QElapsedTimer clock;
        clock.start();
        QVERIFY(QTest::qWaitFor([&] { return !window.prompts.messages.isEmpty(); }, 5000));
        QVERIFY(clock.elapsed() >= 2900);
        QCOMPARE(window.prompts.messages, QStringList { "The camera \"Mute\" has sent no picture for three seconds." });
        // Still live and usable: it freezes and shows what it showed.
        QVERIFY(window.doc().IsLive());
        window.key(Qt::Key_Escape);
        QVERIFY(!window.doc().IsLive());
        QCOMPARE(window.now(), before);
    }
};

QTEST_MAIN(TestCamera)
#include "tst_camera.moc"
