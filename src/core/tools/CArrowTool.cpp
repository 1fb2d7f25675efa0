// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CArrowTool.h"

#include "core/base/ToolDialogs.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"
#include "core/video/GdiPainter.h"

namespace {

// Shaft end and the two barb ends, relative to the tip.
struct ArrowShape {
    QPoint shaft;
    QPoint barb1;
    QPoint barb2;
};

constexpr ArrowShape shapes[] = {
    { { 32, 0 }, { 10, 10 }, { 10, -10 } }, // left
    { { -32, 0 }, { -10, 10 }, { -10, -10 } }, // right
    { { 0, 32 }, { -10, 10 }, { 10, 10 } }, // up
    { { 0, -32 }, { -10, -10 }, { 10, -10 } }, // down
};

} // namespace

CArrowTool::CArrowTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CTool(settings, mainWindow)
{
    kind = KindArrow;
    ToolStyle::readArrow(settings, *this);
}

void CArrowTool::Draw(QPainter& painter)
{
    // Any other direction draws only the handle.
    if (direction >= Left && direction <= Down) {
        const QColor color = GdiPainter::fromColorRef(toolColor);
        const QPoint tip = points[0];
        const ArrowShape& shape = shapes[direction];
        for (const QPoint& end : { shape.shaft, shape.barb1, shape.barb2 })
            GdiPainter::line(painter, tip.x(), tip.y(), tip.x() + end.x(), tip.y() + end.y(), color);
    }
    CTool::Draw(painter);
}

int CArrowTool::EditOptions(ToolDialogs& dialogs, SettingsStore& settings)
{
    if (!dialogs.editArrowOptions(*this))
        return 0;
    ToolStyle::writeArrowOptions(settings, *this);
    return 1;
}
