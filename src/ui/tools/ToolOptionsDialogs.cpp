// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/ToolOptionsDialogs.h"

#include "ui/tools/CArrowOptionsDlg.h"
#include "ui/tools/CCircleOptionsDlg.h"
#include "ui/tools/CReticuleOptionsDlg.h"
#include "ui/tools/CScaleBarOptionsDlg.h"
#include "ui/tools/CTextOptionsDlg.h"
#include "ui/tools/CToolOptionsDlg.h"

namespace {

// Runs the dialog of type Dialog on `tool`; true when the user confirmed.
template <typename Dialog, typename Tool> bool run(Tool& tool, QWidget* parent)
{
    Dialog dialog(tool, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

bool ToolOptionsDialogs::editToolOptions(CTool& tool, QWidget* parent)
{
    return run<CToolOptionsDlg>(tool, parent);
}

bool ToolOptionsDialogs::editCircleOptions(CCircleTool& tool, QWidget* parent)
{
    return run<CCircleOptionsDlg>(tool, parent);
}

bool ToolOptionsDialogs::editReticuleOptions(CReticuleTool& tool, QWidget* parent)
{
    return run<CReticuleOptionsDlg>(tool, parent);
}

bool ToolOptionsDialogs::editTextOptions(CTextTool& tool, QWidget* parent)
{
    return run<CTextOptionsDlg>(tool, parent);
}

bool ToolOptionsDialogs::editArrowOptions(CArrowTool& tool, QWidget* parent)
{
    return run<CArrowOptionsDlg>(tool, parent);
}

bool ToolOptionsDialogs::editScaleBarOptions(CScaleBarTool& tool, QWidget* parent)
{
    return run<CScaleBarOptionsDlg>(tool, parent);
}
