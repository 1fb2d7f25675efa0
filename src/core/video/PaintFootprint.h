// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QPaintDevice>
#include <QRegion>

class QPaintEngine;

// Where a drawing would land on a picture, without drawing it: paint into
// this device with the same calls, then read region(). Every figure, text
// and image marks the small tiles it may touch, with a margin for pen
// widths, line ends and glyph edges; the region is those tiles, inside the
// picture. A long thin line therefore costs a band along it, not its
// bounding box.
class PaintFootprint : public QPaintDevice {
public:
    // The picture to be drawn on: its size and resolution.
    explicit PaintFootprint(const QImage& picture);
    ~PaintFootprint() override;

    PaintFootprint(const PaintFootprint&) = delete;
    PaintFootprint& operator=(const PaintFootprint&) = delete;

    QPaintEngine* paintEngine() const override;

    // The marked tiles as disjoint rectangles, clipped to the picture.
    QRegion region() const;

    // Marks the pixels within `margin` of a device rectangle or segment.
    void markRect(const QRectF& rect, qreal margin);
    void markSegment(QPointF from, QPointF to, qreal margin);
    // Marks pixels left..right x top..bottom (inclusive; any part outside
    // the picture is left out).
    void markPixels(int left, int top, int right, int bottom);

    // Tile edge in pixels.
    static constexpr int tile = 8;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size;
    int dpiX;
    int dpiY;
    int widthMM;
    int heightMM;
    int columns;
    int rows;
    // One bit per tile, rows of `words` 64-bit words.
    int words;
    std::vector<quint64> bits;
    QRect lastTiles;
    std::unique_ptr<QPaintEngine> engine;
};
