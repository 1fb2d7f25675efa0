// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CTool.h"

// An L-shaped scale of ticks from origin 0: rightwards with ticks below,
// upwards with ticks to the left. Spacing is in image pixels.
class CReticuleTool : public CTool {
public:
    CReticuleTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Draw(QPainter& painter) override;
    int EditOptions(ToolDialogs& dialogs, SettingsStore& settings) override;

    // Every tenth tick 14 pixels long, every fifth 10, the others 7.
    static int tickLength(int index);

    int spacing = 2;
    int count = 100;
    bool horizontalAxis = true;
    bool verticalAxis = true;
};
