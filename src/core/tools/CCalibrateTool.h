// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CHorizontalTool.h"

// A Horizontal tool laid across a feature of known width to calibrate; it
// shows no label.
class CCalibrateTool : public CHorizontalTool {
public:
    CCalibrateTool(const SettingsStore& settings, AppMessageSink& mainWindow);
};
