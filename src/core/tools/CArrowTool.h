// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CTool.h"

// An arrow whose tip is point 0, pointing left, right, up or down.
class CArrowTool : public CTool {
public:
    enum Direction { Left = 0, Right = 1, Up = 2, Down = 3 };

    CArrowTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    void Draw(QPainter& painter) override;
    int EditOptions(ToolDialogs& dialogs, SettingsStore& settings) override;

    int direction = Up;
};
