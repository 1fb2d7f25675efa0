// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <vector>

#include <QImage>
#include <QtGlobal>

#include "core/video/DisplayRange.h"

// Shows pictures of 16 bits per sample (Format_Grayscale16, or
// Format_RGBX64 for colour) as 32-bit pixels: each sample v becomes
// round(255 × (v − minimum) / (maximum − minimum)), limited to 0..255, every
// colour channel through the same range. Large pictures are cut into row
// bands shared with BandWorkers.
class SampleMapper {
public:
    // Auto leaves out this share of the samples at each end, so that a few
    // hot or dead pixels do not decide the contrast.
    static constexpr qint64 trimPerTenThousand = 35;
    // From this many pixels on, the work is shared with BandWorkers.
    static constexpr qint64 bandedFromPixels = 1000 * 1000;

    // Whether `image` is in one of the two sample formats.
    static bool holdsSamples(const QImage& image);

    // How often each value 0..65535 occurs among the samples (all three
    // channels of a colour picture).
    static std::vector<quint32> histogram(const QImage& samples);

    // The lowest and highest value once the darkest and brightest
    // trimPerTenThousand / 10000 of the samples are left out. All samples
    // equal (apart from those left out) give equal limits. An empty
    // histogram gives the full range.
    static DisplayRange autoRange(const std::vector<quint32>& histogram);
    // The same for `samples`, without a full histogram where it can: a
    // sample of the rows tells where the two ends lie, and one pass counts
    // only the values there. The result is autoRange(histogram(samples)).
    static DisplayRange autoRange(const QImage& samples);

    // `frame` becomes samples' size in Format_RGB32, reusing its memory when
    // it has that already, and every pixel the samples' grey or colour
    // through `range`. A null `samples` leaves `frame` null.
    static void map(const QImage& samples, DisplayRange range, QImage& frame);
    // The same in `bands` row bands (0: a few per thread for large pictures),
    // so that tests and benchmarks can compare the ways.
    static void map(const QImage& samples, DisplayRange range, QImage& frame, int bands);

    // The 8-bit value a sample shows as.
    static int displayed(int sample, DisplayRange range);

    // A pixel's raw value: its sample, or for colour ⌊(red + green + blue) / 3⌋
    // of its samples. (x, y) must lie inside the picture.
    static int rawValue(const QImage& samples, int x, int y);
};
