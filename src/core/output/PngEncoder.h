// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Writes PNG files several times faster than Qt's writer. Every row gets the
// Paeth filter and zlib's run-length strategy: on camera pictures that
// compresses about as well as the default level's search for longer matches,
// in a fraction of the time. Bands of rows are compressed on all cores at
// once and join into the one zlib stream the format holds, which a
// run-length coder allows at no cost in size: it never looks back further
// than one byte.
class PngEncoder {
public:
    // Encodes `picture` (Format_RGB32) as 8-bit RGB without alpha, with its
    // resolution as Qt's writer stores it. False with a reason for the user
    // when it fails.
    static bool encode(const QImage& picture, QByteArray& encoded, QString& error);
};
