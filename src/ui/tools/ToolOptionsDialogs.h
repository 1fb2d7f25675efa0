// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

class CArrowTool;
class CCircleTool;
class CReticuleTool;
class CScaleBarTool;
class CTextTool;
class CTool;
class QWidget;

// Runs a tool's option dialog modally over `parent`. True when the user
// confirmed, and only then are the edited values written into the tool.
class ToolOptionsDialogs {
public:
    static bool editToolOptions(CTool& tool, QWidget* parent);
    static bool editCircleOptions(CCircleTool& tool, QWidget* parent);
    static bool editReticuleOptions(CReticuleTool& tool, QWidget* parent);
    static bool editTextOptions(CTextTool& tool, QWidget* parent);
    static bool editArrowOptions(CArrowTool& tool, QWidget* parent);
    static bool editScaleBarOptions(CScaleBarTool& tool, QWidget* parent);
};
