// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CCalibrateTool.h"

#include "core/tools/ToolKind.h"

CCalibrateTool::CCalibrateTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CHorizontalTool(settings, mainWindow)
{
    kind = KindCalibrate;
}
