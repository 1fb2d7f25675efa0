// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <array>
#include <optional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/measure/MeasurementRecord.h"

// The recorded measurements, oldest first, with the statistics of each
// measured column, and their text forms: CSV (RFC 4180 quoting, UTF-8,
// numbers locale-independent and exact) for files and tab-separated text
// for spreadsheets.
class MeasurementTable {
public:
    // The columns, in the order of the header.
    enum Column { Number, Image, Tool, Length, Angle, Area, Perimeter, Unit, Magnification, Time, ColumnCount };
    enum Statistic { Mean, SD, Min, Max, StatisticCount };

    // The header texts: "#", "Image", "Tool", "Length", ...
    static const QStringList& columnNames();
    // The column of a measured value, and the value of a column (-1 when the
    // column holds none).
    static int columnOf(MeasurementRecord::Value value) { return Length + value; }
    static int valueOf(int column);
    // "Mean", "SD", "Min", "Max".
    static QString statisticName(Statistic statistic);

    int size() const { return int(records.size()); }
    bool isEmpty() const { return records.isEmpty(); }
    const MeasurementRecord& row(int index) const { return records[index]; }
    const QVector<MeasurementRecord>& rows() const { return records; }

    // Adds `record` at the end under the next number; returns that row.
    const MeasurementRecord& append(MeasurementRecord record);
    // Removes the rows at these indexes; the others keep their numbers.
    void removeRows(QList<int> indexes);
    void clear();
    // Takes rows as they are, numbers included (rows read from a file).
    void setRows(QVector<MeasurementRecord> rows);
    // One more than the highest number held; 1 for an empty table.
    int nextNumber() const { return highestNumber + 1; }

    // Over the rows that have the value: the mean, min and max of one value
    // or more, the sample standard deviation of two or more.
    std::optional<double> statistic(Statistic statistic, MeasurementRecord::Value value) const;

    // The shortest text that reads back as the same double, whatever the
    // locale ("0.1", "12.345", "1e-05").
    static QString numberText(double value);
    // A cell's text in files and on the clipboard; numbers exact.
    static QString cellText(const MeasurementRecord& record, int column);

    // CSV: the header line, one row's line (each ending in CR LF), and the
    // whole table.
    static QByteArray csvHeader();
    static QByteArray csvLine(const MeasurementRecord& record);
    QByteArray toCsv() const;
    // The rows at `indexes` (all rows when empty), with the header, as
    // tab-separated lines.
    QString toTabText(const QList<int>& indexes = {}) const;

    // Reads CSV as written above (LF line ends and a byte-order mark are
    // accepted too). Stops at the first line that is not such a row.
    struct ParseResult {
        QVector<MeasurementRecord> rows;
        // The line where reading stopped (from 1), 0 when all was read.
        int badLine = 0;
        // Why that line was refused.
        QString problem;
    };
    static ParseResult parseCsv(const QByteArray& bytes);

private:
    // Welford's running mean and squared deviations: adding a row costs the
    // same however many there are.
    struct Summary {
        int count = 0;
        double mean = 0.0;
        double m2 = 0.0;
        double min = 0.0;
        double max = 0.0;
        void add(double value);
    };
    void include(const MeasurementRecord& record);
    void recount();

    QVector<MeasurementRecord> records;
    std::array<Summary, MeasurementRecord::ValueCount> summaries {};
    int highestNumber = 0;
};
