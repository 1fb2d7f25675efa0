// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CReticuleOptionsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/tools/CReticuleTool.h"
#include "ui/widgets/CColorSwatch.h"
#include "ui/widgets/OkCancelButtons.h"

void CReticuleOptionsDlg::messageBox(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Scopique"), text, QMessageBox::Ok, parent);
    box.exec();
}

CReticuleOptionsDlg::CReticuleOptionsDlg(
    CReticuleTool& tool, QWidget* parent, const CColorSwatch::Picker& pickColor, Refusal showRefusal)
    : QDialog(parent)
    , tool(tool)
    , showRefusal(std::move(showRefusal))
    , color(new CColorSwatch(pickColor))
    , horizontal(new QCheckBox(QStringLiteral("Horizontal")))
    , vertical(new QCheckBox(QStringLiteral("Vertical")))
    , spacing(new QLineEdit)
    , count(new QLineEdit)
{
    setWindowTitle(QStringLiteral("Reticule Options"));
    color->setColorRef(tool.toolColor);
    horizontal->setChecked(tool.horizontalAxis);
    vertical->setChecked(tool.verticalAxis);
    spacing->setText(QString::number(tool.spacing));
    count->setText(QString::number(tool.count));

    auto* digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
    spacing->setValidator(digitsOnly);
    count->setValidator(digitsOnly);
    // Room for the largest allowed count, no more.
    for (QLineEdit* edit : { spacing, count })
        edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);

    auto* axis = new QGroupBox(QStringLiteral("Axis"));
    auto* axisLayout = new QVBoxLayout(axis);
    axisLayout->addWidget(horizontal);
    axisLayout->addWidget(vertical);

    auto* tick = new QGroupBox(QStringLiteral("Tick"));
    auto* tickLayout = new QFormLayout(tick);
    tickLayout->addRow(QStringLiteral("Spacing"), spacing);
    tickLayout->addRow(QStringLiteral("Count"), count);

    auto* groups = new QHBoxLayout;
    groups->addWidget(color->inGroup(QStringLiteral("Color")));
    groups->addWidget(axis);
    groups->addWidget(tick);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CReticuleOptionsDlg::accept()
{
    int newSpacing = 0;
    int newCount = 0;
    if (!readNumber(spacing, MinSpacing, MaxSpacing, newSpacing) || !readNumber(count, MinCount, MaxCount, newCount))
        return;
    tool.toolColor = color->colorRef();
    tool.horizontalAxis = horizontal->isChecked();
    tool.verticalAxis = vertical->isChecked();
    tool.spacing = newSpacing;
    tool.count = newCount;
    QDialog::accept();
}

bool CReticuleOptionsDlg::readNumber(QLineEdit* edit, int low, int high, int& value)
{
    bool ok = false;
    const uint number = edit->text().toUInt(&ok);
    if (ok && number >= uint(low) && number <= uint(high)) {
        value = int(number);
        return true;
    }
    showRefusal(this, QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high));
    edit->setFocus();
    edit->selectAll();
    return false;
}
