// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QList>
#include <QObject>

#include "core/base/CommandTarget.h"
#include "core/measure/MeasurementJournal.h"
#include "core/measure/MeasurementTable.h"

class UserPrompts;

// The results table of the session and of earlier ones: every recorded row
// goes into the table and onto the disk at once, deletions and clearing
// rewrite the file, and File > Export Measurements writes a copy. Problems
// with the files are told to the user.
class Measurements : public QObject, public CommandTarget {
    Q_OBJECT

public:
    Measurements(const QString& journalPath, UserPrompts& prompts, QObject* parent = nullptr);

    const MeasurementTable& table() const { return rows; }

    // Reads the rows kept on disk, replacing the table's. Returns what the
    // user must be told when not all could be read, else nothing.
    QString load();
    // Adds a row under the next number.
    void record(const MeasurementRecord& record);
    // Removes the rows at these indexes of the table.
    void removeRows(const QList<int>& indexes);
    // Empties the table after the user agreed; false when they did not.
    bool clearAsked();
    // Writes the table as CSV to `path`, replacing a file there only when
    // the whole table was written. False, with the user told why, otherwise.
    bool exportTo(const QString& path);

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

signals:
    // One row was added at the end of the table.
    void rowAppended();
    // The table changed in any other way.
    void rowsReset();

private:
    // Brings the file up to the table after a change other than an append.
    void rewriteJournal();

    UserPrompts& prompts;
    MeasurementTable rows;
    MeasurementJournal file;
};
