// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include "video/ImageTags.h"

// Pictures and picture files for the tests, made on the spot.
namespace TestImages {

// A w x h Format_RGB32 picture whose pixels all differ (up to 2^24 of them)
// and depend only on x, y and seed.
QImage pattern(int w, int h, quint32 seed = 1);

// The colour pattern() gives the pixel (x, y) of a picture w pixels wide.
QRgb patternPixel(int x, int y, int w, quint32 seed = 1);

// Writes `image` as dir/fileName in `format` (from the file name's extension
// when null; "gif" too, which Qt cannot write) with the present tags added.
// Returns the full path, or an empty string when anything failed.
QString write(const QString& dir, const QString& fileName, const QImage& image, const char* format = nullptr,
    const ImageTags& tags = {});

// Writes the bytes as they are. Returns the full path, or empty on failure.
QString writeBytes(const QString& dir, const QString& fileName, const QByteArray& bytes);

// An animated GIF of the frames (the first frame's size and colours), with
// `transparentIndex` of that colour table transparent when not -1.
QByteArray gif(const QList<QImage>& frames, int transparentIndex = -1);

} // namespace TestImages
