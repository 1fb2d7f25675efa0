// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CLineTool.h"

// The area of the rectangle with corners at points 1 and 2.
class CRectangleTool : public CLineTool {
public:
    CRectangleTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Draw(QPainter& painter) override;
    void UpdateLabel() override;
    double GetArea(QString* text = nullptr) const override;
    // Twice the reduced width and height of GetArea, scaled.
    double GetPerimeter() const override;
};
