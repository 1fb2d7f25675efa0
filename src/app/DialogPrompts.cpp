// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "app/DialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "calibration/CCalibrateNowDlg.h"
#include "calibration/CMagnificationDlg.h"
#include "output/CSaveChangesDlg.h"
#include "output/CTitleBlockDlg.h"
#include "tools/CBurnNowDlg.h"
#include "tools/ToolOptionsDialogs.h"

int DialogPrompts::saveChanges()
{
    CSaveChangesDlg dialog(parent);
    return dialog.exec();
}

QString DialogPrompts::openImageFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

void DialogPrompts::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Scopique"), text, QMessageBox::Ok, parent);
    box.exec();
}

UserPrompts::Answer DialogPrompts::burnNow()
{
    CBurnNowDlg dialog(parent);
    const bool yes = dialog.exec() == QDialog::Accepted;
    return { yes, dialog.dontShowAgain() };
}

UserPrompts::Answer DialogPrompts::calibrateNow()
{
    CCalibrateNowDlg dialog(parent);
    const bool yes = dialog.exec() == QDialog::Accepted;
    return { yes, dialog.dontShowAgain() };
}

UserPrompts::MagnificationAnswer DialogPrompts::askMagnification(unsigned current, bool showCheckBox)
{
    CMagnificationDlg dialog(current, showCheckBox, parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    return { ok ? dialog.magnification() : current, dialog.dontShowAgain() };
}

bool DialogPrompts::editTitleBlock(TitleBlockText& text)
{
    CTitleBlockDlg dialog(parent);
    dialog.setText(text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.text();
    return true;
}

bool DialogPrompts::editToolOptions(CTool& tool)
{
    return ToolOptionsDialogs::editToolOptions(tool, parent);
}

bool DialogPrompts::editCircleOptions(CCircleTool& tool)
{
    return ToolOptionsDialogs::editCircleOptions(tool, parent);
}

bool DialogPrompts::editReticuleOptions(CReticuleTool& tool)
{
    return ToolOptionsDialogs::editReticuleOptions(tool, parent);
}

bool DialogPrompts::editTextOptions(CTextTool& tool)
{
    return ToolOptionsDialogs::editTextOptions(tool, parent);
}

bool DialogPrompts::editArrowOptions(CArrowTool& tool)
{
    return ToolOptionsDialogs::editArrowOptions(tool, parent);
}
