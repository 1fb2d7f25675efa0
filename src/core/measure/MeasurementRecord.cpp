// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/measure/MeasurementRecord.h"

#include "core/tools/CTool.h"
#include "core/tools/ToolKind.h"

bool MeasurementRecord::operator==(const MeasurementRecord& other) const
{
    return number == other.number && image == other.image && tool == other.tool && values == other.values
        && unit == other.unit && magnification == other.magnification && time == other.time;
}

QString MeasurementRecord::toolName(int kind)
{
    switch (kind) {
    case KindHorizontal:
        return QStringLiteral("Horizontal");
    case KindVertical:
        return QStringLiteral("Vertical");
    case KindLine:
        return QStringLiteral("Line");
    case KindAngle:
        return QStringLiteral("Angle");
    case KindRectangle:
        return QStringLiteral("Rectangle");
    case KindCircle:
        return QStringLiteral("Circle");
    case KindPolygon:
        return QStringLiteral("Polygon");
    default:
        return QString();
    }
}

std::optional<MeasurementRecord> MeasurementRecord::fromTool(
    const CTool& tool, const QString& image, unsigned magnification, const QString& time)
{
    const QString name = toolName(tool.kind);
    if (name.isEmpty() || !tool.placed)
        return std::nullopt;
    MeasurementRecord record;
    record.image = image;
    record.tool = name;
    record.unit = tool.unitName();
    record.magnification = magnification;
    record.time = time;
    auto& values = record.values;
    switch (tool.kind) {
    case KindAngle:
        values[Angle] = tool.GetAngle();
        break;
    case KindRectangle:
    case KindPolygon:
        values[Area] = tool.GetArea();
        values[Perimeter] = tool.GetPerimeter();
        break;
    case KindCircle:
        // The circle's distance is its radius; the row shows the diameter,
        // as the label's Diameter does.
        values[Length] = 2 * tool.GetDistance();
        values[Area] = tool.GetArea();
        values[Perimeter] = tool.GetPerimeter();
        break;
    default:
        values[Length] = tool.GetDistance();
        break;
    }
    return record;
}
