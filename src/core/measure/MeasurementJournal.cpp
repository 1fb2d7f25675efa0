// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/measure/MeasurementJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/measure/MeasurementTable.h"
#include "core/output/SafeFileWriter.h"

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

MeasurementJournal::MeasurementJournal(const QString& path)
    : filePath(path)
    , sync(std::make_unique<DiskSync>(path))
{
}

QString MeasurementJournal::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Measurements.csv");
}

MeasurementJournal::Contents MeasurementJournal::read()
{
    Contents contents;
    QFile file(filePath);
    if (!file.exists())
        return contents;
    if (!file.open(QIODevice::ReadOnly)) {
        unread = true;
        contents.message = QStringLiteral("Scopique cannot read the measurements in \u201C%1\u201D (%2).")
                               .arg(shown(filePath), file.errorString());
        return contents;
    }
    MeasurementTable::ParseResult parsed = MeasurementTable::parseCsv(file.readAll());
    contents.rows = std::move(parsed.rows);
    if (parsed.badLine == 0)
        return contents;
    QString error;
    const QString copy = keepDamagedCopy(error);
    // Without a copy the unread part stays where it is, and rows are added
    // after it.
    outOfStep = !copy.isEmpty();
    contents.message = QStringLiteral("Scopique read the measurements in \u201C%1\u201D only up to line %2: %3.")
                           .arg(shown(filePath))
                           .arg(parsed.badLine)
                           .arg(parsed.problem);
    contents.message += copy.isEmpty()
        ? QStringLiteral(" The file stays as it is; no copy could be made (%1).").arg(error)
        : QStringLiteral(" The whole file is kept as \u201C%1\u201D.").arg(shown(copy));
    return contents;
}

QString MeasurementJournal::keepDamagedCopy(QString& error) const
{
    QFile original(filePath);
    if (!original.open(QIODevice::ReadOnly)) {
        error = original.errorString();
        return QString();
    }
    const QByteArray bytes = original.readAll();
    const QFileInfo info(filePath);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral(" (damaged"));
    for (int n = 1; n < 1000; ++n) {
        const QString candidate
            = stem + (n == 1 ? QString() : QStringLiteral(" %1").arg(n)) + QStringLiteral(").") + info.suffix();
        QFile existing(candidate);
        if (existing.exists()) {
            // The same damage seen at an earlier start needs no second copy.
            if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
                return candidate;
            continue;
        }
        if (SafeFileWriter::write(candidate, bytes, error))
            return candidate;
        return QString();
    }
    error = QStringLiteral("too many copies");
    return QString();
}

bool MeasurementJournal::append(const MeasurementRecord& record, QString& error)
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QFile file(filePath);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        error = QStringLiteral("Scopique cannot keep the measurement in \u201C%1\u201D (%2).")
                    .arg(shown(filePath), file.errorString());
        outOfStep = true;
        return false;
    }
    QByteArray bytes;
    const qint64 size = file.size();
    if (size == 0) {
        bytes = MeasurementTable::csvHeader();
    } else {
        // A last line without its line end (edited by hand, or cut short)
        // must not run into the new row.
        char last = '\n';
        if (file.seek(size - 1))
            file.getChar(&last);
        if (last != '\n')
            bytes = "\r\n";
    }
    bytes += MeasurementTable::csvLine(record);
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush()) {
        const QString reason = file.error() != QFileDevice::NoError
            ? file.errorString()
            : QStringLiteral("the disk is full or the file is too large");
        error = QStringLiteral("Scopique cannot keep the measurement in \u201C%1\u201D (%2).")
                    .arg(shown(filePath), reason);
        outOfStep = true;
        return false;
    }
    // A power cut must not take a row the user saw recorded; the disk is
    // slow, so the command does not wait for it.
    sync->request();
    return true;
}

bool MeasurementJournal::rewrite(const MeasurementTable& table, QString& error)
{
    QString reason;
    if (unread && QFileInfo::exists(filePath) && keepDamagedCopy(reason).isEmpty()) {
        error = QStringLiteral("Scopique cannot keep the measurements in \u201C%1\u201D: its rows could not be read, "
                               "and no copy of it could be made (%2).")
                    .arg(shown(filePath), reason);
        outOfStep = true;
        return false;
    }
    unread = false;
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    if (!SafeFileWriter::write(filePath, table.toCsv(), reason)) {
        error = QStringLiteral("Scopique cannot keep the measurements in \u201C%1\u201D: %2")
                    .arg(shown(filePath), reason);
        outOfStep = true;
        return false;
    }
    outOfStep = false;
    return true;
}
