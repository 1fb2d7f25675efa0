// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CPolygonTool.h"

#include <cmath>

#include "core/tools/ToolKind.h"
#include "core/video/GdiPainter.h"

CPolygonTool::CPolygonTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CTool(settings, mainWindow)
{
    kind = KindPolygon;
}

void CPolygonTool::Reset()
{
    points.clear();
    AddBlankPoint();
    current = -1;
    placed = false;
    label.clear();
}

int CPolygonTool::Press(QPoint p)
{
    if (placed)
        return CTool::Press(p);
    // The first press makes vertices 1 and 2; the newest follows the pointer.
    if (current == -1) {
        points[0] = QPoint(p.x(), p.y() + 10);
        AddPoint(p);
    }
    AddPoint(p);
    return current;
}

void CPolygonTool::Finish()
{
    placed = true;
    if (points.size() >= 3 && points.last() == points[points.size() - 2])
        points.removeLast();
}

void CPolygonTool::Draw(QPainter& painter)
{
    const int n = vertexCount();
    if (n >= 2) {
        const QColor color = GdiPainter::fromColorRef(toolColor);
        for (int i = 1; i <= n; ++i) {
            const QPoint& from = points[i];
            const QPoint& to = points[i == n ? 1 : i + 1];
            GdiPainter::line(painter, from.x(), from.y(), to.x(), to.y(), color);
        }
    }
    CTool::Draw(painter);
}

void CPolygonTool::UpdateLabel()
{
    GetArea(&label);
}

double CPolygonTool::GetArea(QString* text) const
{
    const int n = vertexCount();
    if (n < 2)
        return 0.0;
    double sum = 0.0;
    for (int i = 1; i <= n; ++i) {
        const QPoint& a = points[i];
        const QPoint& b = points[i == n ? 1 : i + 1];
        sum += (a.x() * scaleX) * (b.y() * scaleY) - (a.y() * scaleY) * (b.x() * scaleX);
    }
    const double area = std::fabs(sum) * 0.5;
    if (text)
        *text = QString::asprintf("Area = %.2f %s^2", area, unitName().toLatin1().constData());
    return area;
}

double CPolygonTool::GetPerimeter() const
{
    const int n = vertexCount();
    double perimeter = 0.0;
    for (int i = 1; i <= n && n >= 2; ++i) {
        const QPoint& a = points[i];
        const QPoint& b = points[i == n ? 1 : i + 1];
        perimeter += std::hypot((b.x() - a.x()) * scaleX, (b.y() - a.y()) * scaleY);
    }
    return perimeter;
}
