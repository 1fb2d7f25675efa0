// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/YuvConverter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/video/BandWorkers.h"

namespace {

// A plane of `rows` rows of which `rowBytes` are read.
bool planeFits(const YuvConverter::Planes& planes, int i, qsizetype rowBytes, int rows)
{
    return planes.data[i] && planes.stride[i] >= rowBytes
        && planes.bytes[i] >= qsizetype(planes.stride[i]) * (rows - 1) + rowBytes;
}

} // namespace

YuvConverter::YuvConverter(Matrix matrix, bool fullRange)
{
    double kr = 0.299, kb = 0.114;
    if (matrix == Matrix::BT709) {
        kr = 0.2126;
        kb = 0.0722;
    } else if (matrix == Matrix::BT2020) {
        kr = 0.2627;
        kb = 0.0593;
    }
    const double kg = 1.0 - kr - kb;
    // Video range puts black at 16, white at 235 and the chroma within 16..240.
    const double chroma = fullRange ? 1.0 : 255.0 / 224.0;
    lumaScale = float(fullRange ? 1.0 : 255.0 / 219.0);
    lumaOffset = fullRange ? 0 : 16;
    redV = float(2.0 * (1.0 - kr) * chroma);
    blueU = float(2.0 * (1.0 - kb) * chroma);
    greenU = float(-2.0 * kb * (1.0 - kb) / kg * chroma);
    greenV = float(-2.0 * kr * (1.0 - kr) / kg * chroma);
}

bool YuvConverter::fits(Layout layout, const Planes& planes, QSize size)
{
    const int w = size.width(), h = size.height();
    if (w <= 0 || h <= 0)
        return false;
    const int chromaWidth = (w + 1) / 2, chromaRows = (h + 1) / 2;
    switch (layout) {
    case Layout::NV12:
    case Layout::NV21:
        return planeFits(planes, 0, w, h) && planeFits(planes, 1, 2 * qsizetype(chromaWidth), chromaRows);
    case Layout::I420:
    case Layout::YV12:
        return planeFits(planes, 0, w, h) && planeFits(planes, 1, chromaWidth, chromaRows)
            && planeFits(planes, 2, chromaWidth, chromaRows);
    case Layout::YUYV:
    case Layout::UYVY:
        return planeFits(planes, 0, 4 * qsizetype(chromaWidth), h);
    }
    return false;
}

void YuvConverter::convert(Layout layout, const Planes& planes, QSize size, QImage& target) const
{
    const int w = std::min(size.width(), target.width());
    const int h = std::min(size.height(), target.height());
    if (w <= 0 || h <= 0)
        return;
    // Bands of rows on every core; each row is first spread into plain
    // arrays (one luma and one chroma pair per pixel) so that the arithmetic
    // runs as vector code.
    BandWorkers& workers = BandWorkers::shared();
    const int bands = std::min(h, workers.threads() * 4);
    workers.run(bands, [&](int band) {
        std::vector<int> ys(static_cast<size_t>(w)), us(static_cast<size_t>(w)), vs(static_cast<size_t>(w));
        const int last = BandWorkers::firstRow(h, band + 1, bands);
        for (int y = BandWorkers::firstRow(h, band, bands); y < last; ++y) {
            spreadRow(layout, planes, y, w, ys.data(), us.data(), vs.data());
            convertRow(ys.data(), us.data(), vs.data(), w, reinterpret_cast<quint32*>(target.scanLine(y)));
        }
    });
}

void YuvConverter::spreadRow(Layout layout, const Planes& planes, int y, int w, int* ys, int* us, int* vs)
{
    const uchar* lumaRow = planes.data[0] + qsizetype(planes.stride[0]) * y;
    switch (layout) {
    case Layout::NV12:
    case Layout::NV21: {
        const uchar* uv = planes.data[1] + qsizetype(planes.stride[1]) * (y / 2);
        const int u0 = layout == Layout::NV12 ? 0 : 1;
        for (int x = 0; x < w; ++x) {
            ys[x] = lumaRow[x];
            us[x] = uv[(x & ~1) + u0];
            vs[x] = uv[(x & ~1) + 1 - u0];
        }
        break;
    }
    case Layout::I420:
    case Layout::YV12: {
        const int ui = layout == Layout::I420 ? 1 : 2;
        const uchar* uRow = planes.data[ui] + qsizetype(planes.stride[ui]) * (y / 2);
        const uchar* vRow = planes.data[3 - ui] + qsizetype(planes.stride[3 - ui]) * (y / 2);
        for (int x = 0; x < w; ++x) {
            ys[x] = lumaRow[x];
            us[x] = uRow[x / 2];
            vs[x] = vRow[x / 2];
        }
        break;
    }
    case Layout::YUYV:
    case Layout::UYVY: {
        // Byte offsets of the luma, U and V in each four bytes.
        const int yo = layout == Layout::YUYV ? 0 : 1;
        const int uo = layout == Layout::YUYV ? 1 : 0;
        const int pairs = w / 2;
        for (int i = 0; i < pairs; ++i) {
            const uchar* four = lumaRow + 4 * i;
            ys[2 * i] = four[yo];
            ys[2 * i + 1] = four[yo + 2];
            us[2 * i] = us[2 * i + 1] = four[uo];
            vs[2 * i] = vs[2 * i + 1] = four[uo + 2];
        }
        if (w & 1) {
            const uchar* four = lumaRow + 4 * pairs;
            ys[w - 1] = four[yo];
            us[w - 1] = four[uo];
            vs[w - 1] = four[uo + 2];
        }
        break;
    }
    }
}

void YuvConverter::convertRow(const int* ys, const int* us, const int* vs, int w, quint32* out) const
{
    // In single precision, which vectorises on every x86-64 (integer
    // multiplies of 32 bits do not before SSE4.1).
    const float lumaMul = lumaScale, lumaOff = float(lumaOffset) - 0.5f / lumaScale;
    const float rv = redV, gu = greenU, gv = greenV, bu = blueU;
    for (int x = 0; x < w; ++x) {
        const float l = (float(ys[x]) - lumaOff) * lumaMul;
        const float u = float(us[x] - 128), v = float(vs[x] - 128);
        const int r = int(std::min(std::max(l + rv * v, 0.0f), 255.0f));
        const int g = int(std::min(std::max(l + gu * u + gv * v, 0.0f), 255.0f));
        const int b = int(std::min(std::max(l + bu * u, 0.0f), 255.0f));
        out[x] = 0xff000000u | quint32(r) << 16 | quint32(g) << 8 | quint32(b);
    }
}
