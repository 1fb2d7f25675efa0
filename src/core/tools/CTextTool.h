// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/tools/CTool.h"

// The user's text, its top-left corner at point 0; line breaks start new lines.
class CTextTool : public CTool {
public:
    CTextTool(const SettingsStore& settings, AppMessageSink& mainWindow);

    // The label is the user's text and stays as the dialog left it.
    void UpdateLabel() override { }
    int EditOptions(ToolDialogs& dialogs, SettingsStore& settings) override;
};
