// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "tools/CTextTool.h"

#include "tools/ToolDialogs.h"
#include "tools/ToolKind.h"
#include "tools/ToolStyle.h"

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
