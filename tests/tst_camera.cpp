// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <mutex>

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include "DataRows.h"
#include "ShownFrame.h"
#include "VirtualCamera.h"
#include "core/base/CommandIds.h"
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
    void init() { QFile::remove(ini()); }
    void cleanup()
    {
        // Every test ends its cameras; the next one starts with none listed.
        QVERIFY(QTest::qWaitFor([] { return QMediaDevices::videoInputs().isEmpty(); }, 5000));
    }

    void formatsReachTheView_data()
    {
        columns<QString, QSize>("format", "size");
        QTest::newRow("BGRx") << "BGRx" << QSize(800, 600);
        QTest::newRow("YUY2") << "YUY2" << QSize(640, 480);
        QTest::newRow("NV12") << "NV12" << QSize(1280, 720);
        QTest::newRow("I420") << "I420" << QSize(320, 240);
    }
    void formatsReachTheView()
    {
        const auto [format, size] = fetch<QString, QSize>("format", "size");
        const auto camera = stack->plugIn("Cam" + format, format, size);
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        window.prompts.videoFormatAnswer = 0;
        window.action(ID_VIDEO_FORMAT)->trigger();
        QCOMPARE(window.doc().FrameBuffer.size(), size);
        QVERIFY(window.doc().IsLive());
        QCOMPARE(window.waitForBars(size), QString());
        QCOMPARE(barsMismatch(window.view(), size, { 20, 20 }), QString());
    }

    void cameraGoesAway()
    {
        auto camera = stack->plugIn("Leaving");
        QVERIFY2(camera, qPrintable(stack->failure()));
        Window window(ini());
        window.live();
        QCOMPARE(window.waitForBars(), QString());

        camera->end(); // pulled out
        QVERIFY(QTest::qWaitFor([&] { return !window.prompts.messages.isEmpty(); }, 2000));
        QCOMPARE(window.prompts.messages, QStringList { "The camera \"Leaving\" was disconnected." });
        QVERIFY(!window.doc().IsLive());
        // The last frame stays.
        QCOMPARE(barsMismatch(window.view(), { 640, 480 }, { 20, 20 }), QString());
        for (int id : { ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS, ID_SELECT_CAMERA })
            QVERIFY(!window.action(id)->isEnabled());

        window.live();
        QCOMPARE(window.prompts.messages.last(), QStringLiteral("No camera is available."));
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
        // Still live, showing what it showed.
        QVERIFY(window.doc().IsLive());
        QCOMPARE(window.now(), before);
    }
};

QTEST_MAIN(TestCamera)
#include "tst_camera.moc"
