// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/capture/YuvConverter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double one = 65536.0;

inline quint32 pixel(int y, int r, int g, int b)
{
    const int red = std::clamp((y + r) >> 16, 0, 255);
    const int green = std::clamp((y + g) >> 16, 0, 255);
    const int blue = std::clamp((y + b) >> 16, 0, 255);
    return 0xff000000u | quint32(red) << 16 | quint32(green) << 8 | quint32(blue);
}

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
    const double lumaScale = fullRange ? 1.0 : 255.0 / 219.0;
    const double lumaOffset = fullRange ? 0.0 : 16.0;
    const double chromaScale = fullRange ? 1.0 : 255.0 / 224.0;
    for (int v = 0; v < 256; ++v) {
        const double c = (v - 128) * chromaScale;
        luma[v] = int(std::lround(((v - lumaOffset) * lumaScale) * one + one / 2));
        redFromV[v] = int(std::lround(2.0 * (1.0 - kr) * c * one));
        blueFromU[v] = int(std::lround(2.0 * (1.0 - kb) * c * one));
        greenFromU[v] = int(std::lround(-2.0 * kb * (1.0 - kb) / kg * c * one));
        greenFromV[v] = int(std::lround(-2.0 * kr * (1.0 - kr) / kg * c * one));
    }
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
    for (int y = 0; y < h; ++y) {
        auto* out = reinterpret_cast<quint32*>(target.scanLine(y));
        const uchar* luma0 = planes.data[0] + qsizetype(planes.stride[0]) * y;
        switch (layout) {
        case Layout::NV12:
        case Layout::NV21: {
            const uchar* uv = planes.data[1] + qsizetype(planes.stride[1]) * (y / 2);
            const int u0 = layout == Layout::NV12 ? 0 : 1;
            for (int x = 0; x < w; ++x) {
                const int u = uv[(x & ~1) + u0], v = uv[(x & ~1) + 1 - u0];
                out[x] = pixel(luma[luma0[x]], redFromV[v], greenFromU[u] + greenFromV[v], blueFromU[u]);
            }
            break;
        }
        case Layout::I420:
        case Layout::YV12: {
            const int ui = layout == Layout::I420 ? 1 : 2;
            const uchar* us = planes.data[ui] + qsizetype(planes.stride[ui]) * (y / 2);
            const uchar* vs = planes.data[3 - ui] + qsizetype(planes.stride[3 - ui]) * (y / 2);
            for (int x = 0; x < w; ++x) {
                const int u = us[x / 2], v = vs[x / 2];
                out[x] = pixel(luma[luma0[x]], redFromV[v], greenFromU[u] + greenFromV[v], blueFromU[u]);
            }
            break;
        }
        case Layout::YUYV:
        case Layout::UYVY: {
            // Byte offsets of the first luma, U and V in each four-byte pair.
            const int yo = layout == Layout::YUYV ? 0 : 1;
            const int uo = layout == Layout::YUYV ? 1 : 0;
            const int vo = uo + 2;
            for (int x = 0; x < w; ++x) {
                const uchar* pair = luma0 + 4 * (x / 2);
                const int u = pair[uo], v = pair[vo];
                out[x] = pixel(luma[pair[yo + 2 * (x & 1)]], redFromV[v], greenFromU[u] + greenFromV[v], blueFromU[u]);
            }
            break;
        }
        }
    }
}
