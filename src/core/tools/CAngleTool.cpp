// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CAngleTool.h"

#include <cmath>

#include "core/tools/ToolKind.h"

CAngleTool::CAngleTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CLineTool(settings, mainWindow)
{
    AddBlankPoint();
    kind = KindAngle;
}

int CAngleTool::Press(QPoint p)
{
    if (placed)
        return CTool::Press(p);
    points[0] = QPoint(p.x(), p.y() + 10);
    points[1] = p;
    points[2] = p;
    // The vertex starts to the right; arm B's end follows the pointer.
    points[3] = QPoint(p.x() + 20, p.y());
    placed = true;
    current = 2;
    return current;
}

void CAngleTool::Draw(QPainter& painter)
{
    line(painter, points[2], points[3]);
    line(painter, points[3], points[1]);
    CTool::Draw(painter);
}

void CAngleTool::UpdateLabel()
{
    GetAngle(&label);
}

double CAngleTool::GetDistance(QString* text) const
{
    return CTool::GetDistance(text);
}

double CAngleTool::GetAngle(QString* text) const
{
    const QPoint& vertex = points[3];
    const double a
        = degrees(std::atan2(double(vertex.y() - points[2].y()), double(vertex.x() - points[2].x()))) + 180.0;
    const double b
        = degrees(std::atan2(double(vertex.y() - points[1].y()), double(vertex.x() - points[1].x()))) + 180.0;
    double angle = std::fabs(a - b);
    if (angle > 180.0)
        angle = 360.0 - angle;
    if (text)
        *text = QString::asprintf("Angle = %.2f Deg", angle);
    return angle;
}
