// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ScaledView.h"

#include <QPainter>
#include <QtMath>

#include "core/video/ViewScale.h"

void ScaledView::invalidate()
{
    reduced = QImage();
}

bool ScaledView::stale(const QSize& view, double scale) const
{
    return reduced.isNull() || source != view || reducedScale != scale;
}

void ScaledView::rebuild(const QImage& composed, double scale)
{
    source = composed.size();
    reducedScale = scale;
    // Qt's smooth reduction averages every source pixel under a target pixel,
    // so fine structure turns grey instead of aliasing.
    reduced = composed.isNull()
        ? QImage()
        : composed.scaled(ViewScale::shownSize(source, scale), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void ScaledView::paintReduced(
    QPainter& painter, const QRect& dirty, int border, const QRegion& toolClip, const ViewComposer::Overlay& tool) const
{
    painter.drawImage(dirty.topLeft(), reduced, dirty);
    if (!tool)
        return;
    painter.save();
    painter.setClipRect(dirty);
    painter.setTransform(imageToClient(border, reducedScale));
    painter.setClipRegion(toolClip, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    tool(painter);
    painter.restore();
}

void ScaledView::paintMagnified(QPainter& painter, const QRect& dirty, const QImage& composed, double scale)
{
    // Whole view pixels, so that every square lands where the conversion of
    // pointer positions puts it.
    const int left = qMax(0, qFloor(dirty.left() / scale));
    const int top = qMax(0, qFloor(dirty.top() / scale));
    const int right = qMin(composed.width(), qCeil((dirty.right() + 1) / scale));
    const int bottom = qMin(composed.height(), qCeil((dirty.bottom() + 1) / scale));
    if (right <= left || bottom <= top)
        return;
    const QRect from(left, top, right - left, bottom - top);
    const QRectF to(left * scale, top * scale, from.width() * scale, from.height() * scale);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(to, composed, from);
    painter.restore();
}

QTransform ScaledView::imageToClient(int border, double scale)
{
    return QTransform(scale, 0, 0, scale, border * scale, border * scale);
}
