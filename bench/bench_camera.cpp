// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <mutex>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QVideoFrame>

#include "../tests/VirtualCamera.h"
#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/DialogPrompts.h"
#include "ui/video/CImagePane.h"
#include "ui/video/CSampleGrabberCallback.h"
#include "ui/video/CVideoWnd.h"
#include "ui/video/QtCameraSource.h"

// ---------------------------------------------------------------------------
// The live picture with a virtual camera of 1920 x 1080 at 30 frames per
// second, in the shown main window: frames shown per second over ten
// seconds, the UI thread's busy fraction (its CPU time over the wall time),
// and the latency from a frame's arrival in Scopique's frame handler to its
// repaint being queued. Printed, not judged.
// ---------------------------------------------------------------------------
namespace {

using Clock = std::chrono::steady_clock;

double threadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Counts the Video Window's paints that show at least one new frame.
struct PaintCounter : QObject {
    int newFrames = 0;
    int shown = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && newFrames > 0) {
            ++shown;
            newFrames = 0;
        }
        return false;
    }
};

// Runs the event loop as the program does: the thread sleeps while idle.
void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figures {
    double delivered = 0;
    double shown = 0;
    double busy = 0;
    double latencyMedian = 0;
    double latencyMax = 0;
};

bool measure(VirtualCameraStack& stack, const QString& format, int seconds, Figures& out)
{
    QTemporaryDir dir;
    SettingsStore settings(dir.filePath(QStringLiteral("Scopique.conf")));
    DialogPrompts prompts;
    // Made before the camera is plugged in, so that the window starts
    // without one and takes the timed source below.
    CMainFrame frame(settings, prompts);
    prompts.setParentWindow(&frame);
    frame.resize(1400, 1000);
    frame.show();
    const auto camera
        = stack.plugIn(QStringLiteral("Bench") + format, format, { 1920, 1080 }, VirtualCameraStack::Picture::Bars, 30);
    if (!camera) {
        std::printf("camera %s: %s\n", qPrintable(format), qPrintable(stack.failure()));
        return false;
    }
    ImageDocument& doc = frame.imagePane().imageDocument();
    CVideoWnd& video = frame.imagePane().videoWnd();
    doc.AllocateFrameBuffer(1920, 1080);

    std::mutex lock;
    std::deque<Clock::time_point> arrivals;
    int delivered = 0;
    QImage scratch;
    // The window's own frame copy, with the arrival noted.
    doc.setFrameSource(std::make_unique<QtCameraSource>(), [&](const QVideoFrame& videoFrame) {
        const Clock::time_point arrived = Clock::now();
        if (!CSampleGrabberCallback::copyFrame(
                videoFrame, doc.FrameBuffer.image(), doc.frameLock, scratch, &doc.live, &doc.framesCopied))
            return;
        {
            std::lock_guard<std::mutex> hold(lock);
            arrivals.push_back(arrived);
            ++delivered;
        }
        doc.frameArrived();
    });
    PaintCounter paints;
    video.installEventFilter(&paints);
    std::vector<double> latencies;
    bool counting = false;
    QObject::connect(&doc, &ImageDocument::pictureChanged, &video, [&] {
        std::lock_guard<std::mutex> hold(lock);
        if (arrivals.empty())
            return;
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - arrivals.front()).count();
        arrivals.pop_front();
        ++paints.newFrames;
        if (counting)
            latencies.push_back(ms);
    });

    doc.SetFrozen(false);
    runEventLoop(2000); // the camera settles
    {
        std::lock_guard<std::mutex> hold(lock);
        delivered = 0;
    }
    paints.shown = 0;
    counting = true;
    const double cpuStart = threadSeconds();
    QElapsedTimer clock;
    clock.start();
    runEventLoop(seconds * 1000);
    const double wall = double(clock.elapsed()) / 1000.0;
    const double cpu = threadSeconds() - cpuStart;
    counting = false;
    // The camera goes while the window has none: nothing to report then.
    doc.setFrameSource(nullptr, {});

    camera->end();
    (void)QTest::qWaitFor([] { return QMediaDevices::videoInputs().isEmpty(); });
    out.delivered = delivered / wall;
    out.shown = paints.shown / wall;
    out.busy = cpu / wall;
    std::sort(latencies.begin(), latencies.end());
    out.latencyMedian = latencies.empty() ? 0 : latencies[latencies.size() / 2];
    out.latencyMax = latencies.empty() ? 0 : latencies.back();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList missing = VirtualCameraStack::missing();
    if (!missing.isEmpty()) {
        std::printf("the virtual camera needs %s (scripts/install-deps installs them)\n",
            qPrintable(missing.join(QStringLiteral(", "))));
        return 1;
    }
    VirtualCameraStack stack;
    if (!stack.failure().isEmpty()) {
        std::printf("camera stack: %s\n", qPrintable(stack.failure()));
        return 1;
    }
    QStringList formats = app.arguments().mid(1);
    if (formats.isEmpty())
        formats = { QStringLiteral("BGRx"), QStringLiteral("YUY2") };
    const int seconds = 10;
    std::printf("1920 x 1080 at 30 fps, %d s each (aims: shown >= 29/s, UI busy <= 25%% of a core)\n", seconds);
    std::printf("%-6s %12s %12s %10s %16s %13s\n", "format", "delivered/s", "shown/s", "UI busy", "latency median",
        "latency max");
    for (const QString& format : formats) {
        Figures figures;
        if (!measure(stack, format, seconds, figures))
            return 1;
        std::printf("%-6s %12.1f %12.1f %9.1f%% %13.2f ms %10.2f ms\n", qPrintable(format), figures.delivered,
            figures.shown, figures.busy * 100, figures.latencyMedian, figures.latencyMax);
    }
    return 0;
}
