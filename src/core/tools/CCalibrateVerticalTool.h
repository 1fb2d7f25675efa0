// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CVerticalTool.h"

// A Vertical tool laid across a feature of known height to calibrate; it
// shows no label.
class CCalibrateVerticalTool : public CVerticalTool {
public:
    CCalibrateVerticalTool(const SettingsStore& settings, AppMessageSink& mainWindow);
};
