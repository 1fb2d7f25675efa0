// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/output/ImageSaver.h"

#include <QDir>

#include "core/output/ImageEncoder.h"
#include "core/output/SafeFileWriter.h"
#include "core/video/ImageTags.h"

bool ImageSaver::save(
    const QImage& view, const QString& path, int border, const std::optional<QString>& description, QString& error)
{
    const QByteArray format = ImageEncoder::FindEncoderClsid(path);
    QByteArray encoded;
    QString reason;
    bool ok = ImageEncoder::encode(view, format, encoded, reason);
    if (ok && (format == "jpeg" || format == "png" || format == "tiff")) {
        ImageTags tags;
        tags.software = QStringLiteral("Scopique");
        tags.make = QString::number(border);
        tags.description = description;
        // A description too long for the format's tag block (64 kB in JPEG
        // and PNG) must not cost the border tag; an untagged picture is still
        // worth keeping: it reopens by the width rule instead of its tag.
        if (!tags.writeBytes(encoded) && description) {
            tags.description.reset();
            tags.writeBytes(encoded);
        }
    }
    ok = ok && SafeFileWriter::write(path, encoded, reason);
    if (!ok)
        error = QStringLiteral("Scopique cannot save \u201C%1\u201D: %2").arg(QDir::toNativeSeparators(path), reason);
    return ok;
}
