// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QImage>

// A picture of 32-bit pixels (bytes blue, green, red, unused), addressed with
// y from the top. Used for the image (FrameBuffer) and the composed view
// (BackBuffer). A 0 x 0 buffer has no pixels at all.
class PixelBuffer {
public:
    // Makes the buffer w x h and black. The memory is kept when the size does
    // not change: a fresh buffer of a camera image costs far more in page
    // faults than clearing it.
    void allocate(int w, int h);

    // Takes the pixels of `decoded` (Format_RGB32) without the outer `border`
    // pixels on every edge. With no border the memory is exchanged, so
    // `decoded` receives this buffer's old memory for reuse.
    void adopt(QImage& decoded, int border);

    int width() const { return pixels.width(); }
    int height() const { return pixels.height(); }
    QSize size() const { return pixels.size(); }
    bool isEmpty() const { return pixels.isNull(); }

    QImage& image() { return pixels; }
    const QImage& image() const { return pixels; }

private:
    QImage pixels;
};
