// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QImage>
#include <QSize>

// Turns the YUV frames that cameras commonly send into 32-bit pixels,
// with the colour matrix and range the frame declares. Qt 6.4's own
// conversion gets BT.709 colours wrong by up to 21 levels and reads past
// a plane that is smaller than the frame's size says.
class YuvConverter {
public:
    enum class Layout {
        NV12, // Y plane, then interleaved U, V at half width and height
        NV21, // the same with V first
        I420, // Y, U, V planes, U and V at half width and height
        YV12, // the same with V before U
        YUYV, // one plane: Y0 U Y1 V for each pair of pixels
        UYVY, // one plane: U Y0 V Y1
    };
    enum class Matrix { BT601, BT709, BT2020 };

    struct Planes {
        const uchar* data[3] = {};
        int stride[3] = {};
        // Bytes readable from each plane's start.
        qsizetype bytes[3] = {};
    };

    YuvConverter(Matrix matrix, bool fullRange);

    // False when the planes are too small for a frame of `size` (an odd
    // width or height rounds its chroma up); nothing may be read then.
    static bool fits(Layout layout, const Planes& planes, QSize size);
    // Writes the frame into `target` (Format_RGB32), on every core, once
    // fits() has approved the planes.
    void convert(Layout layout, const Planes& planes, QSize size, QImage& target) const;

private:
    static void spreadRow(Layout layout, const Planes& planes, int y, int w, int* ys, int* us, int* vs);
    void convertRow(const int* ys, const int* us, const int* vs, int w, quint32* out) const;

    // The luma's scale and black level, and what U and V (centred on 0)
    // add to red, green and blue.
    float lumaScale = 1;
    int lumaOffset = 0;
    float redV = 0;
    float greenU = 0;
    float greenV = 0;
    float blueU = 0;
};
