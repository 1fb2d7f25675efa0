// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

#include <QString>
#include <QVector>

#include "core/measure/DiskSync.h"
#include "core/measure/MeasurementRecord.h"

class MeasurementTable;

// The measurements kept on disk as they are taken, in the CSV form of
// MeasurementTable, so that a crash or a power cut loses at most the row
// being written. Reading never changes the file; a file damaged part-way is
// read up to the damage and copied aside whole before anything replaces it.
class MeasurementJournal {
public:
    explicit MeasurementJournal(const QString& path);

    // <AppDataLocation>/Measurements.csv
    static QString defaultPath();
    const QString& path() const { return filePath; }

    struct Contents {
        QVector<MeasurementRecord> rows;
        // For the user when not everything could be read; else empty.
        QString message;
    };
    // The rows of the file (none when it does not exist).
    Contents read();

    // Adds one row at the end, written through to the system before it
    // returns and synced to the disk right after. False with a reason for
    // the user when it could not be written.
    bool append(const MeasurementRecord& record, QString& error);
    // Replaces the file with the whole table, all at once.
    bool rewrite(const MeasurementTable& table, QString& error);
    // Whether the file no longer matches the rows (a damaged line was
    // skipped, or a row could not be written): the next change rewrites it.
    bool needsRewrite() const { return outOfStep; }

private:
    // Copies the damaged file beside it (reusing an identical copy); the
    // copy's path, or empty with `error` set.
    QString keepDamagedCopy(QString& error) const;

    QString filePath;
    bool outOfStep = false;
    // The file could not be opened at start: its rows are unknown, so it is
    // copied aside before anything replaces it.
    bool unread = false;
    std::unique_ptr<DiskSync> sync;
};
