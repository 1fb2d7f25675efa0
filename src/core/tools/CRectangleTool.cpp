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

namespace {

// A side between two corner coordinates, one pixel less when not empty.
int reducedSide(int a, int b)
{
    const int side = std::abs(a - b);
    return side > 0 ? side - 1 : 0;
}

} // namespace

double CRectangleTool::GetArea(QString* text) const
{
    const int w = reducedSide(points[1].x(), points[2].x());
    const int h = reducedSide(points[1].y(), points[2].y());
    const double area = (w * scaleX) * (h * scaleY);
    if (text)
        *text = format("Area = %.2f %s^2", area, unitName());
    return area;
}

double CRectangleTool::GetPerimeter() const
{
    const int w = reducedSide(points[1].x(), points[2].x());
    const int h = reducedSide(points[1].y(), points[2].y());
    return 2 * (w * scaleX + h * scaleY);
}
