// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CLineTool.h"

#include <cmath>
#include <cstdlib>

#include "core/tools/ToolKind.h"
#include "core/video/GdiPainter.h"

CLineTool::CLineTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CTool(settings, mainWindow)
{
    AddBlankPoint();
    AddBlankPoint();
    kind = KindLine;
}

void CLineTool::Draw(QPainter& painter)
{
    line(painter, points[1], points[2]);
    CTool::Draw(painter);
}

void CLineTool::UpdateLabel()
{
    GetDistance(&label);
}

double CLineTool::GetPixelLength() const
{
    const QPoint d = points[1] - points[2];
    const double length = std::hypot(double(d.x()), double(d.y()));
    return length >= 1.0 ? length - 1.0 : length;
}

double CLineTool::GetDistance(QString* text) const
{
    const double dx = reduceAboveOne(points[1].x() - points[2].x()) * scaleX;
    const double dy = reduceAboveOne(points[1].y() - points[2].y()) * scaleY;
    const double distance = std::hypot(dx, dy);
    if (text)
        *text = format("Distance = %.2f %s", distance, unitName());
    return distance;
}

double CLineTool::GetAngle(QString* text) const
{
    const double angle
        = degrees(std::atan2(double(points[1].y() - points[2].y()), double(points[1].x() - points[2].x()))) + 180.0;
    if (text)
        *text = QString::asprintf("Angle = %.2f Deg", angle);
    return angle;
}

int CLineTool::reduceAtLeastOne(int d)
{
    const int magnitude = std::abs(d);
    return magnitude >= 1 ? magnitude - 1 : 0;
}

int CLineTool::reduceAboveOne(int d)
{
    const int magnitude = std::abs(d);
    return magnitude > 1 ? magnitude - 1 : magnitude;
}

double CLineTool::degrees(double radians)
{
    return radians * 180.0 / 3.14159;
}

void CLineTool::line(QPainter& painter, QPoint from, QPoint to) const
{
    GdiPainter::line(painter, from.x(), from.y(), to.x(), to.y(), GdiPainter::fromColorRef(toolColor));
}

QString CLineTool::format(const char* pattern, double value, const QString& unit)
{
    return QString::asprintf(pattern, value, unit.toLatin1().constData());
}
