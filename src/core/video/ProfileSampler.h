// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QImage>

// The brightness profile that the histogram panes show: along one image row
// (positions x = 0, 1, …) or down one column (y = 0, 1, …), each value the
// mean luma of a strip three pixels wide across the line.
class ProfileSampler {
public:
    // The panes hold this many values; longer lines are cut.
    static constexpr int maxSamples = 2048;

    // Fills samples[0 … N − 1], N = min(line length, maxSamples), and returns
    // N; later entries keep what they held. A position's value is
    // ⌊sum / n⌋ of its own luma and those of its two neighbours across the
    // line that lie inside the image. A row or column outside the image
    // gives N zeros.
    static int sample(const QImage& image, bool alongRow, int line, int* samples);
};
