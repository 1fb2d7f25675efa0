// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CTool.h"

// The area inside vertices 1..n. Each press while open adds a vertex; the
// Video Window closes it (`placed`) on a double-click.
class CPolygonTool : public CTool {
public:
    CPolygonTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Reset() override;
    int Press(QPoint p) override;
    // Closes the polygon. The double-click that ends it added a vertex where
    // its second press lands: that duplicate goes.
    void Finish();
    void Draw(QPainter& painter) override;
    void UpdateLabel() override;
    // Shoelace formula on the scaled vertices, no pixel reduction.
    double GetArea(QString* text = nullptr) const override;
    // The closed outline through the scaled vertices, no pixel reduction.
    double GetPerimeter() const override;

    int vertexCount() const { return int(points.size()) - 1; }
};
