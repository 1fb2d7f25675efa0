// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QStringList>

#include "tools/CArrowTool.h"
#include "tools/CCircleTool.h"
#include "tools/CReticuleTool.h"
#include "tools/CTextTool.h"
#include "tools/ToolDialogs.h"

// The option dialogs answered from a script: OK when `accept` is set, and
// then `change` stands for the user's edits. Records which dialog was asked.
class ScriptedToolDialogs : public ToolDialogs {
public:
    using Change = std::function<void(CTool&)>;

    bool accept = true;
    Change change;
    QStringList asked;

    bool editToolOptions(CTool& tool) override { return answer(QStringLiteral("tool"), tool); }
    bool editCircleOptions(CCircleTool& tool) override { return answer(QStringLiteral("circle"), tool); }
    bool editReticuleOptions(CReticuleTool& tool) override { return answer(QStringLiteral("reticule"), tool); }
    bool editTextOptions(CTextTool& tool) override { return answer(QStringLiteral("text"), tool); }
    bool editArrowOptions(CArrowTool& tool) override { return answer(QStringLiteral("arrow"), tool); }

private:
    bool answer(const QString& dialog, CTool& tool)
    {
        asked << dialog;
        if (accept && change)
            change(tool);
        return accept;
    }
};
