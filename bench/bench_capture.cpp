// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstring>
#include <mutex>
#include <string>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QVideoFrame>
#include <QVideoFrameFormat>

#include "ui/video/CSampleGrabberCallback.h"

// ---------------------------------------------------------------------------
// One camera frame into the FrameBuffer (conversion and copy under the frame
// lock, as the capture callback does), beside one plain copy of the frame's
// bytes.
// ---------------------------------------------------------------------------
namespace {

QVideoFrame makeFrame(int w, int h, QVideoFrameFormat::PixelFormat format)
{
    QVideoFrame frame(QVideoFrameFormat(QSize(w, h), format));
    frame.map(QVideoFrame::WriteOnly);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < frame.bytesPerLine(0); ++x)
            frame.bits(0)[y * frame.bytesPerLine(0) + x] = uchar(x * 7 + y);
    frame.unmap();
    return frame;
}

void registerCapture(const std::string& group, int w, int h, QVideoFrameFormat::PixelFormat format)
{
    const QVideoFrame frame = makeFrame(w, h, format);
    benchmark::RegisterBenchmark((group + "/Scopique").c_str(),
        [frame, w, h](benchmark::State& state) {
            QImage target(w, h, QImage::Format_RGB32);
            target.fill(0);
            QImage scratch;
            std::mutex lock;
            for (auto _ : state) {
                CSampleGrabberCallback::copyFrame(frame, target, lock, scratch);
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((group + "/copy").c_str(),
        [frame, w, h](benchmark::State& state) {
            QVideoFrame mapped(frame);
            mapped.map(QVideoFrame::ReadOnly);
            QImage target(w, h, QImage::Format_RGB32);
            target.fill(0);
            const size_t bytes = size_t(mapped.bytesPerLine(0)) * size_t(h);
            for (auto _ : state) {
                std::memcpy(target.bits(), mapped.bits(0), std::min(bytes, size_t(target.sizeInBytes())));
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

void captureBench()
{
    registerCapture("capture/1920x1080_BGRX", 1920, 1080, QVideoFrameFormat::Format_BGRX8888);
    registerCapture("capture/2592x1944_BGRX", 2592, 1944, QVideoFrameFormat::Format_BGRX8888);
    // A format that needs Qt's own conversion, for comparison.
    registerCapture("capture/1920x1080_RGBX", 1920, 1080, QVideoFrameFormat::Format_RGBX8888);
    // The common camera formats through Scopique's own YUV conversion.
    registerCapture("capture/1920x1080_YUYV", 1920, 1080, QVideoFrameFormat::Format_YUYV);
    registerCapture("capture/1920x1080_NV12", 1920, 1080, QVideoFrameFormat::Format_NV12);
}
