// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file with new contents all at once: the bytes go to a new file
// beside it, which takes the old one's place only when every byte is on the
// disk. On any failure the old file is as it was (or still absent) and the
// new one is gone.
class SafeFileWriter {
public:
    // False with a reason for the user when the file could not be written.
    static bool write(const QString& path, const QByteArray& bytes, QString& error);
};
