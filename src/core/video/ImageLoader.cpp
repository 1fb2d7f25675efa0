// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ImageLoader.h"

#include <cstdint>
#include <limits>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "core/video/BorderRules.h"
#include "core/video/ImageTags.h"

namespace {

LoadResult failure(const QString& path, const QString& reason)
{
    LoadResult result;
    result.error = QStringLiteral("Scopique cannot open \u201C%1\u201D: %2").arg(QFileInfo(path).fileName(), reason);
    return result;
}

QString notAFile()
{
    return QStringLiteral("it is a pipe, socket or device, not a picture file.");
}

bool canHoldTags(const QByteArray& format)
{
    return format == "jpeg" || format == "png" || format == "tiff";
}

QString megapixels(qint64 pixels)
{
    return QString::number(double(pixels) / 1e6, 'g', 6);
}

// Qt refuses image allocations above a process-wide limit that the
// environment may change. Set it from the program's own cap instead, with
// room for the 64-bit pixels of 16-bit PNG and TIFF files.
void allowPixels(qint64 maxPixels)
{
    const qint64 bytesPerPixel = 8;
    const qint64 megabytes = (maxPixels * bytesPerPixel + (1 << 20) - 1) / (1 << 20) + 1;
    QImageReader::setAllocationLimit(int(qMin<qint64>(megabytes, std::numeric_limits<int>::max())));
}

// A partly transparent pixel shows as it would over the black of an empty
// view: its premultiplied colour, made opaque.
void flattenOverBlack(QImage& image)
{
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] |= 0xff000000u;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

// Reads the 16-bit samples of a partly transparent colour picture as they
// would show over black: premultiplied, made opaque.
void flattenSamplesOverBlack(QImage& image)
{
    image.convertTo(QImage::Format_RGBA64_Premultiplied);
    if (image.isNull())
        return;
    const int w = image.width();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<quint16*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[4 * x + 3] = 0xffff;
    }
    image.reinterpretAsFormat(QImage::Format_RGBX64);
}

// Qt reads TIFF and PNG files of 16 bits per sample into these formats
// only; 8-bit files never come out in them.
bool hasSixteenBitSamples(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Grayscale16:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return true;
    default:
        return false;
    }
}

// A new picture of 16-bit samples gets its memory faulted in with one call
// instead of one trap per page as the decoder first writes it: a fifth of
// the time a 20 MP TIFF takes to open, on the machines measured. Memory
// that already fits is left to be reused.
void prepareSamples(QImage& decoded, QSize size, QImage::Format format)
{
    if (decoded.size() == size && decoded.format() == format)
        return;
    decoded = QImage(size, format);
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (decoded.isNull())
        return;
    const auto page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(decoded.bits());
    const std::uintptr_t first = (start + page - 1) & ~(page - 1);
    const std::uintptr_t last = (start + std::uintptr_t(decoded.sizeInBytes())) & ~(page - 1);
    // Older kernels refuse the advice; the pages then come as they are written.
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#endif
}

quint32 le32At(const QByteArray& b, int at)
{
    return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
        | quint32(quint8(b[at + 3])) << 24;
}

} // namespace

// Qt's BMP reader stops at the end of the file and leaves the missing rows
// uninitialised: an uncompressed BMP must hold every row its header declares.
bool ImageLoader::isShortBmp(QIODevice& file)
{
    const QByteArray header = file.peek(34);
    if (header.size() < 34 || !header.startsWith("BM") || le32At(header, 14) < 40)
        return false;
    const quint32 compression = le32At(header, 30);
    if (compression != 0 && compression != 3)
        return false;
    const qint64 width = qint32(le32At(header, 18)), height = qint32(le32At(header, 22));
    const qint64 bits = quint8(header[28]) | quint8(header[29]) << 8;
    const qint64 rowBytes = (qAbs(width) * bits + 31) / 32 * 4;
    // Divided, not multiplied: header fields near 2^31 would overflow.
    const qint64 available = file.size() - qint64(le32At(header, 10));
    return rowBytes != 0 && (available < 0 || qAbs(height) > available / rowBytes);
}

// Told by the content, never by the name: a file called .png may hold anything.
bool ImageLoader::isPictureFormat(const QByteArray& format)
{
    return format == "jpeg" || format == "png" || format == "gif" || format == "bmp" || format == "tiff";
}

QString ImageLoader::specialFileProblem(const QString& path)
{
    // Links are followed: a link to a picture is a picture.
    const QFileInfo info(path);
    if (!info.exists() || info.isFile() || info.isDir())
        return QString();
    return failure(path, notAFile()).error;
}

LoadResult ImageLoader::decode(const QString& path, QImage& decoded, qint64 maxPixels)
{
    return decodeFile(path, decoded, maxPixels, false);
}

LoadResult ImageLoader::decodeSamples(const QString& path, QImage& decoded, qint64 maxPixels)
{
    return decodeFile(path, decoded, maxPixels, true);
}

LoadResult ImageLoader::decodeFile(const QString& path, QImage& decoded, qint64 maxPixels, bool keepSamples)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(path, QStringLiteral("the file does not exist."));
    if (info.isDir())
        return failure(path, QStringLiteral("it is a folder, not a picture."));
    // Opening a pipe waits for a writer, and a device may never end.
    if (!info.isFile())
        return failure(path, notAFile());

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(path, QStringLiteral("the file cannot be read (%1).").arg(file.errorString()));
    if (file.size() == 0)
        return failure(path, QStringLiteral("the file is empty."));

    // Read before the reader moves through the file.
    const bool shortBmp = isShortBmp(file);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    // The pixels stay as stored: borders and measurements refer to them.
    reader.setAutoTransform(false);

    const QByteArray format = reader.format();
    if (!isPictureFormat(format))
        return failure(path, QStringLiteral("it is not a JPEG, PNG, GIF, BMP or TIFF picture."));

    // The size comes from the header, before a single pixel is decoded.
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return failure(path, QStringLiteral("the picture data is damaged (its size cannot be read)."));
    const qint64 pixels = qint64(size.width()) * size.height();
    const auto tooLarge = [&](QSize s) {
        return failure(path,
            QStringLiteral("the picture is %1 \u00D7 %2 pixels, more than the %3 megapixels "
                           "Scopique can hold.")
                .arg(s.width())
                .arg(s.height())
                .arg(megapixels(maxPixels)));
    };
    if (pixels > maxPixels)
        return tooLarge(size);
    if (format == "bmp" && shortBmp)
        return failure(path, QStringLiteral("the picture data is damaged (the file ends before its last row)."));

    allowPixels(maxPixels);
    if (keepSamples) {
        const QImage::Format coming = reader.imageFormat();
        if (coming == QImage::Format_Grayscale16 || coming == QImage::Format_RGBX64 || coming == QImage::Format_RGBA64)
            prepareSamples(decoded, size, coming);
    }
    // Passed as it is: a decoder that finds an image of the right size and
    // format fills it in place instead of allocating a new one.
    const bool read = reader.read(&decoded);
    if (!read || decoded.isNull()) {
        QString reason = QStringLiteral("the picture data is damaged");
        if (!read)
            reason += QStringLiteral(" (%1)").arg(reader.errorString());
        return failure(path, reason + u'.');
    }
    if (qint64(decoded.width()) * decoded.height() > maxPixels)
        return tooLarge(decoded.size());

    const bool samples = keepSamples && hasSixteenBitSamples(decoded);
    if (samples && decoded.format() != QImage::Format_Grayscale16 && decoded.format() != QImage::Format_RGBX64) {
        flattenSamplesOverBlack(decoded);
        if (decoded.isNull())
            return failure(path, QStringLiteral("there is not enough memory for the picture."));
    } else if (!samples && decoded.format() != QImage::Format_RGB32) {
        if (decoded.hasAlphaChannel())
            flattenOverBlack(decoded);
        else
            decoded.convertTo(QImage::Format_RGB32);
        if (decoded.isNull())
            return failure(path, QStringLiteral("there is not enough memory for the picture."));
    }

    LoadResult result;
    result.ok = true;
    result.samples = samples;
    const ImageTags tags = canHoldTags(format) ? ImageTags::readFile(path) : ImageTags();
    result.border = BorderRules::forImage(tags, decoded.width(), decoded.height());
    return result;
}
