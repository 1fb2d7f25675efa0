// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include "core/video/ImageTags.h"

// Pictures and picture files for the tests, made on the spot.
namespace TestImages {

// A w x h Format_RGB32 picture whose pixels all differ (up to 2^24 of them) and depend only on x, y and seed.
QImage pattern(int w, int h, quint32 seed = 1);
// `image` encoded in `format` with the present tags added; empty on failure.
QByteArray encode(const QImage& image, const char* format, const ImageTags& tags = {});
// Writes `image` as dir/fileName in `format` (by default from the extension) with the present tags added.
// Returns the full path, or an empty string on failure.
QString write(const QString& dir, const QString& fileName, const QImage& image, const char* format = nullptr,
    const ImageTags& tags = {});
// Writes the bytes as they are. Returns the full path, or empty on failure.
QString writeBytes(const QString& dir, const QString& fileName, const QByteArray& bytes);
// The bytes of a file, empty when it cannot be read.
QByteArray readAll(const QString& path);
// The names in a folder, hidden and special files included, sorted.
QStringList entries(const QString& folder);

// A Format_RGB32 picture of the given pixels, made row after row. Inline, so that
// programs without TestImages.cpp can use it.
inline QImage made(QSize size, const std::function<QRgb(int x, int y)>& pixel)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

} // namespace TestImages
