// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CCircleTool.h"

#include <cmath>

#include <QPainter>

#include "core/base/ToolDialogs.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"
#include "core/video/GdiPainter.h"

CCircleTool::CCircleTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CLineTool(settings, mainWindow)
{
    kind = KindCircle;
    ToolStyle::readCircle(settings, *this);
}

void CCircleTool::Draw(QPainter& painter)
{
    const QPoint& centre = points[1];
    const QPoint d = points[2] - centre;
    // The drawn radius is the plain distance, truncated: no pixel reduction.
    const int r = int(std::hypot(double(d.x()), double(d.y())));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(GdiPainter::fromColorRef(toolColor), 0));
    painter.setBrush(Qt::NoBrush);
    // Outline over columns centre - r .. centre + r: 2r + 1 pixels across.
    painter.drawEllipse(QRect(centre.x() - r, centre.y() - r, 2 * r, 2 * r));
    painter.restore();
    CTool::Draw(painter);
}

void CCircleTool::UpdateLabel()
{
    const double radius = GetDistance();
    switch (circleDisplay) {
    case Area:
        GetArea(&label);
        break;
    case Circumference:
        label = format("Circumference = %.2f %s", GetPerimeter(), unitName());
        break;
    case Diameter:
        label = format("Diameter = %.2f %s", 2 * radius, unitName());
        break;
    case Radius:
        label = format("Radius = %.2f %s", radius, unitName());
        break;
    default:
        break;
    }
}

double CCircleTool::GetArea(QString* text) const
{
    const double radius = GetDistance();
    const double area = radius * radius * 3.14159;
    if (text)
        *text = format("Area = %.2f %s^2", area, unitName());
    return area;
}

double CCircleTool::GetPerimeter() const
{
    return GetDistance() * 6.28318;
}

int CCircleTool::EditOptions(ToolDialogs& dialogs, SettingsStore& settings)
{
    if (!dialogs.editCircleOptions(*this))
        return 0;
    ToolStyle::writeCircleOptions(settings, *this);
    return 1;
}
