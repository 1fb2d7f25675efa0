// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QRect>

#include "core/tools/CTool.h"

// A filled bar of a round length in the calibrated unit, its label ("100 um")
// centred above it. Point 0 is the bar's bottom-left pixel; point 1 is where
// the pointer last took hold of it, so that a drag moves the whole bar by the
// pointer's motion. A new bar lays itself 20 pixels from the picture's left
// and bottom edges.
class CScaleBarTool : public CTool {
public:
    static constexpr int MinThickness = 1;
    static constexpr int MaxThickness = 50;
    static constexpr int DefaultThickness = 6;
    // Gap between the bar and the picture's left and bottom edges.
    static constexpr int Margin = 20;

    CScaleBarTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void SetPictureSize(QSize size) override;
    // A press on the bar or its label takes hold of it; on a burnt bar the
    // first press lays the bar's left end there.
    int Press(QPoint p) override;
    // The bar moves as a whole, whichever point is held.
    void Drag(QPoint p, bool moveAll) override;
    void Draw(QPainter& painter) override;
    void DrawLabel(QPainter& painter) override;
    void UpdateLabel() override;
    int EditOptions(ToolDialogs& dialogs, SettingsStore& settings) override;

    // The largest 1, 2 or 5 x 10^k whose bar, length / scale pixels rounded,
    // is at most a quarter of `pictureWidth`; 0 when none is (a picture
    // narrower than 4 pixels, a scale that is not a positive number).
    static double automaticLength(int pictureWidth, double scale);
    // The length shown: the typed one, else the automatic one for the
    // picture's width and the horizontal scale.
    double barLength() const;
    // The bar's length in pixels: barLength() / scaleX, rounded.
    int barPixels() const;
    // The bar's pixels; empty when it has none.
    QRect barRect() const;

    // The typed length in the calibrated unit; 0 for Automatic.
    double length = 0.0;
    int thickness = DefaultThickness;

private:
    // Where the label's text cell lies, from the label as last updated.
    QRect labelRect() const;

    QSize pictureSize;
};
