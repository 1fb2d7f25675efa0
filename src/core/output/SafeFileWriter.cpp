// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/output/SafeFileWriter.h"

#include <QFileInfo>
#include <QSaveFile>

bool SafeFileWriter::write(const QString& path, const QByteArray& bytes, QString& error)
{
    if (QFileInfo(path).isDir()) {
        error = QStringLiteral("a folder of that name is in the way.");
        return false;
    }
    QSaveFile file(path);
    // Writing straight into the old file would lose it on a failure.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that a write the disk cuts short is counted short here:
    // a buffered one reports every byte and fails only as the file is
    // completed, where QSaveFile would keep the cut file in the old one's place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = QStringLiteral("the file cannot be created (%1).").arg(file.errorString());
        return false;
    }
    // QSaveFile commits a short write (a full disk, a size limit) as if it
    // were whole: only the count tells.
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        // A write cut short by a full disk or a size limit sets no error.
        const QString reason = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("the disk is full or the file is too large");
        file.cancelWriting();
        error = QStringLiteral("only %1 of %2 bytes could be written (%3).")
                    .arg(qMax<qint64>(written, 0))
                    .arg(bytes.size())
                    .arg(reason);
        return false;
    }
    if (!file.commit()) {
        error = QStringLiteral("the file could not be completed (%1).").arg(file.errorString());
        return false;
    }
    return true;
}
