// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CSampleGrabberCallback.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include <QVideoFrame>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

#include "core/document/ImageDocument.h"
#include "core/video/YuvConverter.h"

namespace {

// Rows of 32-bit pixels whose bytes are blue, green, red, any: the
// FrameBuffer's order, with the fourth byte made opaque as RGB32 wants.
// With the lock held: the copy is counted in `copies` (when given) before anyone else can look at the picture.
void copyRows(const uchar* source, qsizetype stride, QSize size, QImage& target, std::atomic<quint64>* copies)
{
    const int w = std::min(size.width(), target.width());
    const int h = std::min(size.height(), target.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const quint32*>(source + y * stride);
        auto* out = reinterpret_cast<quint32*>(target.scanLine(y));
        for (int x = 0; x < w; ++x)
            out[x] = in[x] | 0xff000000u;
    }
    if (copies)
        ++*copies;
}

bool isBgr32(QVideoFrameFormat::PixelFormat format)
{
    // Little-endian memory order of a QRgb; the platforms built for are all little-endian.
    return format == QVideoFrameFormat::Format_BGRX8888 || format == QVideoFrameFormat::Format_BGRA8888
        || format == QVideoFrameFormat::Format_BGRA8888_Premultiplied;
}

// Whether `bytes` from `start` are still mapped. PipeWire's GStreamer
// source (0.3.65) unmaps its buffers when the stream renegotiates, also
// those of frames that Qt has queued but not yet handed on: such a frame
// is dropped rather than read.
bool stillMapped(const uchar* start, qsizetype bytes)
{
#ifdef Q_OS_LINUX
    static const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t first = reinterpret_cast<uintptr_t>(start) & ~(page - 1);
    const uintptr_t end = reinterpret_cast<uintptr_t>(start) + uintptr_t(bytes);
    thread_local std::vector<unsigned char> residency;
    residency.resize((end - first + page - 1) / page);
    return mincore(reinterpret_cast<void*>(first), end - first, residency.data()) == 0;
#else
    Q_UNUSED(start);
    Q_UNUSED(bytes);
    return true;
#endif
}

bool planesMapped(const YuvConverter::Planes& planes)
{
    for (int i = 0; i < 3; ++i) {
        if (planes.data[i] && !stillMapped(planes.data[i], planes.bytes[i]))
            return false;
    }
    return true;
}

std::optional<YuvConverter::Layout> yuvLayout(QVideoFrameFormat::PixelFormat format)
{
    switch (format) {
    case QVideoFrameFormat::Format_NV12:
        return YuvConverter::Layout::NV12;
    case QVideoFrameFormat::Format_NV21:
        return YuvConverter::Layout::NV21;
    case QVideoFrameFormat::Format_YUV420P:
        return YuvConverter::Layout::I420;
    case QVideoFrameFormat::Format_YV12:
        return YuvConverter::Layout::YV12;
    case QVideoFrameFormat::Format_YUYV:
        return YuvConverter::Layout::YUYV;
    case QVideoFrameFormat::Format_UYVY:
        return YuvConverter::Layout::UYVY;
    default:
        return std::nullopt;
    }
}

// The matrix and range the frame declares; without one, HD frames are
// BT.709 and smaller ones BT.601, as video standards have it.
const YuvConverter& converterFor(const QVideoFrameFormat& format)
{
    static const YuvConverter converters[3][2] = {
        { { YuvConverter::Matrix::BT601, false }, { YuvConverter::Matrix::BT601, true } },
        { { YuvConverter::Matrix::BT709, false }, { YuvConverter::Matrix::BT709, true } },
        { { YuvConverter::Matrix::BT2020, false }, { YuvConverter::Matrix::BT2020, true } },
    };
    int matrix = format.frameHeight() >= 720 ? 1 : 0;
    bool full = format.colorRange() == QVideoFrameFormat::ColorRange_Full;
    switch (format.colorSpace()) {
    case QVideoFrameFormat::ColorSpace_BT601:
        matrix = 0;
        break;
    case QVideoFrameFormat::ColorSpace_BT709:
        matrix = 1;
        break;
    case QVideoFrameFormat::ColorSpace_BT2020:
        matrix = 2;
        break;
    case QVideoFrameFormat::ColorSpace_AdobeRgb:
        // JPEG's full-range BT.601.
        matrix = 0;
        full = true;
        break;
    default:
        break;
    }
    return converters[matrix][full ? 1 : 0];
}

} // namespace

CSampleGrabberCallback::CSampleGrabberCallback(ImageDocument& owner)
    : owner(owner)
{
}

void CSampleGrabberCallback::SampleCB(const QVideoFrame& frame)
{
    if (!copyFrame(frame, owner.FrameBuffer.image(), owner.frameLock, scratch, &owner.live, &owner.framesCopied))
        return;
    owner.frameArrived();
}

bool CSampleGrabberCallback::copyFrame(const QVideoFrame& frame, QImage& target, std::mutex& lock, QImage& scratch,
    const std::atomic<bool>* gate, std::atomic<quint64>* copies)
{
    if (!frame.isValid())
        return false;
    QVideoFrame mapped(frame);
    const std::optional<YuvConverter::Layout> layout = yuvLayout(frame.pixelFormat());
    if (isBgr32(frame.pixelFormat()) || layout) {
        if (!mapped.map(QVideoFrame::ReadOnly))
            return false;
        // Planes are checked against the frame's size before anything is
        // read: a camera changing its format can deliver a frame whose
        // planes are smaller than its size says.
        YuvConverter::Planes planes;
        for (int i = 0; i < std::min(mapped.planeCount(), 3); ++i) {
            planes.data[i] = mapped.bits(i);
            planes.stride[i] = mapped.bytesPerLine(i);
            planes.bytes[i] = mapped.mappedBytes(i);
        }
        const QSize size = mapped.size();
        bool copied = false;
        if (!planesMapped(planes)) {
            copied = false;
        } else if (layout) {
            if (YuvConverter::fits(*layout, planes, size)) {
                // Converted outside the lock, so that painting waits only for the copy.
                if (scratch.size() != size || scratch.format() != QImage::Format_RGB32)
                    scratch = QImage(size, QImage::Format_RGB32);
                converterFor(frame.surfaceFormat()).convert(*layout, planes, size, scratch);
                std::lock_guard<std::mutex> hold(lock);
                if (!gate || *gate) {
                    copyRows(scratch.constBits(), scratch.bytesPerLine(), scratch.size(), target, copies);
                    copied = true;
                }
            }
        } else {
            const qsizetype rowBytes = 4 * qsizetype(size.width());
            const bool fits = size.width() > 0 && size.height() > 0 && planes.data[0] && planes.stride[0] >= rowBytes
                && planes.bytes[0] >= qsizetype(planes.stride[0]) * (size.height() - 1) + rowBytes;
            std::lock_guard<std::mutex> hold(lock);
            if (fits && (!gate || *gate)) {
                copyRows(planes.data[0], planes.stride[0], size, target, copies);
                copied = true;
            }
        }
        mapped.unmap();
        return copied;
    }
    // Any other format (MJPEG, RGB orders) through Qt's own conversion,
    // outside the lock so that painting waits only for the copy.
    QImage converted = mapped.toImage();
    if (converted.isNull())
        return false;
    if (converted.format() == QImage::Format_RGB32 || converted.format() == QImage::Format_ARGB32) {
        scratch = std::move(converted);
    } else {
        scratch = converted.convertToFormat(QImage::Format_RGB32);
    }
    std::lock_guard<std::mutex> hold(lock);
    if (gate && !*gate)
        return false;
    copyRows(scratch.constBits(), scratch.bytesPerLine(), scratch.size(), target, copies);
    return true;
}
