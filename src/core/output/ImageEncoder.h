// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Turns a picture into the bytes of a JPEG, PNG, BMP, TIFF or GIF file, in
// memory, so that nothing touches the disk before the whole file is ready.
class ImageEncoder {
public:
    // The encoder for a file name, told by its last four characters in any
    // letter case: ".jpg" and "jpeg" JPEG, ".png" PNG, ".gif" GIF, ".tif"
    // and "tiff" TIFF, everything else (".jpe" too) BMP. The result is the
    // format's name as Qt spells it ("jpeg", "png", "gif", "tiff", "bmp").
    static QByteArray FindEncoderClsid(const QString& path);

    // Encodes `picture` (Format_RGB32) as 24-bit colour without alpha, GIF
    // as 256 colours. False with a reason for the user when it fails.
    static bool encode(const QImage& picture, const QByteArray& format, QByteArray& encoded, QString& error);
};
