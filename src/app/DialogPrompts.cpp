// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "app/DialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>

#include "calibration/CCalibrateNowDlg.h"
#include "calibration/CMagnificationDlg.h"
#include "favorites/CAddFavoriteDlg.h"
#include "favorites/CFavoritesFolderDlg.h"
#include "favorites/CFindFavoriteDlg.h"
#include "favorites/CNewFolderDlg.h"
#include "favorites/CSortOptionsDlg.h"
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

QString DialogPrompts::saveImageFileName(const QString& defaultName, const QString& filter)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // An existing file is replaced without asking.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(filter.split(QStringLiteral(";;")));
    dialog.selectFile(defaultName);
    // A name typed without an extension gets the chosen filter's, JPEG at first.
    const auto suffixOf = [](const QString& nameFilter) {
        return nameFilter.section(QStringLiteral("*."), 1, 1).section(QLatin1Char(')'), 0, 0).trimmed();
    };
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixOf](const QString& chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool DialogPrompts::addFavorite(const QString& folder, QString& name, QString& description)
{
    CAddFavoriteDlg dialog(parent);
    dialog.setFolder(folder);
    dialog.setName(name);
    dialog.setDescription(description);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.name();
    description = dialog.description();
    return true;
}

bool DialogPrompts::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    // The whole picture on one page: nothing to select, no pages to choose.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::sortOptions(int& direction, int& field)
{
    CSortOptionsDlg dialog(parent);
    dialog.setDirection(direction);
    dialog.setField(field);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    direction = dialog.direction();
    field = dialog.field();
    return true;
}

void DialogPrompts::findFavorite(CFavoritesList& list)
{
    CFindFavoriteDlg dialog(list, parent);
    dialog.exec();
}

bool DialogPrompts::chooseFavoritesFolder(FavoritesFolderChooser& chooser)
{
    CFavoritesFolderDlg dialog(chooser, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool DialogPrompts::newFavoritesFolder(QString& name)
{
    CNewFolderDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.name();
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
