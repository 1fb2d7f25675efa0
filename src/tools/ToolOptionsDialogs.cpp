// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "tools/ToolOptionsDialogs.h"

#include "tools/CArrowOptionsDlg.h"
#include "tools/CCircleOptionsDlg.h"
#include "tools/CReticuleOptionsDlg.h"
#include "tools/CTextOptionsDlg.h"
#include "tools/CToolOptionsDlg.h"

bool ToolOptionsDialogs::editToolOptions(CTool& tool, QWidget* parent)
{
    CToolOptionsDlg dialog(tool, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ToolOptionsDialogs::editCircleOptions(CCircleTool& tool, QWidget* parent)
{
    CCircleOptionsDlg dialog(tool, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ToolOptionsDialogs::editReticuleOptions(CReticuleTool& tool, QWidget* parent)
{
    CReticuleOptionsDlg dialog(tool, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ToolOptionsDialogs::editTextOptions(CTextTool& tool, QWidget* parent)
{
    CTextOptionsDlg dialog(tool, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool ToolOptionsDialogs::editArrowOptions(CArrowTool& tool, QWidget* parent)
{
    CArrowOptionsDlg dialog(tool, parent);
    return dialog.exec() == QDialog::Accepted;
}
