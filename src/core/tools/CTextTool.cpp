// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CTextTool.h"

#include "core/base/ToolDialogs.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"

CTextTool::CTextTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CTool(settings, mainWindow)
{
    kind = KindText;
}

int CTextTool::EditOptions(ToolDialogs& dialogs, SettingsStore& settings)
{
    if (!dialogs.editTextOptions(*this))
        return 0;
    ToolStyle::writeTextOptions(settings, *this);
    return 1;
}
