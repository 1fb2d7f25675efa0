// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <optional>

#include <QImage>
#include <QString>

// Writes the composed view to a picture file, tagged so that the program
// recognises it when it is opened again. The whole file is made in memory
// and then put in place at once: a failure never harms an existing file.
class ImageSaver {
public:
    // Encodes `view` in the format that the name's extension asks for, adds
    // Software "Scopique", Make = `border` and, when given, ImageDescription
    // where the format holds tags (JPEG, PNG, TIFF), and writes the file.
    // False with a sentence for the user naming the file and the reason.
    static bool save(
        const QImage& view, const QString& path, int border, const std::optional<QString>& description, QString& error);
};
