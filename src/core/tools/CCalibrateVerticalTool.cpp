// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CCalibrateVerticalTool.h"

#include "core/tools/ToolKind.h"

CCalibrateVerticalTool::CCalibrateVerticalTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CVerticalTool(settings, mainWindow)
{
    kind = KindCalibrateVertical;
}
