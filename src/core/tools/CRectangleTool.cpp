// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CRectangleTool.h"

#include <cstdlib>

#include "core/tools/ToolKind.h"

CRectangleTool::CRectangleTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CLineTool(settings, mainWindow)
{
    kind = KindRectangle;
}

void CRectangleTool::Draw(QPainter& painter)
{
    const QPoint& a = points[1];
    const QPoint& b = points[2];
    line(painter, a, QPoint(a.x(), b.y()));
    line(painter, QPoint(a.x(), b.y()), b);
    line(painter, b, QPoint(b.x(), a.y()));
    line(painter, QPoint(b.x(), a.y()), a);
    CTool::Draw(painter);
}

void CRectangleTool::UpdateLabel()
{
    GetArea(&label);
}

double CRectangleTool::GetArea(QString* text) const
{
    int w = std::abs(points[1].x() - points[2].x());
    int h = std::abs(points[1].y() - points[2].y());
    if (w > 0)
        --w;
    if (h > 0)
        --h;
    const double area = (w * scaleX) * (h * scaleY);
    if (text)
        *text = format("Area = %.2f %s^2", area, unitName());
    return area;
}
