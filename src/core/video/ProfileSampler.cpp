// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ProfileSampler.h"

#include <algorithm>

#include "core/video/ImageFilters.h"

namespace {

const QRgb* rowOf(const QImage& image, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

// The mean of one, two or three lumas; the constant divisors stay
// multiplications.
int mean(int sum, int count)
{
    return count == 3 ? sum / 3 : count == 2 ? sum / 2 : sum;
}

} // namespace

int ProfileSampler::sample(const QImage& image, bool alongRow, int line, int* samples)
{
    const int w = image.width();
    const int h = image.height();
    const int n = std::min(alongRow ? w : h, maxSamples);
    if (line < 0 || line >= (alongRow ? h : w)) {
        std::fill(samples, samples + n, 0);
        return n;
    }
    if (alongRow) {
        const QRgb* row = rowOf(image, line);
        const QRgb* above = line > 0 ? rowOf(image, line - 1) : nullptr;
        const QRgb* below = line + 1 < h ? rowOf(image, line + 1) : nullptr;
        const int count = 1 + (above ? 1 : 0) + (below ? 1 : 0);
        for (int x = 0; x < n; ++x) {
            int sum = ImageFilters::luma(row[x]);
            if (above)
                sum += ImageFilters::luma(above[x]);
            if (below)
                sum += ImageFilters::luma(below[x]);
            samples[x] = mean(sum, count);
        }
    } else {
        const bool hasLeft = line > 0;
        const bool hasRight = line + 1 < w;
        const int count = 1 + (hasLeft ? 1 : 0) + (hasRight ? 1 : 0);
        for (int y = 0; y < n; ++y) {
            const QRgb* row = rowOf(image, y);
            int sum = ImageFilters::luma(row[line]);
            if (hasLeft)
                sum += ImageFilters::luma(row[line - 1]);
            if (hasRight)
                sum += ImageFilters::luma(row[line + 1]);
            samples[y] = mean(sum, count);
        }
    }
    return n;
}
