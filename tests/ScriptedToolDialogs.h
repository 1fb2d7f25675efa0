// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QStringList>

#include "core/base/ToolDialogs.h"

// The option dialogs answered from a script: OK when `accept` is set, the
// tool left as it is. Records which dialog was asked.
class ScriptedToolDialogs : public ToolDialogs {
public:
    bool accept = true;
    QStringList asked;

    bool editToolOptions(CTool&) override { return answer(QStringLiteral("tool")); }
    bool editCircleOptions(CCircleTool&) override { return answer(QStringLiteral("circle")); }
    bool editReticuleOptions(CReticuleTool&) override { return answer(QStringLiteral("reticule")); }
    bool editTextOptions(CTextTool&) override { return answer(QStringLiteral("text")); }
    bool editArrowOptions(CArrowTool&) override { return answer(QStringLiteral("arrow")); }
    bool editScaleBarOptions(CScaleBarTool&) override { return answer(QStringLiteral("scalebar")); }

private:
    bool answer(const QString& dialog)
    {
        asked << dialog;
        return accept;
    }
};
