// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CHorizontalTool.h"

#include <QPainter>

#include "core/base/AppMessage.h"
#include "core/tools/ToolKind.h"

namespace {
// The profile message's "which" for the horizontal profile.
constexpr int horizontalProfile = 1;
// Below this row the label goes above the tool, inside a 480-row picture.
constexpr int lowestLabelRow = 460;
}

CHorizontalTool::CHorizontalTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CLineTool(settings, mainWindow)
{
    AddBlankPoint();
    AddBlankPoint();
    kind = KindHorizontal;
}

int CHorizontalTool::Press(QPoint p)
{
    if (placed)
        return CTool::Press(p);
    points[0] = p.y() + 30 > lowestLabelRow ? QPoint(p.x(), p.y() - 40) : QPoint(p.x(), p.y() + 30);
    points[1] = p;
    points[3] = QPoint(p.x() - 20, p.y());
    points[2] = QPoint(p.x() + 10, p.y());
    points[4] = QPoint(p.x() + 30, p.y());
    placed = true;
    current = 1;
    send(WM_APP_UPDATE_HISTOGRAM, horizontalProfile, 1);
    send(WM_APP_SHOW_HISTOGRAM, horizontalProfile, 1);
    // Moving both ends onto themselves places the profile marks.
    current = 2;
    Drag(points[2], false);
    current = 1;
    Drag(points[1], false);
    return 1;
}

void CHorizontalTool::Drag(QPoint p, bool moveAll)
{
    if (current < 0)
        return;
    if (!moveAll && current == 0) {
        CTool::Drag(p, false);
    } else if (!moveAll && current == 1) {
        // The ends stay at least 2 pixels apart, the left end on the left.
        const int x = qMin(p.x(), points[2].x() - 2);
        points[1].setX(x);
        points[3].setX(x - 20);
        send(WM_APP_SET_HISTOGRAM_MARK, 0, x);
        send(WM_APP_SET_XY, points[1].x(), p.y());
    } else if (!moveAll && current == 2) {
        const int x = qMax(p.x(), points[1].x() + 2);
        points[2].setX(x);
        points[4].setX(x + 20);
        send(WM_APP_SET_HISTOGRAM_MARK, 1, x);
        send(WM_APP_SET_XY, points[2].x(), p.y());
    } else {
        // Shift held, or a tail grabbed: the whole tool moves.
        CTool::Drag(p, true);
        send(WM_APP_UPDATE_HISTOGRAM, horizontalProfile, 1);
        send(WM_APP_SET_HISTOGRAM_MARK, 0, points[1].x());
        send(WM_APP_SET_HISTOGRAM_MARK, 1, points[2].x());
    }
}

void CHorizontalTool::Draw(QPainter& painter)
{
    const QPoint& left = points[1];
    const QPoint& right = points[2];
    line(painter, left, points[3]);
    line(painter, QPoint(left.x(), left.y() - 15), QPoint(left.x(), left.y() + 15));
    line(painter, right, points[4]);
    line(painter, QPoint(right.x(), right.y() - 15), QPoint(right.x(), right.y() + 15));
    CTool::Draw(painter);
}

double CHorizontalTool::GetDistance(QString* text) const
{
    const double distance = reduceAtLeastOne(points[1].x() - points[2].x()) * scaleX;
    if (text)
        *text = format("Distance = %.2f %s", distance, unitName());
    return distance;
}
