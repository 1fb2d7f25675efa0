// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <QtGlobal>

// Outcome of decoding a picture file.
struct LoadResult {
    bool ok = false;
    // When !ok: a sentence for the user that names the file and the reason.
    QString error;
    // The border found in the file (tags first, then the width rule).
    int border = 0;
    // The picture has 16 bits per sample and `decoded` holds them
    // (decodeSamples() only).
    bool samples = false;
};

// Decodes picture files (JPEG, PNG, GIF, BMP, TIFF, told by their content)
// into 32-bit pixels, first frame only, transparent pixels over black.
class ImageLoader {
public:
    // Largest picture the program takes, in pixels (about 100 megapixels,
    // 400 MB per buffer). Checked before any pixel is decoded.
    static constexpr qint64 MaxPixels = 100'000'000;

    // The formats the program opens, as QImageReader names them.
    static bool isPictureFormat(const QByteArray& format);

    // True for an uncompressed BMP that ends before its last row; reads the
    // device's first bytes without moving through it.
    static bool isShortBmp(QIODevice& file);

    // A sentence for the user that names the file when `path` is a pipe, a
    // socket or a device, or a link to one: reading it could wait for ever
    // or never end. Empty for anything else. Asks the file system only.
    static QString specialFileProblem(const QString& path);

    // Decodes `path` into `decoded` as Format_RGB32, reusing its memory when
    // the size matches, and works out the file's border. On failure
    // `decoded` may hold anything; the caller keeps its own picture.
    static LoadResult decode(const QString& path, QImage& decoded, qint64 maxPixels = MaxPixels);

    // The same, except that a picture of 16 bits per sample (greyscale or
    // colour TIFF and PNG) keeps them: `decoded` becomes Format_Grayscale16
    // or Format_RGBX64, transparent pixels over black, and the result says
    // so, for the caller to show through a display range.
    static LoadResult decodeSamples(const QString& path, QImage& decoded, qint64 maxPixels = MaxPixels);

private:
    static LoadResult decodeFile(const QString& path, QImage& decoded, qint64 maxPixels, bool keepSamples);
};
