// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <array>
#include <optional>

#include <QString>

class CTool;

// One row of the results: what a measuring tool showed when it was recorded.
// Lengths are in `unit`, areas in `unit` squared, angles in degrees.
struct MeasurementRecord {
    // The measured quantities, in the order of their columns.
    enum Value { Length, Angle, Area, Perimeter, ValueCount };

    // 1, 2, ... in the order of recording; kept when other rows go.
    int number = 0;
    // The picture's file name as in the caption; empty for a new or live one.
    QString image;
    // "Line", "Angle", ...
    QString tool;
    // Only the quantities the tool measures have a value.
    std::array<std::optional<double>, ValueCount> values;
    QString unit;
    unsigned magnification = 0;
    // Local time, "yyyy-MM-ddTHH:mm:ss".
    QString time;

    bool operator==(const MeasurementRecord& other) const;

    // The row of a placed measuring tool, with its current scales and the
    // formulas of its label; nothing for any other tool. `number` is left 0.
    static std::optional<MeasurementRecord> fromTool(
        const CTool& tool, const QString& image, unsigned magnification, const QString& time);
    // The name a tool kind has in the "Tool" column; empty for the kinds
    // that do not measure.
    static QString toolName(int kind);
};
