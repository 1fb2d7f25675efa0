// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ImageFilters.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "core/video/BandWorkers.h"

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define SCOPIQUE_SSSE3 1
#include <immintrin.h>
// Only these functions use SSSE3; the program still runs on processors
// without it, which take the plain rows.
#define SSSE3_FUNCTION __attribute__((target("ssse3")))
#endif

namespace {

quint32 grey(int v)
{
    return 0xff000000u | quint32(v) * 0x010101u;
}

// Grey rows of the edge filter hold lumas as 16-bit values, with a 0 before
// element 0 and after the last element: the black outside the image.
using Lumas = qint16;

void monochromeRowPlain(quint32* row, int from, int w)
{
    for (int x = from; x < w; ++x)
        row[x] = grey(ImageFilters::luma(row[x]));
}

void lumaRowPlain(const quint32* source, int from, int w, Lumas* lumas)
{
    for (int x = from; x < w; ++x)
        lumas[x] = Lumas(ImageFilters::luma(source[x]));
}

void edgeRowPlain(const Lumas* up, const Lumas* mid, const Lumas* down, quint32* out, int from, int w)
{
    for (int x = from; x < w; ++x) {
        const int gv = (down[x - 1] + down[x] + down[x + 1]) - (up[x - 1] + up[x] + up[x + 1]);
        const int gh = (up[x - 1] + mid[x - 1] + down[x - 1]) - (up[x + 1] + mid[x + 1] + down[x + 1]);
        out[x] = grey(255 - std::min(std::abs(gv) + std::abs(gh), 255));
    }
}

#ifdef SCOPIQUE_SSSE3

// b + g + r of eight pixels as 16-bit values.
SSSE3_FUNCTION inline __m128i colourSums(const quint32* pixels)
{
    const __m128i weights = _mm_setr_epi8(1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0);
    const __m128i a = _mm_maddubs_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels)), weights);
    const __m128i b = _mm_maddubs_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 4)), weights);
    return _mm_hadd_epi16(a, b);
}

// ⌊s / 3⌋ as (s × 21846) >> 16, exact for every sum 0..765.
SSSE3_FUNCTION inline __m128i thirds(__m128i sums)
{
    return _mm_mulhi_epu16(sums, _mm_set1_epi16(21846));
}

// Eight grey pixels from eight 16-bit values, clamped to 0..255.
SSSE3_FUNCTION inline void storeGrey(quint32* out, __m128i values)
{
    const __m128i bytes = _mm_packus_epi16(values, values);
    const __m128i low = _mm_setr_epi8(0, 0, 0, -1, 1, 1, 1, -1, 2, 2, 2, -1, 3, 3, 3, -1);
    const __m128i high = _mm_setr_epi8(4, 4, 4, -1, 5, 5, 5, -1, 6, 6, 6, -1, 7, 7, 7, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_shuffle_epi8(bytes, low), opaque));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_or_si128(_mm_shuffle_epi8(bytes, high), opaque));
}

// Each returns the first x it left to the plain row.
SSSE3_FUNCTION int monochromeRowVector(quint32* row, int w)
{
    int x = 0;
    for (; x + 8 <= w; x += 8)
        storeGrey(row + x, thirds(colourSums(row + x)));
    return x;
}

SSSE3_FUNCTION int lumaRowVector(const quint32* source, int w, Lumas* lumas)
{
    int x = 0;
    for (; x + 8 <= w; x += 8)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lumas + x), thirds(colourSums(source + x)));
    return x;
}

SSSE3_FUNCTION inline __m128i load8(const Lumas* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

SSSE3_FUNCTION int edgeRowVector(const Lumas* up, const Lumas* mid, const Lumas* down, quint32* out, int w)
{
    const __m128i white = _mm_set1_epi16(255);
    int x = 0;
    // Reads reach x + 8, at most the 0 after the row.
    for (; x + 8 <= w; x += 8) {
        const __m128i upLeft = load8(up + x - 1), upRight = load8(up + x + 1);
        const __m128i downLeft = load8(down + x - 1), downRight = load8(down + x + 1);
        const __m128i above = _mm_add_epi16(_mm_add_epi16(upLeft, load8(up + x)), upRight);
        const __m128i below = _mm_add_epi16(_mm_add_epi16(downLeft, load8(down + x)), downRight);
        const __m128i left = _mm_add_epi16(_mm_add_epi16(upLeft, load8(mid + x - 1)), downLeft);
        const __m128i right = _mm_add_epi16(_mm_add_epi16(upRight, load8(mid + x + 1)), downRight);
        const __m128i magnitude
            = _mm_add_epi16(_mm_abs_epi16(_mm_sub_epi16(below, above)), _mm_abs_epi16(_mm_sub_epi16(left, right)));
        // Magnitudes above 255 go negative here, and the pack makes them 0.
        storeGrey(out + x, _mm_sub_epi16(white, magnitude));
    }
    return x;
}

bool haveSsse3()
{
    static const bool have = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3") != 0;
    }();
    return have;
}

#endif

void monochromeRow(quint32* row, int w, bool vector)
{
    int x = 0;
#ifdef SCOPIQUE_SSSE3
    if (vector && haveSsse3())
        x = monochromeRowVector(row, w);
#else
    Q_UNUSED(vector);
#endif
    monochromeRowPlain(row, x, w);
}

void lumaRow(const quint32* source, int w, Lumas* lumas, bool vector)
{
    int x = 0;
#ifdef SCOPIQUE_SSSE3
    if (vector && haveSsse3())
        x = lumaRowVector(source, w, lumas);
#else
    Q_UNUSED(vector);
#endif
    lumaRowPlain(source, x, w, lumas);
}

void edgeRow(const Lumas* up, const Lumas* mid, const Lumas* down, quint32* out, int w, bool vector)
{
    int x = 0;
#ifdef SCOPIQUE_SSSE3
    if (vector && haveSsse3())
        x = edgeRowVector(up, mid, down, out, w);
#else
    Q_UNUSED(vector);
#endif
    edgeRowPlain(up, mid, down, out, x, w);
}

int bandsFor(const QImage& image, int bands)
{
    return BandWorkers::bandsFor(qint64(image.width()) * image.height(), ImageFilters::bandedFromPixels, bands);
}

bool is32Bit(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
}

// Rows first .. last − 1 of the edge image. Each band keeps three grey rows
// in a ring, so every source row is read once, plus one above and one below
// the band.
void edgeBand(const uchar* source, qsizetype sourceStride, uchar* result, qsizetype resultStride, int w, int h,
    int first, int last, bool vector)
{
    if (first >= last)
        return;
    const size_t span = size_t(w) + 2;
    // Kept per thread: the ring is reused by every later run.
    thread_local std::vector<Lumas> scratch;
    if (scratch.size() < 4 * span)
        scratch.resize(4 * span);
    std::fill(scratch.begin(), scratch.begin() + qsizetype(span), Lumas(0));
    const Lumas* outside = scratch.data() + 1;
    Lumas* ring[3];
    for (int i = 0; i < 3; ++i) {
        ring[i] = scratch.data() + size_t(i + 1) * span + 1;
        ring[i][-1] = 0;
        ring[i][w] = 0;
    }
    // Row y lives in ring slot (y − first + 1) mod 3: rows first − 1, first
    // and first + 1 take the three slots.
    const auto slot = [&](int y) { return ring[(y - first + 1) % 3]; };
    const auto fill = [&](int y) {
        if (y >= 0 && y < h)
            lumaRow(reinterpret_cast<const quint32*>(source + y * sourceStride), w, slot(y), vector);
    };
    const auto lumasOf = [&](int y) -> const Lumas* { return y >= 0 && y < h ? slot(y) : outside; };

    fill(first - 1);
    fill(first);
    for (int y = first; y < last; ++y) {
        fill(y + 1);
        edgeRow(lumasOf(y - 1), lumasOf(y), lumasOf(y + 1), reinterpret_cast<quint32*>(result + y * resultStride), w,
            vector);
    }
}

} // namespace

void ImageFilters::monochrome(QImage& image)
{
    monochrome(image, 0, true);
}

void ImageFilters::edgeEnhance(const QImage& source, QImage& result)
{
    edgeEnhance(source, result, 0, true);
}

void ImageFilters::monochrome(const QImage& source, QImage& result)
{
    if (source.isNull()) {
        result = QImage();
        return;
    }
    if (!is32Bit(source) || &source == &result) {
        monochrome(source.convertToFormat(QImage::Format_RGB32), result);
        return;
    }
    if (result.size() != source.size() || result.format() != source.format())
        result = QImage(source.size(), source.format());
    if (result.isNull())
        return;
    const int w = source.width();
    const int h = source.height();
    const uchar* const from = source.constBits();
    const qsizetype fromStride = source.bytesPerLine();
    uchar* const to = result.bits();
    const qsizetype toStride = result.bytesPerLine();
    const int count = bandsFor(source, 0);
    // Each row is copied and then made grey while it is still in the cache.
    BandWorkers::runBands(count, [&](int band) {
        const int last = BandWorkers::firstRow(h, band + 1, count);
        for (int y = BandWorkers::firstRow(h, band, count); y < last; ++y) {
            auto* row = reinterpret_cast<quint32*>(to + y * toStride);
            std::memcpy(row, from + y * fromStride, size_t(w) * 4);
            monochromeRow(row, w, true);
        }
    });
}

void ImageFilters::monochrome(QImage& image, int bands, bool vector)
{
    if (image.isNull())
        return;
    if (!is32Bit(image))
        image.convertTo(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    // bits() may copy a shared image; the helpers only ever see the pointer.
    uchar* const pixels = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int count = bandsFor(image, bands);
    BandWorkers::runBands(count, [&](int band) {
        const int last = BandWorkers::firstRow(h, band + 1, count);
        for (int y = BandWorkers::firstRow(h, band, count); y < last; ++y)
            monochromeRow(reinterpret_cast<quint32*>(pixels + y * stride), w, vector);
    });
}

void ImageFilters::edgeEnhance(const QImage& source, QImage& result, int bands, bool vector)
{
    if (source.isNull()) {
        result = QImage();
        return;
    }
    if (!is32Bit(source) || &source == &result) {
        // A separate source: the result is written while the source is read.
        edgeEnhance(source.convertToFormat(QImage::Format_RGB32), result, bands, vector);
        return;
    }
    if (result.size() != source.size() || result.format() != QImage::Format_RGB32)
        result = QImage(source.size(), QImage::Format_RGB32);
    if (result.isNull())
        return;
    const int w = source.width();
    const int h = source.height();
    const uchar* const from = source.constBits();
    const qsizetype fromStride = source.bytesPerLine();
    uchar* const to = result.bits();
    const qsizetype toStride = result.bytesPerLine();
    const int count = bandsFor(source, bands);
    BandWorkers::runBands(count, [&](int band) {
        edgeBand(from, fromStride, to, toStride, w, h, BandWorkers::firstRow(h, band, count),
            BandWorkers::firstRow(h, band + 1, count), vector);
    });
}
