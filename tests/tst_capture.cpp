// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <atomic>
#include <thread>

#include <QDialogButtonBox>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVideoFrame>

#include "DataRows.h"
#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "ui/app/DialogPrompts.h"

Q_DECLARE_METATYPE(QVideoFrameFormat::PixelFormat)

namespace {

// Cameras that deliver what the test pushes, on the pushing thread.
struct FakeSource : FrameSource {
    QStringList calls;
    QList<Format> list;
    QList<Control> knobs, appliedKnobs;
    FrameHandler handler;
    QStringList cameras() const override { return { "Cam A" }; }
    int currentCamera() const override { return 0; }
    void selectCamera(int) override { }
    void setFrameHandler(FrameHandler h) override { handler = std::move(h); }
    void start() override { calls << "start"; }
    void stop() override { calls << "stop"; }
    QList<Format> formats() const override { return list; }
    int currentFormat() const override { return 0; }
    QSize applyFormat(int index) override { return list[index].size; }
    QList<Control> controls() const override { return knobs; }
    void applyControls(const QList<Control>& c) override { appliedKnobs = c; }
};

// A frame of `image`'s pixels in `format` (a 32-bit RGB order).
QVideoFrame frameOf(const QImage& image, QVideoFrameFormat::PixelFormat format = QVideoFrameFormat::Format_BGRX8888)
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

QImage solid(QRgb colour)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Frame colours that are neither grey nor a tool colour.
const QRgb palette[] = { 0xff123456, 0xff654321, 0xff2468ac, 0xffa86420 };

// The shown main window with a camera that delivers what the test pushes.
struct Scene : ShownFrame {
    explicit Scene(const QString& ini)
        : ShownFrame(ini)
    {
        video().setFrameSource(std::unique_ptr<FrameSource>(cameras));
    }
    QImage picture() { return doc().FrameBuffer.image().copy(); }
    // Pushes from another thread, as a camera does, and lets the queued notices run.
    void push(const QImage& image, QVideoFrameFormat::PixelFormat format = QVideoFrameFormat::Format_BGRX8888)
    {
        push(frameOf(image, format));
    }
    void push(const QVideoFrame& frame)
    {
        std::thread([this, frame] { cameras->handler(frame); }).join();
        QCoreApplication::sendPostedEvents();
    }
    FakeSource* cameras = new FakeSource;
};

} // namespace

class TestCapture : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    // Favourites of its own: other tests empty the shared library.
    void initTestCase() { qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8()); }

    void liveFrames_data()
    {
        // Frames of a format and size, the command that makes the picture
        // live, and an output made while live.
        columns<QVideoFrameFormat::PixelFormat, QSize, int, int>("format", "size", "live", "output");
        const int live = ID_MAKE_IMAGE_LIVE;
        const auto bgrx = QVideoFrameFormat::Format_BGRX8888, bgra = QVideoFrameFormat::Format_BGRA8888;
        QTest::newRow("BGRX, same size, saved") << bgrx << QSize(640, 480) << live << int(ID_FILE_SAVE);
        QTest::newRow("BGRA, larger: clipped, printed") << bgra << QSize(800, 600) << live << int(ID_FILE_PRINT);
        QTest::newRow("BGRX, smaller, to favourites") << bgrx << QSize(320, 200) << live << int(ID_FAVORITES_ADD);
        QTest::newRow("RGBX, converted") << QVideoFrameFormat::Format_RGBX8888 << QSize(700, 400) << live << 0;
        QTest::newRow("live by 32812") << bgrx << QSize(640, 480) << int(ID_LIVE) << 0;
    }
    void liveFrames()
    {
        const auto [format, size, live, output]
            = fetch<QVideoFrameFormat::PixelFormat, QSize, int, int>("format", "size", "live", "output");
        Scene scene(ini());
        QImage expected = scene.picture();
        QCOMPARE(scene.action(ID_FREEZE)->text(), QStringLiteral("Live!"));
        scene.frame.dispatch(live);
        QCOMPARE(scene.action(ID_FREEZE)->text(), QStringLiteral("&Freeze!\tEsc"));
        const QImage picture = TestImages::pattern(size.width(), size.height());
        scene.push(picture, format);
        QPainter(&expected).drawImage(0, 0, picture);
        QCOMPARE(scene.picture(), expected);
        if (output) {
            // The camera stops for the output only, after its dialog.
            scene.prompts.saveFileAnswer = dir.filePath(QStringLiteral("live.png"));
            scene.prompts.addFavoriteAccept = true;
            scene.prompts.printerSetup = [&](QPrinter& printer) {
                printer.setOutputFileName(dir.filePath(QStringLiteral("live.pdf")));
                return scene.cameras->calls.last() == QStringLiteral("start");
            };
            scene.action(output)->trigger();
            QCOMPARE(scene.cameras->calls.mid(scene.cameras->calls.size() - 2), (QStringList { "stop", "start" }));
            QVERIFY(scene.doc().IsLive() && scene.prompts.messages.isEmpty());
            const QImage saved(scene.prompts.saveFileAnswer);
            QVERIFY(output != ID_FILE_SAVE
                || saved.copy(20, 20, 640, 480).convertToFormat(QImage::Format_RGB32) == expected);
        }
        // Frozen, frames are not taken; Freeze then resumes.
        scene.action(ID_FREEZE_IMAGE)->trigger();
        scene.push(solid(palette[2]));
        QCOMPARE(scene.picture(), expected);
        scene.action(ID_FREEZE)->trigger();
        QVERIFY(scene.doc().IsLive());
    }

    // A YUV frame that names no colour space is taken as BT.709 from 720 lines up, else as BT.601, in
    // video range: every channel of every luma and chroma pair as the published formula gives it.
    void yuvFrames_data()
    {
        columns<QSize, double, double>("size", "kr", "kb");
        QTest::newRow("640 x 480: BT.601") << QSize(640, 480) << 0.299 << 0.114;
        QTest::newRow("1280 x 720: BT.709") << QSize(1280, 720) << 0.2126 << 0.0722;
    }
    void yuvFrames()
    {
        const auto [size, kr, kb] = fetch<QSize, double, double>("size", "kr", "kb");
        const auto lumaAt = [](int x, int y) { return (3 * x + 5 * y) & 255; };
        const auto chromaAt = [](int x, int y) { return QPoint((7 * (x / 2)) & 255, (13 * (y / 2) + x / 2) & 255); };
        QVideoFrame frame(QVideoFrameFormat(size, QVideoFrameFormat::Format_NV12));
        QVERIFY(frame.map(QVideoFrame::WriteOnly));
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                frame.bits(0)[y * frame.bytesPerLine(0) + x] = uchar(lumaAt(x, y));
                uchar* uv = frame.bits(1) + y / 2 * frame.bytesPerLine(1) + (x & ~1);
                uv[0] = uchar(chromaAt(x, y).x());
                uv[1] = uchar(chromaAt(x, y).y());
            }
        }
        frame.unmap();
        Scene scene(ini());
        scene.action(ID_MAKE_IMAGE_LIVE)->trigger();
        scene.push(frame);
        const QImage picture = scene.picture();
        const double kg = 1 - kr - kb, c = 255.0 / 224;
        int offByOne = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                const double l = 255.0 / 219 * (lumaAt(x, y) - 16), u = c * (chromaAt(x, y).x() - 128),
                             v = c * (chromaAt(x, y).y() - 128);
                const double want[] = { l + 2 * (1 - kr) * v, l - 2 * (kb * (1 - kb) * u + kr * (1 - kr) * v) / kg,
                    l + 2 * (1 - kb) * u };
                const QRgb is = picture.pixel(x, y);
                const int got[] = { qRed(is), qGreen(is), qBlue(is) };
                for (int i = 0; i < 3; ++i) {
                    const int miss = std::abs(got[i] - int(std::clamp(std::lround(want[i]), 0L, 255L)));
                    QVERIFY2(miss <= 1, qPrintable(QStringLiteral("(%1, %2) channel %3").arg(x).arg(y).arg(i)));
                    offByOne += miss;
                }
            }
        }
        // Single precision may tip a rounding the other way now and then; a weight wrong in its 4th decimal
        // tips thousands.
        QVERIFY2(offByOne < 100, qPrintable(QString::number(offByOne)));
    }

    void historyFormatAndControls()
    {
        Scene scene(ini());
        scene.cameras->list = { { { 320, 240 }, 30 }, { { 1280, 720 }, 15 } };
        scene.cameras->knobs = { { QStringLiteral("Zoom"), 1, 4, 1 } };
        scene.action(ID_MONOCHROME)->trigger();
        scene.action(ID_MAKE_IMAGE_LIVE)->trigger();
        // A frame lands, and before its notice arrives the user freezes and
        // filters: the filter is a step of the frozen frame's history.
        const QImage frame = TestImages::pattern(640, 480);
        std::thread([&] { scene.cameras->handler(frameOf(frame)); }).join();
        scene.frame.action(ID_FREEZE_IMAGE)->trigger();
        QCOMPARE(scene.picture(), frame);
        scene.frame.action(ID_MONOCHROME)->trigger();
        QCoreApplication::sendPostedEvents();
        scene.action(ID_EDIT_UNDO)->trigger();
        QCOMPARE(scene.picture(), frame);
        QVERIFY(!scene.enabled(ID_EDIT_UNDO) && !scene.doc().ImageChanged());

        // A frame that lands after a step starts a new history, and so does a new format.
        scene.action(ID_EDIT_REDO)->trigger();
        scene.action(ID_MAKE_IMAGE_LIVE)->trigger();
        scene.push(solid(palette[1]));
        QVERIFY(!scene.enabled(ID_EDIT_UNDO) && !scene.enabled(ID_EDIT_REDO) && !scene.doc().ImageChanged());
        scene.action(ID_FREEZE_IMAGE)->trigger();
        scene.action(ID_EDGE_ENHANCE)->trigger();
        QVERIFY(scene.enabled(ID_EDIT_UNDO));
        scene.prompts.videoFormatAnswer = 1;
        scene.action(ID_VIDEO_FORMAT)->trigger();
        QVERIFY(!scene.enabled(ID_EDIT_UNDO) && !scene.doc().ImageChanged() && scene.doc().IsLive());
        QCOMPARE(scene.prompts.formatsSeen, QStringList({ "320 x 240, 30.0 fps", "1280 x 720, 15.0 fps" }));
        QCOMPARE(scene.doc().FrameBuffer.size(), QSize(1280, 720));
        QCOMPARE(
            QSize(scene.settings.readInt("Image", "ImageWidth", 0), scene.settings.readInt("Image", "ImageHeight", 0)),
            QSize(1280, 720));

        scene.prompts.videoControlsAccept = true;
        scene.prompts.videoControlsChange = [](QList<FrameSource::Control>& c) { c[0].value = 2.5; };
        scene.action(ID_VIDEO_CONTROLS)->trigger();
        QCOMPARE(scene.cameras->appliedKnobs.value(0).value, 2.5);

        // The real dialog puts each control on a slider of a thousand steps; OK gives the nearest step back.
        QList<FrameSource::Control> focus { { QStringLiteral("Focus"), 0, 1, 0.3337 } };
        QString title;
        QTimer::singleShot(0, [&title] {
            QWidget* dialog = QApplication::activeModalWidget();
            title = dialog->windowTitle();
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        QVERIFY(DialogPrompts().videoControls(focus));
        QCOMPARE(title, QStringLiteral("Video Controls"));
        QCOMPARE(focus[0].value, 0.334);
    }

    void framesAtFullSpeedNeverTear()
    {
        Scene scene(ini());
        scene.frame.hide(); // composed here, not painted
        ImageDocument& video = scene.doc();
        video.SetFrozen(false);
        const QVideoFrame frames[] = { frameOf(solid(palette[0])), frameOf(solid(palette[1])),
            frameOf(solid(palette[2])), frameOf(solid(palette[3])) };
        std::atomic<int> pushed { 0 }, stop { 0 };
        std::thread camera([&] {
            for (int i = 0; !stop; ++i, ++pushed)
                scene.cameras->handler(frames[i % 4]);
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
            // Never two frames' colours in one picture.
            const QImage view = video.BackBuffer.image().copy(
                video.BorderWidth, video.BorderWidth, video.FrameBuffer.width(), video.FrameBuffer.height());
            const auto* pixels = reinterpret_cast<const QRgb*>(view.constBits());
            const auto* end = pixels + view.sizeInBytes() / 4;
            QVERIFY2(std::count_if(std::begin(palette), std::end(palette),
                         [&](QRgb colour) { return std::find(pixels, end, colour) != end; })
                    <= 1,
                qPrintable(QString::number(i)));
            QCoreApplication::processEvents();
        }
        stop = true;
        camera.join();
        QVERIFY(pushed > 0);
    }
};

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
