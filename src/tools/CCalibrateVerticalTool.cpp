// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "tools/CCalibrateVerticalTool.h"

#include "tools/ToolKind.h"

CCalibrateVerticalTool::CCalibrateVerticalTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CVerticalTool(settings, mainWindow)
{
    kind = KindCalibrateVertical;
}
