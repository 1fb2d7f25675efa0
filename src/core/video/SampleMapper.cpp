// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/SampleMapper.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>

#include "core/video/BandWorkers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define SCOPIQUE_SSE2 1
#endif

namespace {

constexpr int valueCount = 65536;

bool isColour(const QImage& samples)
{
    return samples.format() == QImage::Format_RGBX64;
}

int bandsFor(const QImage& image, int bands)
{
    return BandWorkers::bandsFor(qint64(image.width()) * image.height(), SampleMapper::bandedFromPixels, bands);
}

// The FrameBuffer is written once and read back only by the next paint:
// stores that bypass the cache skip reading every line before it is
// overwritten, which is a third of the memory traffic.
#ifdef SCOPIQUE_SSE2
inline int alignedFrom(const quint32* out, int w)
{
    int x = 0;
    while (x < w && (reinterpret_cast<std::uintptr_t>(out + x) & 15) != 0)
        ++x;
    return x;
}
#endif

void greyRow(const quint16* in, quint32* out, int w, const quint32* table)
{
    int x = 0;
#ifdef SCOPIQUE_SSE2
    const int from = alignedFrom(out, w);
    for (; x < from; ++x)
        out[x] = table[in[x]];
    for (; x + 8 <= w; x += 8) {
        const __m128i low
            = _mm_setr_epi32(int(table[in[x]]), int(table[in[x + 1]]), int(table[in[x + 2]]), int(table[in[x + 3]]));
        const __m128i high = _mm_setr_epi32(
            int(table[in[x + 4]]), int(table[in[x + 5]]), int(table[in[x + 6]]), int(table[in[x + 7]]));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), low);
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + x + 4), high);
    }
#endif
    for (; x < w; ++x)
        out[x] = table[in[x]];
}

inline quint32 colourPixel(const quint16* p, const quint8* table)
{
    return 0xff000000u | quint32(table[p[0]]) << 16 | quint32(table[p[1]]) << 8 | table[p[2]];
}

// Samples of red, green, blue and an unused fourth, 16 bits each.
void colourRow(const quint16* in, quint32* out, int w, const quint8* table)
{
    int x = 0;
#ifdef SCOPIQUE_SSE2
    const int from = alignedFrom(out, w);
    for (; x < from; ++x)
        out[x] = colourPixel(in + 4 * x, table);
    for (; x + 4 <= w; x += 4) {
        const quint16* p = in + 4 * x;
        const __m128i four = _mm_setr_epi32(int(colourPixel(p, table)), int(colourPixel(p + 4, table)),
            int(colourPixel(p + 8, table)), int(colourPixel(p + 12, table)));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + x), four);
    }
#endif
    for (; x < w; ++x)
        out[x] = colourPixel(in + 4 * x, table);
}

// The grey pixel, or the level of one channel, that every sample value
// shows as. Kept by the thread that maps, so that a range change does not
// allocate (and fault in) a quarter of a megabyte each time.
template <typename Entry> const Entry* lookupTable(DisplayRange range, Entry (*entry)(int level))
{
    thread_local std::vector<Entry> table;
    table.resize(valueCount);
    // Below and above the range the values show black and white; only those
    // between need the rule.
    const int first = qBound(0, range.minimum, valueCount - 1);
    const int last = qBound(first, range.maximum, valueCount - 1);
    std::fill(table.begin(), table.begin() + first, entry(SampleMapper::displayed(first - 1, range)));
    for (int v = first; v <= last; ++v)
        table[size_t(v)] = entry(SampleMapper::displayed(v, range));
    std::fill(table.begin() + last + 1, table.end(), entry(SampleMapper::displayed(last + 1, range)));
    return table.data();
}

quint32 greyPixel(int level)
{
    return 0xff000000u | quint32(level) * 0x010101u;
}

quint8 channelLevel(int level)
{
    return quint8(level);
}

// Auto's search looks this far into each end of a sample of the rows (per
// ten thousand): beyond the share it leaves out, so that the counted ends
// hold the values it is after unless the sample misleads, and no further,
// because every value counted at an end costs more than a skipped one.
constexpr qint64 searchPerTenThousand = 50;
// Every this many rows make the sample.
constexpr int sampleRowStep = 32;

// Counts every sample of rows first … last − 1.
void countAll(const QImage& samples, int first, int last, quint32* counts)
{
    const int w = samples.width();
    const bool colour = isColour(samples);
    for (int y = first; y < last; ++y) {
        const auto* row = reinterpret_cast<const quint16*>(samples.constScanLine(y));
        if (!colour) {
            for (int x = 0; x < w; ++x)
                ++counts[row[x]];
        } else {
            for (int x = 0; x < 4 * w; x += 4) {
                ++counts[row[x]];
                ++counts[row[x + 1]];
                ++counts[row[x + 2]];
            }
        }
    }
}

// Counts every sample of rows first … last − 1 whose value is at most `low`
// or at least `high`; the others are passed over.
void countEnds(const QImage& samples, int first, int last, int low, int high, quint32* counts)
{
    const bool colour = isColour(samples);
    const int values = (colour ? 4 : 1) * samples.width();
    // The fourth value of a colour pixel is unused.
    const auto counted = [&](int i, int v) { return (!colour || (i & 3) != 3) && (v <= low || v >= high); };
    for (int y = first; y < last; ++y) {
        const auto* row = reinterpret_cast<const quint16*>(samples.constScanLine(y));
        int i = 0;
#ifdef SCOPIQUE_SSE2
        const __m128i lowest = _mm_set1_epi16(short(low));
        const __m128i highest = _mm_set1_epi16(short(high));
        const __m128i zero = _mm_setzero_si128();
        // Two mask bits per value; those of the unused values are cleared.
        const unsigned lanes = colour ? 0x3f3fu : 0xffffu;
        // Which of eight values lie in an end, two mask bits each.
        const auto endsOf = [&](int at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
            // v <= low where v − low saturates to 0, v >= high where high − v does.
            return _mm_or_si128(
                _mm_cmpeq_epi16(_mm_subs_epu16(v, lowest), zero), _mm_cmpeq_epi16(_mm_subs_epu16(highest, v), zero));
        };
        const auto countMasked = [&](int at, unsigned mask) {
            for (mask &= lanes; mask != 0;) {
                const int lane = __builtin_ctz(mask) / 2;
                ++counts[row[at + lane]];
                mask &= ~(3u << (2 * lane));
            }
        };
        // Most values lie between the ends: one test for 32 of them.
        for (; i + 32 <= values; i += 32) {
            const __m128i a = endsOf(i), b = endsOf(i + 8), c = endsOf(i + 16), d = endsOf(i + 24);
            if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) == 0)
                continue;
            countMasked(i, unsigned(_mm_movemask_epi8(a)));
            countMasked(i + 8, unsigned(_mm_movemask_epi8(b)));
            countMasked(i + 16, unsigned(_mm_movemask_epi8(c)));
            countMasked(i + 24, unsigned(_mm_movemask_epi8(d)));
        }
        for (; i + 8 <= values; i += 8)
            countMasked(i, unsigned(_mm_movemask_epi8(endsOf(i))));
#endif
        for (; i < values; ++i) {
            if (counted(i, row[i]))
                ++counts[row[i]];
        }
    }
}

} // namespace

bool SampleMapper::holdsSamples(const QImage& image)
{
    return image.format() == QImage::Format_Grayscale16 || image.format() == QImage::Format_RGBX64;
}

int SampleMapper::displayed(int sample, DisplayRange range)
{
    if (range.maximum <= range.minimum) {
        if (sample < range.minimum)
            return 0;
        return sample > range.maximum ? 255 : 128;
    }
    if (sample <= range.minimum)
        return 0;
    if (sample >= range.maximum)
        return 255;
    // round(255 × (v − min) / span), halves up, in integers.
    const int span = range.maximum - range.minimum;
    return (510 * (sample - range.minimum) + span) / (2 * span);
}

std::vector<quint32> SampleMapper::histogram(const QImage& samples)
{
    std::vector<quint32> counts(valueCount, 0);
    if (!holdsSamples(samples))
        return counts;
    const int w = samples.width();
    const int h = samples.height();
    const int count = qint64(w) * h < bandedFromPixels ? 1 : BandWorkers::shared().threads();
    // One set of counts per band, added up at the end: bands never share a
    // counter, and counting needs no atomics.
    std::vector<quint32> partial(size_t(count) * valueCount, 0);
    quint32* const partialCounts = partial.data();
    BandWorkers::runBands(count, [&](int band) {
        countAll(samples, BandWorkers::firstRow(h, band, count), BandWorkers::firstRow(h, band + 1, count),
            partialCounts + size_t(band) * valueCount);
    });
    for (int band = 0; band < count; ++band) {
        const quint32* from = partialCounts + size_t(band) * valueCount;
        for (int v = 0; v < valueCount; ++v)
            counts[size_t(v)] += from[v];
    }
    return counts;
}

DisplayRange SampleMapper::autoRange(const std::vector<quint32>& histogram)
{
    qint64 total = 0;
    for (const quint32 n : histogram)
        total += n;
    if (total == 0)
        return DisplayRange();
    const qint64 left = total * trimPerTenThousand / 10000;
    const int last = int(histogram.size()) - 1;
    DisplayRange range;
    qint64 seen = 0;
    for (int v = 0; v <= last; ++v) {
        seen += histogram[size_t(v)];
        if (seen > left) {
            range.minimum = v;
            break;
        }
    }
    seen = 0;
    for (int v = last; v >= 0; --v) {
        seen += histogram[size_t(v)];
        if (seen > left) {
            range.maximum = v;
            break;
        }
    }
    return range;
}

DisplayRange SampleMapper::autoRange(const QImage& samples)
{
    if (!holdsSamples(samples) || qint64(samples.width()) * samples.height() < bandedFromPixels)
        return autoRange(histogram(samples));
    const int w = samples.width();
    const int h = samples.height();
    const int channels = isColour(samples) ? 3 : 1;

    // Where the ends lie, from every sampleRowStep-th row.
    thread_local std::vector<quint32> sampled;
    sampled.assign(valueCount, 0);
    qint64 sampledCount = 0;
    for (int y = 0; y < h; y += sampleRowStep) {
        countAll(samples, y, y + 1, sampled.data());
        sampledCount += qint64(w) * channels;
    }
    const qint64 reach = sampledCount * searchPerTenThousand / 10000;
    int low = 0;
    for (qint64 seen = sampled[0]; seen <= reach && low < valueCount - 1;)
        seen += sampled[size_t(++low)];
    int high = valueCount - 1;
    for (qint64 seen = sampled[size_t(high)]; seen <= reach && high > 0;)
        seen += sampled[size_t(--high)];
    // Ends that meet leave nothing to pass over.
    if (high - low < 2)
        return autoRange(histogram(samples));

    // Each band counts into its own ends of a table kept by this thread;
    // only those are cleared and added up, so the rest of the table is never
    // written and takes no memory.
    const int count = bandsFor(samples, 0);
    thread_local std::unique_ptr<quint32[]> partial;
    thread_local size_t partialSize = 0;
    if (partialSize < size_t(count) * valueCount) {
        partialSize = size_t(count) * valueCount;
        partial.reset(new quint32[partialSize]);
    }
    quint32* const partialCounts = partial.get();
    const auto clearEnds = [low, high](quint32* counts) {
        std::fill(counts, counts + low + 1, 0u);
        std::fill(counts + high, counts + valueCount, 0u);
    };
    BandWorkers::runBands(count, [&](int band) {
        quint32* const mine = partialCounts + size_t(band) * valueCount;
        clearEnds(mine);
        countEnds(
            samples, BandWorkers::firstRow(h, band, count), BandWorkers::firstRow(h, band + 1, count), low, high, mine);
    });
    thread_local std::vector<quint32> counted;
    counted.resize(valueCount);
    clearEnds(counted.data());
    for (int band = 0; band < count; ++band) {
        const quint32* from = partialCounts + size_t(band) * valueCount;
        for (int v = 0; v <= low; ++v)
            counted[size_t(v)] += from[v];
        for (int v = high; v < valueCount; ++v)
            counted[size_t(v)] += from[v];
    }

    // The counted ends must hold more than Auto leaves out; otherwise the
    // sample misled, and every value is counted after all.
    const qint64 left = qint64(w) * h * channels * trimPerTenThousand / 10000;
    DisplayRange range { -1, -1 };
    qint64 seen = 0;
    for (int v = 0; v <= low && range.minimum < 0; ++v) {
        seen += counted[size_t(v)];
        if (seen > left)
            range.minimum = v;
    }
    seen = 0;
    for (int v = valueCount - 1; v >= high && range.maximum < 0; --v) {
        seen += counted[size_t(v)];
        if (seen > left)
            range.maximum = v;
    }
    if (range.minimum < 0 || range.maximum < 0)
        return autoRange(histogram(samples));
    return range;
}

void SampleMapper::map(const QImage& samples, DisplayRange range, QImage& frame)
{
    map(samples, range, frame, 0);
}

void SampleMapper::map(const QImage& samples, DisplayRange range, QImage& frame, int bands)
{
    if (!holdsSamples(samples)) {
        frame = QImage();
        return;
    }
    if (frame.size() != samples.size() || frame.format() != QImage::Format_RGB32)
        frame = QImage(samples.size(), QImage::Format_RGB32);
    if (frame.isNull())
        return;
    const bool colour = isColour(samples);
    const quint32* const greyValues = colour ? nullptr : lookupTable(range, greyPixel);
    const quint8* const levels = colour ? lookupTable(range, channelLevel) : nullptr;
    const int w = samples.width();
    const int h = samples.height();
    // bits() may copy a shared image; the helpers only ever see the pointer.
    uchar* const pixels = frame.bits();
    const qsizetype stride = frame.bytesPerLine();
    const int count = bandsFor(samples, bands);
    BandWorkers::runBands(count, [&](int band) {
        const int last = BandWorkers::firstRow(h, band + 1, count);
        for (int y = BandWorkers::firstRow(h, band, count); y < last; ++y) {
            const auto* in = reinterpret_cast<const quint16*>(samples.constScanLine(y));
            auto* out = reinterpret_cast<quint32*>(pixels + y * stride);
            if (colour)
                colourRow(in, out, w, levels);
            else
                greyRow(in, out, w, greyValues);
        }
#ifdef SCOPIQUE_SSE2
        // The streamed pixels reach memory before the band counts as done.
        _mm_sfence();
#endif
    });
}

int SampleMapper::rawValue(const QImage& samples, int x, int y)
{
    const auto* row = reinterpret_cast<const quint16*>(samples.constScanLine(y));
    if (!isColour(samples))
        return row[x];
    const quint16* p = row + 4 * x;
    return (p[0] + p[1] + p[2]) / 3;
}
