// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CTool.h"

// A straight distance between end points 1 and 2; the base of the other
// two-point measuring tools.
class CLineTool : public CTool {
public:
    CLineTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Draw(QPainter& painter) override;
    void UpdateLabel() override;
    // The end points' distance in pixels, one less when at least 1.
    double GetPixelLength() const override;
    double GetDistance(QString* text = nullptr) const override;
    // The direction from end 2 to end 1, in (0, 360] degrees.
    double GetAngle(QString* text = nullptr) const override;

    // |d| - 1 when |d| >= 1, else 0.
    static int reduceAtLeastOne(int d);
    // |d| - 1 when |d| > 1, else |d|.
    static int reduceAboveOne(int d);
    // Degrees as the tools convert them (pi taken as 3.14159).
    static double degrees(double radians);

protected:
    // A solid one-pixel line in the tool colour, its last pixel left out.
    void line(QPainter& painter, QPoint from, QPoint to) const;
    static QString format(const char* pattern, double value, const QString& unit);
};
