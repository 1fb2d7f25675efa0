// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/PixelBuffer.h"

#include <cstring>

void PixelBuffer::allocate(int w, int h)
{
    if (w <= 0 || h <= 0) {
        pixels = QImage();
        return;
    }
    if (pixels.size() != QSize(w, h) || pixels.format() != QImage::Format_RGB32)
        pixels = QImage(w, h, QImage::Format_RGB32);
    // A failed allocation leaves a null image, which every reader treats as empty.
    if (!pixels.isNull())
        pixels.fill(0xff000000u);
}

void PixelBuffer::adopt(QImage& decoded, int border)
{
    Q_ASSERT(decoded.format() == QImage::Format_RGB32);
    if (border == 0) {
        pixels.swap(decoded);
        return;
    }
    const int w = decoded.width() - 2 * border;
    const int h = decoded.height() - 2 * border;
    if (w <= 0 || h <= 0) {
        pixels = QImage();
        return;
    }
    if (pixels.size() != QSize(w, h) || pixels.format() != QImage::Format_RGB32)
        pixels = QImage(w, h, QImage::Format_RGB32);
    if (pixels.isNull())
        return;
    const size_t rowBytes = size_t(w) * 4;
    for (int y = 0; y < h; ++y) {
        const uchar* from = decoded.constScanLine(y + border) + size_t(border) * 4;
        std::memcpy(pixels.scanLine(y), from, rowBytes);
    }
}
