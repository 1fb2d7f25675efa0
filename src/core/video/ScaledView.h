// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QTransform>

#include "core/video/ViewComposer.h"

class QPainter;

// Shows a composed view at a scale other than 1. Reduced, it shows a copy
// made once by area averaging, kept until the picture changes, and draws the
// tool over it at screen resolution: a fitted camera picture then paints
// about as fast as a screen-sized one, also while a tool is dragged.
// Magnified, each view pixel becomes a sharp square.
//
// Coordinates: client pixels are view pixels times the scale; the image
// starts at view pixel (border, border).
class ScaledView {
public:
    // The picture changed: the next reduced paint needs a new copy.
    void invalidate();
    // Whether painting a view of `view` pixels at `scale` needs a new copy.
    bool stale(const QSize& view, double scale) const;
    // Reduces `composed` (the view without its tool) to `scale`, below 1.
    void rebuild(const QImage& composed, double scale);
    // Paints the client area `dirty` from the reduced copy, then the tool in
    // image coordinates, clipped to `toolClip` (image pixels).
    void paintReduced(QPainter& painter, const QRect& dirty, int border, const QRegion& toolClip,
        const ViewComposer::Overlay& tool) const;
    // Paints the client area `dirty` of `composed` enlarged by `scale`.
    static void paintMagnified(QPainter& painter, const QRect& dirty, const QImage& composed, double scale);
    // Image pixels to client pixels.
    static QTransform imageToClient(int border, double scale);

    const QImage& reducedCopy() const { return reduced; }

private:
    QImage reduced;
    QSize source;
    double reducedScale = 0;
};
