// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CVerticalTool.h"

#include <QPainter>

#include "core/base/AppMessage.h"
#include "core/tools/ToolKind.h"

namespace {
// The profile message's "which" for the vertical profile.
constexpr int verticalProfile = 0;
}

CVerticalTool::CVerticalTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CLineTool(settings, mainWindow)
{
    AddBlankPoint();
    AddBlankPoint();
    kind = KindVertical;
}

int CVerticalTool::Press(QPoint p)
{
    if (placed)
        return CTool::Press(p);
    points[0] = QPoint(p.x() + 30, p.y());
    points[1] = p;
    points[3] = QPoint(p.x(), p.y() - 20);
    points[2] = QPoint(p.x(), p.y() + 10);
    points[4] = QPoint(p.x(), p.y() + 30);
    placed = true;
    current = 1;
    send(WM_APP_UPDATE_HISTOGRAM, verticalProfile, 0);
    send(WM_APP_SHOW_HISTOGRAM, verticalProfile, 1);
    // Moving both ends onto themselves places the profile marks.
    current = 2;
    Drag(points[2], false);
    current = 1;
    Drag(points[1], false);
    return 1;
}

void CVerticalTool::Drag(QPoint p, bool moveAll)
{
    if (current < 0)
        return;
    if (!moveAll && current == 0) {
        CTool::Drag(p, false);
    } else if (!moveAll && current == 1) {
        // The ends stay at least 2 pixels apart, the top end on top.
        const int y = qMin(p.y(), points[2].y() - 2);
        points[1].setY(y);
        points[3].setY(y - 20);
        send(WM_APP_SET_HISTOGRAM_MARK, 2, y);
        send(WM_APP_SET_XY, points[1].x(), y);
    } else if (!moveAll && current == 2) {
        const int y = qMax(p.y(), points[1].y() + 2);
        points[2].setY(y);
        points[4].setY(y + 20);
        send(WM_APP_SET_HISTOGRAM_MARK, 3, y);
        send(WM_APP_SET_XY, points[2].x(), y);
    } else {
        // Shift held, or a tail grabbed: the whole tool moves.
        CTool::Drag(p, true);
        send(WM_APP_UPDATE_HISTOGRAM, verticalProfile, 0);
        send(WM_APP_SET_HISTOGRAM_MARK, 2, points[1].y());
        send(WM_APP_SET_HISTOGRAM_MARK, 3, points[2].y());
    }
}

void CVerticalTool::Draw(QPainter& painter)
{
    const QPoint& top = points[1];
    const QPoint& bottom = points[2];
    line(painter, top, points[3]);
    line(painter, QPoint(top.x() - 15, top.y()), QPoint(top.x() + 15, top.y()));
    line(painter, bottom, points[4]);
    line(painter, QPoint(bottom.x() - 15, bottom.y()), QPoint(bottom.x() + 15, bottom.y()));
    CTool::Draw(painter);
}

double CVerticalTool::GetDistance(QString* text) const
{
    const double distance = reduceAtLeastOne(points[1].y() - points[2].y()) * scaleY;
    if (text)
        *text = format("Distance = %.2f %s", distance, unitName());
    return distance;
}
