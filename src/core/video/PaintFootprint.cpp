// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/PaintFootprint.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

namespace {

// How far a cap, a join or a pixel's rounding may reach beyond a figure's
// outline.
constexpr qreal edge = 2.0;
// Segments are marked at points this far apart.
constexpr qreal segmentStep = PaintFootprint::tile / 2.0;

// Receives the drawing calls and marks what each would cover. Primitives
// arrive in user coordinates (it claims every feature, so the painter
// leaves transforming to it) and are mapped with the painter's transform.
class FootprintEngine : public QPaintEngine {
public:
    explicit FootprintEngine(PaintFootprint& footprint)
        : QPaintEngine(AllFeatures)
        , footprint(footprint)
    {
    }

    bool begin(QPaintDevice*) override
    {
        transform = QTransform();
        pen = QPen();
        brush = QBrush();
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyTransform)
            transform = state.transform();
        if (dirty & DirtyPen)
            pen = state.pen();
        if (dirty & DirtyBrush)
            brush = state.brush();
    }

    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i) {
            const QRectF& rect = rects[i];
            if (filled())
                footprint.markRect(transform.map(QPolygonF(rect)).boundingRect(), edge + reach());
            else if (stroked())
                outline(QPolygonF(rect));
        }
    }

    void drawLines(const QLineF* lines, int count) override
    {
        if (!stroked())
            return;
        for (int i = 0; i < count; ++i)
            footprint.markSegment(transform.map(lines[i].p1()), transform.map(lines[i].p2()), reach());
    }

    void drawPoints(const QPointF* points, int count) override
    {
        if (!stroked())
            return;
        const qreal margin = reach();
        for (int i = 0; i < count; ++i) {
            const QPointF at = transform.map(points[i]);
            footprint.markRect(QRectF(at, at), margin);
        }
    }

    void drawPoints(const QPoint* points, int count) override
    {
        if (!stroked())
            return;
        if (transform.type() > QTransform::TxTranslate) {
            QPaintEngine::drawPoints(points, count);
            return;
        }
        // A line of single pixels has thousands of them: whole pixels, only
        // shifted, are marked without any real arithmetic.
        const int margin = int(std::ceil(reach()));
        const QPointF shift(transform.dx(), transform.dy());
        const bool whole = shift == QPointF(std::floor(shift.x()), std::floor(shift.y()));
        if (!whole) {
            QPaintEngine::drawPoints(points, count);
            return;
        }
        const int dx = int(shift.x());
        const int dy = int(shift.y());
        for (int i = 0; i < count; ++i) {
            const int x = points[i].x() + dx;
            const int y = points[i].y() + dy;
            footprint.markPixels(x - margin, y - margin, x + margin, y + margin);
        }
    }

    void drawEllipse(const QRectF& rect) override
    {
        QPainterPath path;
        path.addEllipse(rect);
        drawPath(path);
    }

    void drawPath(const QPainterPath& path) override
    {
        if (filled())
            footprint.markRect(transform.map(path).boundingRect(), edge + reach());
        else if (stroked())
            for (const QPolygonF& part : path.toSubpathPolygons(transform))
                outlineMapped(part);
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        if (count <= 0)
            return;
        QPolygonF polygon(count);
        std::copy(points, points + count, polygon.begin());
        if (mode != PolylineMode && filled()) {
            footprint.markRect(transform.map(polygon).boundingRect(), edge + reach());
            return;
        }
        if (mode != PolylineMode)
            polygon << points[0];
        if (stroked())
            outline(polygon);
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        // The cell, and the glyphs' own extent where they overhang it
        // (italics, bearings); a quarter of the height more for hinting and
        // synthetic bold. Underlines arrive as rectangles of their own.
        const QFontMetricsF metrics(item.font());
        QRectF box(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        box |= metrics.boundingRect(item.text()).translated(p);
        box.adjust(-metrics.height() / 4, 0, metrics.height() / 4, 0);
        footprint.markRect(transform.map(QPolygonF(box)).boundingRect(), edge);
    }

    void drawPixmap(const QRectF& r, const QPixmap&, const QRectF&) override { drawArea(r); }
    void drawTiledPixmap(const QRectF& r, const QPixmap&, const QPointF&) override { drawArea(r); }
    void drawImage(const QRectF& r, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { drawArea(r); }

private:
    bool stroked() const { return pen.style() != Qt::NoPen; }
    bool filled() const { return brush.style() != Qt::NoBrush; }

    // How far the pen reaches from the line it strokes, in device pixels.
    qreal reach() const
    {
        if (!stroked())
            return edge;
        qreal width = std::max<qreal>(pen.widthF(), 1.0);
        if (!pen.isCosmetic())
            width *= std::sqrt(std::abs(transform.determinant()));
        // A miter join may stick out by the miter limit times the width.
        if (pen.joinStyle() == Qt::MiterJoin || pen.joinStyle() == Qt::SvgMiterJoin)
            width *= std::max<qreal>(pen.miterLimit(), 1.0);
        return width + edge;
    }

    void drawArea(const QRectF& r) { footprint.markRect(transform.map(QPolygonF(r)).boundingRect(), edge); }

    void outline(const QPolygonF& polygon) { outlineMapped(transform.map(polygon)); }

    void outlineMapped(const QPolygonF& polygon)
    {
        const qreal margin = reach();
        if (polygon.size() == 1)
            footprint.markRect(QRectF(polygon[0], polygon[0]), margin);
        for (int i = 1; i < polygon.size(); ++i)
            footprint.markSegment(polygon[i - 1], polygon[i], margin);
    }

    PaintFootprint& footprint;
    QTransform transform;
    QPen pen;
    QBrush brush;
};

} // namespace

PaintFootprint::PaintFootprint(const QImage& picture)
    : size(picture.size())
    , dpiX(picture.logicalDpiX())
    , dpiY(picture.logicalDpiY())
    , widthMM(picture.widthMM())
    , heightMM(picture.heightMM())
    , columns((size.width() + tile - 1) / tile)
    , rows((size.height() + tile - 1) / tile)
    , words((columns + 63) / 64)
    , bits(size_t(words) * size_t(rows), 0)
    , engine(std::make_unique<FootprintEngine>(*this))
{
}

PaintFootprint::~PaintFootprint() = default;

QPaintEngine* PaintFootprint::paintEngine() const
{
    return engine.get();
}

int PaintFootprint::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return size.width();
    case PdmHeight:
        return size.height();
    case PdmWidthMM:
        return widthMM;
    case PdmHeightMM:
        return heightMM;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return dpiY;
    case PdmDepth:
        return 32;
    case PdmNumColors:
        return 0;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

void PaintFootprint::markRect(const QRectF& rect, qreal margin)
{
    const QRectF r = rect.normalized();
    // Pixel (x, y) covers x .. x + 1: a figure at x touches pixel ⌊x⌋.
    // Far outside the picture is as good as just outside it.
    const auto pixel = [](qreal v) { return int(std::clamp<qreal>(std::floor(v), -1, 1 << 30)); };
    markPixels(
        pixel(r.left() - margin), pixel(r.top() - margin), pixel(r.right() + margin), pixel(r.bottom() + margin));
}

void PaintFootprint::markPixels(int left, int top, int right, int bottom)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, size.width() - 1);
    bottom = std::min(bottom, size.height() - 1);
    if (left > right || top > bottom)
        return;
    const QRect tiles(QPoint(left / tile, top / tile), QPoint(right / tile, bottom / tile));
    // Neighbouring pixels of a line mostly fall on the tiles just marked.
    if (tiles == lastTiles)
        return;
    lastTiles = tiles;
    for (int row = tiles.top(); row <= tiles.bottom(); ++row) {
        quint64* line = bits.data() + size_t(row) * size_t(words);
        for (int column = tiles.left(); column <= tiles.right(); ++column)
            line[column >> 6] |= quint64(1) << (column & 63);
    }
}

void PaintFootprint::markSegment(QPointF from, QPointF to, qreal margin)
{
    // Only the part within reach of the picture is walked: a reticule's
    // ticks or a dragged end may lie far outside it.
    const QRectF area = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(-margin, -margin, margin, margin);
    const QPointF d = to - from;
    qreal t0 = 0;
    qreal t1 = 1;
    const qreal p[] = { -d.x(), d.x(), -d.y(), d.y() };
    const qreal q[]
        = { from.x() - area.left(), area.right() - from.x(), from.y() - area.top(), area.bottom() - from.y() };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return;
            continue;
        }
        const qreal t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return;
    const QPointF a = from + d * t0;
    const QPointF b = from + d * t1;
    const qreal length = std::max(std::abs(b.x() - a.x()), std::abs(b.y() - a.y()));
    const int steps = std::max(1, int(std::ceil(length / segmentStep)));
    // Every point of the segment lies within half a step of a marked one.
    for (int i = 0; i <= steps; ++i) {
        const QPointF at = a + (b - a) * (qreal(i) / steps);
        markRect(QRectF(at, at), margin + segmentStep / 2);
    }
}

QRegion PaintFootprint::region() const
{
    // Runs of marked tiles, row by row: rectangles of one band share their
    // top and height and never touch, as QRegion::setRects wants.
    std::vector<QRect> rects;
    for (int row = 0; row < rows; ++row) {
        const quint64* line = bits.data() + size_t(row) * size_t(words);
        const int top = row * tile;
        const int height = std::min(tile, size.height() - top);
        // The next column from `column` on whose bit is `set`, or `columns`.
        const auto next = [&](int column, bool set) {
            while (column < columns) {
                const quint64 word = set ? line[column >> 6] : ~line[column >> 6];
                const quint64 ahead = word >> (column & 63);
                if (ahead != 0)
                    return std::min(column + int(qCountTrailingZeroBits(ahead)), columns);
                column = (column | 63) + 1;
            }
            return columns;
        };
        for (int start = next(0, true); start < columns; start = next(start, true)) {
            const int end = next(start, false);
            const int left = start * tile;
            rects.emplace_back(left, top, std::min(end * tile, size.width()) - left, height);
            start = end;
        }
    }
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}
