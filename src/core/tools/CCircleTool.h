// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CLineTool.h"

// A circle around centre 1 through rim point 2, labelled with its area,
// circumference, diameter or radius.
class CCircleTool : public CLineTool {
public:
    enum Display { Area = 0, Circumference = 1, Diameter = 2, Radius = 3 };

    CCircleTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Draw(QPainter& painter) override;
    void UpdateLabel() override;
    double GetArea(QString* text = nullptr) const override;
    // The circumference the label shows.
    double GetPerimeter() const override;
    int EditOptions(ToolDialogs& dialogs, SettingsStore& settings) override;

    int circleDisplay = Area;
};
