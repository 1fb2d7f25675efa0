// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CLineTool.h"

// The horizontal gap between two 30-pixel ticks at points 1 (left) and 2
// (right), with tails 3 and 4 pointing outwards. All points keep one row.
// Drives the horizontal brightness profile.
class CHorizontalTool : public CLineTool {
public:
    CHorizontalTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Drag(QPoint p, bool moveAll) override;
    int Press(QPoint p) override;
    void Draw(QPainter& painter) override;
    double GetDistance(QString* text = nullptr) const override;
};
