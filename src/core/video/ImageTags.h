// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// The three text tags the program writes into its pictures and reads back:
// Software (0x0131), Make (0x010F) and ImageDescription (0x010E). A tag that
// is missing, not of ASCII type or unreadable is absent.
struct ImageTags {
    std::optional<QString> software;
    std::optional<QString> make;
    std::optional<QString> description;

    // Reads the tags of a file (JPEG, TIFF, PNG; BMP and GIF hold none).
    // Never throws: a file the tag library cannot parse, or one above 512 MB,
    // has no tags.
    static ImageTags readFile(const QString& path);
    // Same, from an encoded picture in memory.
    static ImageTags readBytes(const QByteArray& encoded);
    // Adds the present tags to an encoded picture in memory. False, with the
    // bytes untouched, when the format cannot hold them, the tag library fails
    // or the tags do not read back as written.
    bool writeBytes(QByteArray& encoded) const;
};
