// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "video/ImageLoader.h"

#include <limits>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "video/BorderRules.h"
#include "video/ImageTags.h"

namespace {

LoadResult failure(const QString& path, const QString& reason)
{
    LoadResult result;
    result.error = QStringLiteral("Scopique cannot open \u201C%1\u201D: %2").arg(QFileInfo(path).fileName(), reason);
    return result;
}

// Told by the content, never by the name: a file called .png may hold anything.
bool isPictureFormat(const QByteArray& format)
{
    return format == "jpeg" || format == "png" || format == "gif" || format == "bmp" || format == "tiff";
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

} // namespace

LoadResult ImageLoader::decode(const QString& path, QImage& decoded, qint64 maxPixels)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(path, QStringLiteral("the file does not exist."));
    if (info.isDir())
        return failure(path, QStringLiteral("it is a folder, not a picture."));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(path, QStringLiteral("the file cannot be read (%1).").arg(file.errorString()));
    if (file.size() == 0)
        return failure(path, QStringLiteral("the file is empty."));

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

    allowPixels(maxPixels);
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

    if (decoded.format() != QImage::Format_RGB32) {
        if (decoded.hasAlphaChannel())
            flattenOverBlack(decoded);
        else
            decoded.convertTo(QImage::Format_RGB32);
        if (decoded.isNull())
            return failure(path, QStringLiteral("there is not enough memory for the picture."));
    }

    LoadResult result;
    result.ok = true;
    const ImageTags tags = canHoldTags(format) ? ImageTags::readFile(path) : ImageTags();
    result.border = BorderRules::forImage(tags, decoded.width(), decoded.height());
    return result;
}
