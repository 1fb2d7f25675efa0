// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/output/PngEncoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <QtEndian>

#include <zlib.h>

#include "core/video/BandWorkers.h"

namespace {

// A band of rows holds about this many bytes of filtered rows: small enough
// that the cores share the work evenly when one of them is busy elsewhere,
// large enough that the extra block boundaries cost next to nothing.
constexpr qint64 bandBytes = 512 * 1024;

// Room left after the file for the tags that the saver adds to its header.
constexpr qint64 tagRoom = 4096;

// The PNG filter type of every row.
constexpr uchar paethFilter = 4;

// A zlib stream header for a 32 kB window and the fastest compression.
constexpr uchar zlibHeader[2] = { 0x78, 0x01 };

QString outOfMemory()
{
    return QStringLiteral("there is not enough memory for the picture.");
}

void toRgb(const uchar* pixels, uchar* rgb, int width)
{
    const auto* in = reinterpret_cast<const QRgb*>(pixels);
    for (int x = 0; x < width; ++x) {
        rgb[3 * x] = uchar(qRed(in[x]));
        rgb[3 * x + 1] = uchar(qGreen(in[x]));
        rgb[3 * x + 2] = uchar(qBlue(in[x]));
    }
}

// One filtered row: the filter type, then each byte less the Paeth
// predictor from its left (a), upper (b) and upper-left (c) neighbours.
// Written without branches so that the compiler vectorises it.
void paeth(const uchar* row, const uchar* above, uchar* filtered, qsizetype length)
{
    filtered[0] = paethFilter;
    uchar* out = filtered + 1;
    for (qsizetype i = 0; i < std::min<qsizetype>(3, length); ++i)
        out[i] = uchar(row[i] - above[i]);
    for (qsizetype i = 3; i < length; ++i) {
        const int a = row[i - 3], b = above[i], c = above[i - 3];
        const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
        const int nearerAb = pb < pa ? b : a;
        const int distanceAb = pb < pa ? pb : pa;
        out[i] = uchar(row[i] - (pc < distanceAb ? c : nearerAb));
    }
}

// A band's IDAT chunk (length, type and data; its CRC apart) and its share
// of the stream's Adler-32 checksum.
struct Band {
    QByteArray chunk;
    quint32 crc = 0;
    uLong adler = 0;
    qint64 filteredBytes = 0;
    bool ok = false;
};

// Filters and compresses rows y0 .. y1 - 1 into one IDAT chunk. The first
// band opens the zlib stream; every other band but the last ends on a byte
// boundary (a sync flush) so that the next one can follow; the last one
// closes the deflate stream. The caller adds the stream's checksum.
void compressBand(const QImage& picture, int y0, int y1, bool first, bool last, Band& band)
{
    const int width = picture.width();
    const qsizetype rowBytes = qsizetype(width) * 3;
    std::vector<uchar> above(size_t(rowBytes), 0), row(size_t(rowBytes), 0), filtered(size_t(rowBytes) + 1, 0);
    if (y0 > 0)
        toRgb(picture.constScanLine(y0 - 1), above.data(), width);

    z_stream stream {};
    if (deflateInit2(&stream, 1, Z_DEFLATED, -MAX_WBITS, 8, Z_RLE) != Z_OK)
        return;
    const qint64 header = 8 + (first ? sizeof zlibHeader : 0);
    band.filteredBytes = qint64(rowBytes + 1) * (y1 - y0);
    QByteArray& chunk = band.chunk;
    chunk.resize(qsizetype(header + qint64(deflateBound(&stream, uLong(band.filteredBytes))) + 64));
    if (first)
        std::memcpy(chunk.data() + 8, zlibHeader, sizeof zlibHeader);
    qint64 used = header;
    band.adler = adler32(0, nullptr, 0);
    bool ok = true;
    int result = Z_OK;
    for (int y = y0; y < y1 && ok; ++y) {
        toRgb(picture.constScanLine(y), row.data(), width);
        paeth(row.data(), above.data(), filtered.data(), rowBytes);
        std::swap(row, above);
        band.adler = adler32(band.adler, filtered.data(), uInt(filtered.size()));
        const int flush = y + 1 < y1 ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        stream.next_in = filtered.data();
        stream.avail_in = uInt(filtered.size());
        // Until deflate leaves room in the output: then it has taken all the input.
        do {
            if (used == chunk.size())
                chunk.resize(chunk.size() + chunk.size() / 2);
            stream.next_out = reinterpret_cast<Bytef*>(chunk.data() + used);
            stream.avail_out = uInt(std::min<qint64>(chunk.size() - used, 1 << 30));
            const qint64 room = stream.avail_out;
            result = deflate(&stream, flush);
            used += room - stream.avail_out;
            ok = result == Z_OK || result == Z_STREAM_END || result == Z_BUF_ERROR;
        } while (ok && stream.avail_out == 0);
        ok = ok && stream.avail_in == 0;
    }
    deflateEnd(&stream);
    if (!ok || (last && result != Z_STREAM_END))
        return;
    chunk.resize(qsizetype(used));
    qToBigEndian(quint32(used - 8), chunk.data());
    std::memcpy(chunk.data() + 4, "IDAT", 4);
    band.crc = quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), uInt(used - 4)));
    band.ok = true;
}

void appendBigEndian(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    appendBigEndian(out, quint32(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4).append(data);
    appendBigEndian(
        out, quint32(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + start), uInt(data.size() + 4))));
}

QByteArray bigEndian(std::initializer_list<quint32> values)
{
    QByteArray bytes;
    for (quint32 value : values)
        appendBigEndian(bytes, value);
    return bytes;
}

} // namespace

bool PngEncoder::encode(const QImage& picture, QByteArray& encoded, QString& error)
{
    const int width = picture.width(), height = picture.height();
    const qint64 rowBytes = qint64(width) * 3 + 1;
    const int rowsPerBand = int(std::clamp<qint64>(bandBytes / rowBytes, 1, height));
    std::vector<Band> bands(size_t((height + rowsPerBand - 1) / rowsPerBand));
    const int count = int(bands.size());
    BandWorkers::shared().run(count, [&](int i) {
        // A band that cannot have its memory fails alone; the save reports it.
        try {
            compressBand(picture, i * rowsPerBand, std::min(height, (i + 1) * rowsPerBand), i == 0, i + 1 == count,
                bands[size_t(i)]);
        } catch (const std::bad_alloc&) {
        }
    });

    try {
        qint64 total = 8 + 25 + 21 + 12;
        for (const Band& band : bands) {
            if (!band.ok) {
                error = outOfMemory();
                return false;
            }
            total += band.chunk.size() + 4 + 4;
        }
        QByteArray png;
        // With room for the tags: adding them then moves the bytes instead
        // of copying them to new memory.
        png.reserve(qsizetype(total) + tagRoom);
        png.append("\x89PNG\r\n\x1A\n", 8);
        // 8 bits per channel, colour type 2 (RGB), deflate, adaptive filters, no interlace.
        appendChunk(png, "IHDR", bigEndian({ quint32(width), quint32(height) }).append("\x08\x02\x00\x00\x00", 5));
        // The resolution in pixels per metre, as Qt's writer keeps it.
        if (picture.dotsPerMeterX() > 0 || picture.dotsPerMeterY() > 0)
            appendChunk(png, "pHYs",
                bigEndian({ quint32(picture.dotsPerMeterX()), quint32(picture.dotsPerMeterY()) }).append('\x01'));
        // The deflate stream ends with the Adler-32 checksum of all filtered
        // rows, which the bands' own checksums combine into.
        uLong adler = adler32(0, nullptr, 0);
        for (const Band& band : bands)
            adler = adler32_combine(adler, band.adler, z_off_t(band.filteredBytes));
        char adlerBytes[4];
        qToBigEndian(quint32(adler), adlerBytes);
        for (int i = 0; i < count; ++i) {
            Band& band = bands[size_t(i)];
            quint32 crc = band.crc;
            if (i + 1 == count) {
                band.chunk.append(adlerBytes, 4);
                qToBigEndian(quint32(band.chunk.size() - 8), band.chunk.data());
                crc = quint32(crc32_combine(crc, crc32(0, reinterpret_cast<const Bytef*>(adlerBytes), 4), 4));
            }
            png.append(band.chunk);
            appendBigEndian(png, crc);
            band.chunk = QByteArray();
        }
        appendChunk(png, "IEND", QByteArray());
        encoded = png;
        return true;
    } catch (const std::bad_alloc&) {
        error = outOfMemory();
        return false;
    }
}
