// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/app/DialogPrompts.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPrintDialog>
#include <QSlider>
#include <QVBoxLayout>

#include "ui/calibration/CCalibrateNowDlg.h"
#include "ui/calibration/CMagnificationDlg.h"
#include "ui/favorites/CAddFavoriteDlg.h"
#include "ui/favorites/CFavoritesFolderDlg.h"
#include "ui/favorites/CFindFavoriteDlg.h"
#include "ui/favorites/CNewFolderDlg.h"
#include "ui/favorites/CSortOptionsDlg.h"
#include "ui/output/CSaveChangesDlg.h"
#include "ui/output/CTitleBlockDlg.h"
#include "ui/tools/CBurnNowDlg.h"
#include "ui/tools/ToolOptionsDialogs.h"
#include "ui/video/CDisplayRangeDlg.h"

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

bool DialogPrompts::askYesNo(const QString& question)
{
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Scopique"), question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString DialogPrompts::saveMeasurementsFileName(const QString& defaultName)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({ QStringLiteral("csv (*.csv)") });
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(defaultName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
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

namespace {

// A list to pick one entry from, with OK (and Cancel when asked for).
int chooseFromList(QWidget* parent, const QString& title, const QStringList& entries, int current, bool cancel)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* list = new QListWidget(&dialog);
    list->addItems(entries);
    list->setCurrentRow(current);
    auto* buttons = new QDialogButtonBox(
        cancel ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return list->currentRow();
}

// Slider steps across a control's range.
constexpr int controlSteps = 1000;

} // namespace

int DialogPrompts::selectCamera(const QStringList& cameras, int current)
{
    return chooseFromList(parent, QStringLiteral("Select Camera"), cameras, current, false);
}

int DialogPrompts::videoFormat(const QStringList& formats, int current)
{
    return chooseFromList(parent, QStringLiteral("Video Format"), formats, current, true);
}

bool DialogPrompts::videoControls(QList<FrameSource::Control>& controls)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Video Controls"));
    auto* form = new QFormLayout(&dialog);
    QList<QSlider*> sliders;
    for (const FrameSource::Control& control : controls) {
        auto* slider = new QSlider(Qt::Horizontal, &dialog);
        slider->setRange(0, controlSteps);
        const double span = control.maximum - control.minimum;
        slider->setValue(span > 0 ? int((control.value - control.minimum) / span * controlSteps + 0.5) : 0);
        form->addRow(control.name, slider);
        sliders << slider;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    for (int i = 0; i < controls.size(); ++i) {
        FrameSource::Control& control = controls[i];
        control.value = control.minimum + (control.maximum - control.minimum) * sliders[i]->value() / controlSteps;
    }
    return true;
}

bool DialogPrompts::editDisplayRange(DisplayRangeEditor& editor)
{
    CDisplayRangeDlg dialog(editor, parent);
    return dialog.exec() == QDialog::Accepted;
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

bool DialogPrompts::editScaleBarOptions(CScaleBarTool& tool)
{
    return ToolOptionsDialogs::editScaleBarOptions(tool, parent);
}
