// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CReticuleTool.h"

#include "core/base/ToolDialogs.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"
#include "core/video/GdiPainter.h"

CReticuleTool::CReticuleTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CTool(settings, mainWindow)
{
    kind = KindReticule;
    ToolStyle::readReticule(settings, *this);
}

int CReticuleTool::tickLength(int index)
{
    if (index % 10 == 0)
        return 14;
    return index % 5 == 0 ? 10 : 7;
}

void CReticuleTool::Draw(QPainter& painter)
{
    const QPoint o = points[0];
    const int length = spacing * count;
    QVector<QLine> segments;
    // A negative count draws the axis the other way and no ticks.
    if (horizontalAxis) {
        segments.append(QLine(o.x(), o.y(), o.x() + length, o.y()));
        for (int i = 0; i <= count; ++i)
            segments.append(QLine(o.x() + spacing * i, o.y(), o.x() + spacing * i, o.y() + tickLength(i)));
    }
    if (verticalAxis) {
        segments.append(QLine(o.x(), o.y(), o.x(), o.y() - length));
        for (int i = 0; i <= count; ++i)
            segments.append(QLine(o.x(), o.y() - spacing * i, o.x() - tickLength(i), o.y() - spacing * i));
    }
    GdiPainter::lines(painter, segments, GdiPainter::fromColorRef(toolColor));
    CTool::Draw(painter);
}

int CReticuleTool::EditOptions(ToolDialogs& dialogs, SettingsStore& settings)
{
    if (!dialogs.editReticuleOptions(*this))
        return 0;
    ToolStyle::writeReticuleOptions(settings, *this);
    return 1;
}
