// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/GdiPainter.h"

#include <cstdlib>
#include <utility>

#include <QFontMetrics>
#include <QPolygon>
#include <QtMath>

namespace GdiPainter {

namespace {

// The pixels of a row or column line without its last point.
QRect strip(int x1, int y1, int x2, int y2)
{
    if (y1 == y2)
        return QRect(x2 > x1 ? x1 : x2 + 1, y1, std::abs(x2 - x1), 1);
    return QRect(x1, y2 > y1 ? y1 : y2 + 1, 1, std::abs(y2 - y1));
}

// Whether the painter shows an image pixel smaller than a device pixel: a
// view zoomed out.
bool reduces(const QPainter& painter)
{
    const QTransform& transform = painter.worldTransform();
    return transform.m11() < 1 || transform.m22() < 1;
}

// The device pixels of `rect` under `transform`, at least one in each
// direction, so that a one-pixel line of a figure stays visible.
QRect onDevice(const QTransform& transform, const QRect& rect)
{
    const QRectF mapped = transform.mapRect(QRectF(rect));
    const int left = qFloor(mapped.left() + 1e-9);
    const int top = qFloor(mapped.top() + 1e-9);
    const int right = qMax(left + 1, qCeil(mapped.right() - 1e-9));
    const int bottom = qMax(top + 1, qCeil(mapped.bottom() - 1e-9));
    return QRect(left, top, right - left, bottom - top);
}

// fillRect, on a reducing painter never thinner than a device pixel.
void fill(QPainter& painter, const QRect& rect, const QBrush& brush)
{
    if (!reduces(painter)) {
        painter.fillRect(rect, brush);
        return;
    }
    const QTransform transform = painter.worldTransform();
    painter.save();
    painter.resetTransform();
    painter.fillRect(onDevice(transform, rect), brush);
    painter.restore();
}

} // namespace

void rectangle(QPainter& painter, int l, int t, int r, int b, const QColor& pen, const QBrush& brush)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    const int w = r - l;
    const int h = b - t;
    if (w == 0 || h == 0)
        return;
    // Filled rectangles rather than a stroked path: they land on exactly the
    // pixels given, whatever the painter's pen settings.
    if (brush.style() != Qt::NoBrush)
        fill(painter, QRect(l, t, w, h), brush);
    if (!pen.isValid())
        return;
    fill(painter, QRect(l, t, w, 1), pen);
    fill(painter, QRect(l, b - 1, w, 1), pen);
    fill(painter, QRect(l, t, 1, h), pen);
    fill(painter, QRect(r - 1, t, 1, h), pen);
}

void handle(QPainter& painter, QPoint at, const QColor& pen)
{
    if (!reduces(painter)) {
        rectangle(painter, at.x() - 3, at.y() - 3, at.x() + 4, at.y() + 4, pen, Qt::NoBrush);
        return;
    }
    const QPoint centre = onDevice(painter.worldTransform(), QRect(at, QSize(1, 1))).topLeft();
    painter.save();
    painter.resetTransform();
    rectangle(painter, centre.x() - 3, centre.y() - 3, centre.x() + 4, centre.y() + 4, pen, Qt::NoBrush);
    painter.restore();
}

void line(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& pen)
{
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int steps = qMax(dx, dy);
    if (steps == 0)
        return;
    if (dx == 0 || dy == 0) {
        fill(painter, strip(x1, y1, x2, y2), pen);
        return;
    }
    // Stepped from the start so that only the end point is left out,
    // whichever way the line runs.
    const int sx = x2 > x1 ? 1 : -1;
    const int sy = y2 > y1 ? 1 : -1;
    QPolygon points(steps);
    int x = x1;
    int y = y1;
    if (dx >= dy) {
        int error = 2 * dy - dx;
        for (int i = 0; i < steps; ++i) {
            points.setPoint(i, x, y);
            if (error > 0) {
                y += sy;
                error -= 2 * dx;
            }
            error += 2 * dy;
            x += sx;
        }
    } else {
        int error = 2 * dx - dy;
        for (int i = 0; i < steps; ++i) {
            points.setPoint(i, x, y);
            if (error > 0) {
                x += sx;
                error -= 2 * dy;
            }
            error += 2 * dx;
            y += sy;
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(pen, 0));
    painter.drawPoints(points);
    painter.restore();
}

void lines(QPainter& painter, const QVector<QLine>& segments, const QColor& pen)
{
    // Row and column lines go to the painter in one call: a reticule has
    // thousands, and each painter call costs far more than its pixels.
    QVector<QRect> strips;
    strips.reserve(segments.size());
    for (const QLine& segment : segments) {
        if (segment.p1() == segment.p2())
            continue;
        if (segment.dx() == 0 || segment.dy() == 0)
            strips.append(strip(segment.x1(), segment.y1(), segment.x2(), segment.y2()));
        else
            line(painter, segment.x1(), segment.y1(), segment.x2(), segment.y2(), pen);
    }
    if (strips.isEmpty())
        return;
    painter.save();
    if (reduces(painter)) {
        const QTransform transform = painter.worldTransform();
        for (QRect& strip : strips)
            strip = onDevice(transform, strip);
        painter.resetTransform();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(pen);
    painter.drawRects(strips);
    painter.restore();
}

void textOut(QPainter& painter, int x, int y, const QString& text, const QColor& color, const QColor& background)
{
    if (text.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    if (background.isValid())
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), background);
    painter.save();
    painter.setPen(color);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    painter.restore();
}

void drawText(QPainter& painter, QPoint topLeft, const QString& text, const QColor& color)
{
    if (text.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    painter.save();
    painter.setPen(color);
    int y = topLeft.y() + metrics.ascent();
    // "\r\n" and "\n" both break a line, as in the text dialog.
    for (const QString& line : QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'))) {
        painter.drawText(QPoint(topLeft.x(), y), line);
        y += metrics.height();
    }
    painter.restore();
}

QColor fromColorRef(quint32 colorRef)
{
    return QColor(int(colorRef & 0xff), int((colorRef >> 8) & 0xff), int((colorRef >> 16) & 0xff));
}

QFont defaultFont()
{
    // Stands for the device context's default font: small, plain sans-serif,
    // the same size on every screen.
    QFont font;
    font.setFamilies({ QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans") });
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    return font;
}

} // namespace GdiPainter
