// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <atomic>
#include <thread>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QTemporaryDir>
#include <QVideoFrame>
#include <QVideoFrameFormat>
#include <QtTest>

#include "MessageLog.h"
#include "PictureView.h"
#include "ScriptedPrompts.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "ui/app/CMainFrame.h"
#include "ui/video/CImagePane.h"

Q_DECLARE_METATYPE(QVideoFrameFormat::PixelFormat)

namespace {

// Cameras that deliver what the test pushes, on the pushing thread.
struct FakeSource : FrameSource {
    QStringList names { QStringLiteral("Cam A") };
    int current = 0;
    QList<Format> list;
    int applied = -1;
    QList<Control> knobs;
    QList<Control> appliedKnobs;
    FrameHandler handler;
    QStringList calls;

    QStringList cameras() const override { return names; }
    int currentCamera() const override { return current; }
    void selectCamera(int index) override { current = index; }
    void setFrameHandler(FrameHandler h) override { handler = std::move(h); }
    void start() override { calls << QStringLiteral("start"); }
    void stop() override { calls << QStringLiteral("stop"); }
    QList<Format> formats() const override { return list; }
    int currentFormat() const override { return 0; }
    QSize applyFormat(int index) override { return list[applied = index].size; }
    QList<Control> controls() const override { return knobs; }
    void applyControls(const QList<Control>& c) override { appliedKnobs = c; }
};

// A frame of `image`'s pixels in `format` (a 32-bit RGB order).
QVideoFrame frameOf(const QImage& image, QVideoFrameFormat::PixelFormat format)
{
    const QImage bytes = image.convertToFormat(
        format == QVideoFrameFormat::Format_RGBX8888 ? QImage::Format_RGBX8888 : QImage::Format_RGB32);
    QVideoFrame frame(QVideoFrameFormat(image.size(), format));
    frame.map(QVideoFrame::WriteOnly);
    for (int y = 0; y < image.height(); ++y)
        memcpy(frame.bits(0) + y * frame.bytesPerLine(0), bytes.constScanLine(y), size_t(image.width()) * 4);
    frame.unmap();
    return frame;
}

QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7, y * 3, (x ^ y) & 0xff));
    return image;
}

QImage solid(QRgb colour, QSize size = { 640, 480 })
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Pushes from another thread, as a camera does, and lets the queued notices run.
void pushFrom(FakeSource& source, const QVideoFrame& frame)
{
    std::thread([&] { source.handler(frame); }).join();
    QCoreApplication::sendPostedEvents();
}

// The frame colours of the stress test: none of them is grey or a tool colour.
const QRgb palette[] = { 0xff123456, 0xff654321, 0xff2468ac, 0xffa86420 };

// How many palette colours `image` holds inside `area`.
int paletteColoursIn(const QImage& image, QRect area)
{
    bool seen[4] = {};
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            for (int i = 0; i < 4; ++i)
                seen[i] |= (row[x] | 0xff000000) == palette[i];
    }
    return seen[0] + seen[1] + seen[2] + seen[3];
}

// A main window whose Video Window has the given cameras (none when null).
struct Scene {
    Scene(const QString& ini, FakeSource* cameras)
        : settings(ini)
        , frame(settings, prompts)
    {
        video().setFrameSource(std::unique_ptr<FrameSource>(cameras));
    }
    CVideoWnd& video() { return frame.imagePane().videoWnd(); }
    ImageDocument& doc() { return frame.imagePane().imageDocument(); }
    QAction* action(int id)
    {
        // The states refresh on the event loop's next turn, as between two clicks.
        QCoreApplication::processEvents();
        return frame.action(id);
    }
    ScriptedPrompts prompts;
    SettingsStore settings;
    CMainFrame frame;
};

} // namespace

class TestCapture : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void withoutCameraNothingChanges()
    {
        {
            Scene scene(ini(), nullptr);
            scene.doc().FrameBuffer.image().fill(0xff336699);
            for (int id : { ID_FREEZE, ID_FREEZE_IMAGE, ID_MAKE_IMAGE_LIVE, ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS }) {
                scene.frame.dispatch(id);
                QVERIFY(!scene.doc().IsLive());
            }
            QCOMPARE(scene.doc().FrameBuffer.image(), solid(0xff336699));
            QVERIFY(scene.prompts.asked.isEmpty());
            // Live (and Freeze while frozen) says why nothing happens.
            const QString none = QStringLiteral("No camera is available.");
            QCOMPARE(scene.prompts.messages, QStringList({ none, none }));
            for (int id : { ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS, ID_SELECT_CAMERA })
                QVERIFY(!scene.action(id)->isEnabled());
            QCOMPARE(scene.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
            // "Select Camera..." follows "Video Controls..." in the Image menu.
            QList<QAction*> items;
            for (const QAction* popup : scene.frame.menuBar()->actions()) {
                if (popup->text() == QStringLiteral("&Image"))
                    items = popup->menu()->actions();
            }
            const int controls = int(items.indexOf(scene.frame.action(ID_VIDEO_CONTROLS)));
            QVERIFY(controls >= 0);
            QCOMPARE(items.value(controls + 1)->text(), QStringLiteral("Select Camera..."));
        }
    }

    void frameReachesBuffer_data()
    {
        QTest::addColumn<QVideoFrameFormat::PixelFormat>("format");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("live"); // the command that makes the image live
        const int live = ID_MAKE_IMAGE_LIVE;
        QTest::newRow("BGRX, same size") << QVideoFrameFormat::Format_BGRX8888 << QSize(640, 480) << live;
        QTest::newRow("BGRA, larger: clipped") << QVideoFrameFormat::Format_BGRA8888 << QSize(800, 600) << live;
        QTest::newRow("BGRX, smaller") << QVideoFrameFormat::Format_BGRX8888 << QSize(320, 200) << live;
        QTest::newRow("RGBX, converted") << QVideoFrameFormat::Format_RGBX8888 << QSize(700, 400) << live;
        QTest::newRow("live by 32812") << QVideoFrameFormat::Format_BGRX8888 << QSize(640, 480) << int(ID_LIVE);
    }
    void frameReachesBuffer()
    {
        QFETCH(QVideoFrameFormat::PixelFormat, format);
        QFETCH(QSize, size);
        QFETCH(int, live);
        auto* cameras = new FakeSource;
        Scene scene(ini(), cameras);
        QVERIFY(!scene.doc().IsLive());
        scene.frame.action(live)->trigger();
        QVERIFY(scene.doc().IsLive());
        const QImage picture = pattern(size);
        pushFrom(*cameras, frameOf(picture, format));
        QImage expected = solid(0xff000000);
        for (int y = 0; y < std::min(480, size.height()); ++y)
            for (int x = 0; x < std::min(640, size.width()); ++x)
                expected.setPixel(x, y, picture.pixel(x, y));
        QCOMPARE(scene.doc().FrameBuffer.image(), expected);
    }

    void liveFreezeAndText()
    {
        auto* cameras = new FakeSource;
        Scene scene(ini(), cameras);
        QCOMPARE(scene.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
        pushFrom(*cameras, frameOf(solid(palette[1]), QVideoFrameFormat::Format_BGRX8888));
        QCOMPARE(scene.doc().FrameBuffer.image(), solid(0xff000000)); // frozen: not taken
        scene.frame.dispatch(ID_FREEZE);
        QCOMPARE(scene.action(ID_FREEZE)->text(), QStringLiteral("&Freeze!\tEsc"));
        pushFrom(*cameras, frameOf(solid(palette[0]), QVideoFrameFormat::Format_BGRX8888));
        scene.frame.dispatch(ID_FREEZE_IMAGE);
        QVERIFY(!scene.doc().IsLive());
        pushFrom(*cameras, frameOf(solid(palette[2]), QVideoFrameFormat::Format_BGRX8888));
        QCOMPARE(scene.doc().FrameBuffer.image(), solid(palette[0]));
        scene.frame.dispatch(ID_FREEZE);
        QVERIFY(scene.doc().IsLive());
    }

    void liveFramesStartANewHistory()
    {
        auto* cameras = new FakeSource;
        cameras->list = { { { 640, 480 }, 30 } };
        Scene scene(ini(), cameras);
        const auto picture = [&scene] { return scene.doc().FrameBuffer.image().copy(); };
        scene.action(ID_MONOCHROME)->trigger();
        scene.action(ID_MAKE_IMAGE_LIVE)->trigger();
        // A frame lands, and before its notice arrives the user freezes and
        // filters: the filter is a step of the frozen frame's history.
        std::thread([&] {
            cameras->handler(frameOf(pattern({ 640, 480 }), QVideoFrameFormat::Format_BGRX8888));
        }).join();
        scene.frame.action(ID_FREEZE_IMAGE)->trigger();
        const QImage frozen = picture();
        QCOMPARE(frozen, pattern({ 640, 480 }));
        scene.frame.action(ID_MONOCHROME)->trigger();
        QCoreApplication::sendPostedEvents();
        QVERIFY(picture() != frozen);
        QVERIFY(scene.action(ID_EDIT_UNDO)->isEnabled());
        scene.action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(picture(), frozen);
        QVERIFY(!scene.action(ID_EDIT_UNDO)->isEnabled());
        QVERIFY(!scene.doc().ImageChanged());

        // A frame that lands after a step starts a new history, and so does a new format.
        scene.action(ID_EDIT_REDO)->trigger();
        scene.action(ID_MAKE_IMAGE_LIVE)->trigger();
        pushFrom(*cameras, frameOf(solid(palette[1]), QVideoFrameFormat::Format_BGRX8888));
        QVERIFY(!scene.action(ID_EDIT_UNDO)->isEnabled());
        QVERIFY(!scene.action(ID_EDIT_REDO)->isEnabled());
        QVERIFY(!scene.doc().ImageChanged());
        scene.action(ID_FREEZE_IMAGE)->trigger();
        scene.action(ID_EDGE_ENHANCE)->trigger();
        QVERIFY(scene.action(ID_EDIT_UNDO)->isEnabled());
        scene.prompts.videoFormatAnswer = 0;
        scene.action(ID_VIDEO_FORMAT)->trigger();
        QVERIFY(!scene.action(ID_EDIT_UNDO)->isEnabled());
        QVERIFY(!scene.doc().ImageChanged());
    }

    void profileFollowsFrames()
    {
        SettingsStore settings(ini());
        ScriptedPrompts prompts;
        MessageLog log;
        PictureView view(settings, prompts, log);
        ImageDocument& wnd = view.doc;
        auto* cameras = new FakeSource;
        view.wnd.setFrameSource(std::unique_ptr<FrameSource>(cameras));
        wnd.SetActiveTool(ToolFactory::create(KindHorizontal, settings, log));
        wnd.activeTool()->points[1] = { 50, 60 };
        wnd.SetFrozen(false);
        int samples[2048] = {};
        for (QRgb colour : { 0xff303030u, 0xff909090u }) {
            log.messages.clear();
            pushFrom(*cameras, frameOf(solid(colour), QVideoFrameFormat::Format_BGRX8888));
            QCOMPARE(log.messages, (QList<MessageLog::Message> { { WM_APP_UPDATE_HISTOGRAM, 1, 1 } }));
            wnd.SampleProfile(true, samples);
            QCOMPARE(samples[100], qRed(colour));
        }
    }

    void videoFormatControlsAndCamera()
    {
        auto* cameras = new FakeSource;
        cameras->names << QStringLiteral("Cam B");
        cameras->list = { { { 320, 240 }, 30 }, { { 1280, 720 }, 15 } };
        cameras->knobs = { { QStringLiteral("Zoom"), 1, 4, 1 } };
        Scene scene(ini(), cameras);
        for (int id : { ID_VIDEO_FORMAT, ID_VIDEO_CONTROLS, ID_SELECT_CAMERA })
            QVERIFY(scene.action(id)->isEnabled());
        scene.prompts.videoFormatAnswer = 1;
        scene.frame.dispatch(ID_VIDEO_FORMAT);
        QCOMPARE(scene.prompts.formatsSeen,
            QStringList({ QStringLiteral("320 x 240, 30.0 fps"), QStringLiteral("1280 x 720, 15.0 fps") }));
        QCOMPARE(scene.doc().FrameBuffer.size(), QSize(1280, 720));
        QCOMPARE(scene.video().size(), QSize(1280 + 40, 720 + 40));
        QCOMPARE(scene.settings.readInt(QStringLiteral("Image"), QStringLiteral("ImageWidth"), 0), 1280);
        QCOMPARE(scene.settings.readInt(QStringLiteral("Image"), QStringLiteral("ImageHeight"), 0), 720);
        QCOMPARE(scene.settings.readInt(QStringLiteral("Image"), QStringLiteral("VendorOffset"), -1), -1);
        QVERIFY(scene.doc().IsLive());

        scene.prompts.videoControlsAccept = true;
        scene.prompts.videoControlsChange = [](QList<FrameSource::Control>& c) { c[0].value = 2.5; };
        scene.frame.dispatch(ID_VIDEO_CONTROLS);
        QCOMPARE(cameras->appliedKnobs.value(0).value, 2.5);

        scene.prompts.selectCameraAnswer = 1;
        scene.frame.dispatch(ID_SELECT_CAMERA);
        QCOMPARE(scene.prompts.camerasSeen, cameras->names);
        QCOMPARE(cameras->current, 1);
        QVERIFY(scene.doc().IsLive());
    }

    void outputWhileLiveFreezesTheCamera_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("save") << int(ID_FILE_SAVE);
        QTest::newRow("print") << int(ID_FILE_PRINT);
        QTest::newRow("add to favorites") << int(ID_FAVORITES_ADD);
    }
    void outputWhileLiveFreezesTheCamera()
    {
        QFETCH(int, command);
        auto* cameras = new FakeSource;
        Scene scene(ini(), cameras);
        scene.frame.dispatch(ID_MAKE_IMAGE_LIVE);
        pushFrom(*cameras, frameOf(solid(palette[3]), QVideoFrameFormat::Format_BGRX8888));
        scene.prompts.saveFileAnswer = dir.filePath(QStringLiteral("live.png"));
        scene.prompts.addFavoriteAccept = true;
        scene.prompts.printerSetup = [&](QPrinter& printer) {
            printer.setOutputFileName(dir.filePath(QStringLiteral("live.pdf")));
            // Asked while still live: the picture freezes for the output only.
            return cameras->calls.last() == QStringLiteral("start");
        };
        scene.action(command)->trigger();
        QCOMPARE(cameras->calls.mid(cameras->calls.size() - 2), (QStringList { "stop", "start" }));
        QVERIFY(scene.doc().IsLive());
        QVERIFY(scene.prompts.messages.isEmpty());
        if (command == ID_FILE_SAVE) {
            const QImage saved(scene.prompts.saveFileAnswer);
            QCOMPARE(saved.copy(20, 20, 640, 480).convertToFormat(QImage::Format_RGB32), solid(palette[3]));
        }
    }

    void framesAtFullSpeedNeverTear()
    {
        auto* cameras = new FakeSource;
        Scene scene(ini(), cameras);
        ImageDocument& video = scene.doc();
        video.SetFrozen(false);
        QList<QVideoFrame> frames;
        for (QRgb colour : palette)
            frames << frameOf(solid(colour), QVideoFrameFormat::Format_BGRX8888);
        std::atomic<bool> stop { false };
        std::atomic<int> pushed { 0 };
        std::thread camera([&] {
            for (int i = 0; !stop; ++i, ++pushed)
                cameras->handler(frames[i % frames.size()]);
        });
        for (int i = 0; i < 300; ++i) {
            if (i % 10 == 3)
                video.onCommand(ID_EDGE_ENHANCE);
            if (i % 7 == 5) {
                video.SetActiveTool(ToolFactory::create(KindLine, scene.settings, scene.frame));
                video.pressTool({ 30, 30 });
                video.dragTool({ 90, 70 }, false);
                video.BurnIn();
            }
            if (i % 13 == 11)
                video.AllocateFrameBuffer(i % 2 ? 400 : 640, 300);
            if (i % 5 == 4)
                video.onCommand(i % 10 == 4 ? ID_EDIT_UNDO : ID_EDIT_REDO);
            video.composeView();
            const QRect image(
                video.BorderWidth, video.BorderWidth, video.FrameBuffer.width(), video.FrameBuffer.height());
            QVERIFY2(paletteColoursIn(video.BackBuffer.image(), image) <= 1, qPrintable(QString::number(i)));
            QCoreApplication::processEvents();
        }
        stop = true;
        camera.join();
        QVERIFY(pushed > 0);
    }
};

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
