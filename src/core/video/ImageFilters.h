// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QImage>
#include <QRgb>
#include <QtGlobal>

// The Image menu's filters on 32-bit pixels (bytes blue, green, red, unused),
// and the one brightness measure of the program.
//
// Large images are cut into row bands shared with BandWorkers; on x86 the
// rows are done with SSSE3 when the processor has it. Every way gives the
// same pixels as the plain per-pixel rule.
class ImageFilters {
public:
    // ⌊(blue + green + red) / 3⌋; colour weights are not used.
    static int luma(QRgb pixel) { return (qBlue(pixel) + qGreen(pixel) + qRed(pixel)) / 3; }

    // From this many pixels on, the filters use every core.
    static constexpr qint64 bandedFromPixels = 1000 * 1000;

    // Makes every pixel grey: its luma in blue, green and red. In place.
    static void monochrome(QImage& image);
    // The same into `result`, which takes source's size and is reused when
    // it has it already; `source` is left as it is.
    static void monochrome(const QImage& source, QImage& result);

    // The edge image of `source`'s luma (the grey that monochrome() would
    // leave), into `result`, which takes source's size and is reused when it
    // has it already. Per pixel: the Prewitt sums
    //   Gv = the three lumas of the row below − the three of the row above,
    //   Gh = the three lumas of the column left − the three of the column right,
    // with pixels outside the image counted as 0; m = |Gv| + |Gh| limited to
    // 255; the pixel becomes grey 255 − m. Uniform areas turn white, edges
    // dark, and a bright image gets a dark outline.
    static void edgeEnhance(const QImage& source, QImage& result);

    // The same, cut into `bands` row bands (0: a few per core for large
    // images, else one) and with `vector` false without SIMD, so that tests
    // and benchmarks can compare the ways.
    static void monochrome(QImage& image, int bands, bool vector);
    static void edgeEnhance(const QImage& source, QImage& result, int bands, bool vector);
};
