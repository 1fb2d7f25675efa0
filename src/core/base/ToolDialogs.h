// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

class CTool;
class CCircleTool;
class CReticuleTool;
class CTextTool;
class CArrowTool;
class CScaleBarTool;

// The option dialogs a tool opens on itself. Each copies the tool's values
// in, and writes the edited values into the tool only when the user
// confirms; the result tells whether that happened. The program shows real
// dialogs, tests answer from a script.
class ToolDialogs {
public:
    virtual ~ToolDialogs() = default;
    virtual bool editToolOptions(CTool& tool) = 0;
    virtual bool editCircleOptions(CCircleTool& tool) = 0;
    virtual bool editReticuleOptions(CReticuleTool& tool) = 0;
    virtual bool editTextOptions(CTextTool& tool) = 0;
    virtual bool editArrowOptions(CArrowTool& tool) = 0;
    virtual bool editScaleBarOptions(CScaleBarTool& tool) = 0;
};
