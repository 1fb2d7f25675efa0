// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CSampleGrabberCallback.h"

#include <algorithm>
#include <cstring>

#include <QVideoFrame>

#include "core/document/ImageDocument.h"

namespace {

// Rows of 32-bit pixels whose bytes are blue, green, red, any: the
// FrameBuffer's order, with the fourth byte made opaque as RGB32 wants.
void copyRows(const uchar* source, qsizetype stride, QSize size, QImage& target)
{
    const int w = std::min(size.width(), target.width());
    const int h = std::min(size.height(), target.height());
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const quint32*>(source + y * stride);
        auto* out = reinterpret_cast<quint32*>(target.scanLine(y));
        for (int x = 0; x < w; ++x)
            out[x] = in[x] | 0xff000000u;
    }
}

bool isBgr32(QVideoFrameFormat::PixelFormat format)
{
    // Little-endian memory order of a QRgb; the platforms built for are all little-endian.
    return format == QVideoFrameFormat::Format_BGRX8888 || format == QVideoFrameFormat::Format_BGRA8888
        || format == QVideoFrameFormat::Format_BGRA8888_Premultiplied;
}

} // namespace

CSampleGrabberCallback::CSampleGrabberCallback(ImageDocument& owner)
    : owner(owner)
{
}

void CSampleGrabberCallback::SampleCB(const QVideoFrame& frame)
{
    if (!copyFrame(frame, owner.FrameBuffer.image(), owner.frameLock, scratch, &owner.live))
        return;
    owner.frameArrived();
}

bool CSampleGrabberCallback::copyFrame(
    const QVideoFrame& frame, QImage& target, std::mutex& lock, QImage& scratch, const std::atomic<bool>* gate)
{
    if (!frame.isValid())
        return false;
    QVideoFrame mapped(frame);
    if (isBgr32(frame.pixelFormat())) {
        if (!mapped.map(QVideoFrame::ReadOnly))
            return false;
        bool copied = false;
        {
            std::lock_guard<std::mutex> hold(lock);
            if (!gate || *gate) {
                copyRows(mapped.bits(0), mapped.bytesPerLine(0), mapped.size(), target);
                copied = true;
            }
        }
        mapped.unmap();
        return copied;
    }
    // Any other format (YUV, MJPEG, RGB orders) through Qt's own conversion,
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
    copyRows(scratch.constBits(), scratch.bytesPerLine(), scratch.size(), target);
    return true;
}
