// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CLineTool.h"

// The angle at vertex 3 between the arms to points 1 and 2.
class CAngleTool : public CLineTool {
public:
    CAngleTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    int Press(QPoint p) override;
    void Draw(QPainter& painter) override;
    void UpdateLabel() override;
    double GetDistance(QString* text = nullptr) const override;
    // 0 to 180 degrees.
    double GetAngle(QString* text = nullptr) const override;
};
