// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CScaleBarOptionsDlg.h"

#include <cmath>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/tools/CScaleBarTool.h"
#include "ui/tools/CTextStyleGroups.h"
#include "ui/widgets/OkCancelButtons.h"

CScaleBarOptionsDlg::CScaleBarOptionsDlg(
    CScaleBarTool& tool, QWidget* parent, const CColorSwatch::Picker& pickColor, Refusal showRefusal)
    : QDialog(parent)
    , tool(tool)
    , showRefusal(std::move(showRefusal))
    , style(new CTextStyleGroups(CTextStyleGroups::MeasuringTool, pickColor))
    , length(new QLineEdit)
    , automatic(new QCheckBox(QStringLiteral("Automatic")))
    , thickness(new QLineEdit)
{
    setWindowTitle(QStringLiteral("Scale Bar Options"));
    style->load(tool);
    // The length drawn now, as a start for a typed one.
    const double shown = tool.barLength();
    if (shown > 0.0)
        length->setText(QString::number(shown, 'f', QLocale::FloatingPointShortest));
    automatic->setChecked(tool.length <= 0.0);
    length->setEnabled(!automatic->isChecked());
    connect(automatic, &QCheckBox::toggled, length, [this](bool on) { length->setEnabled(!on); });
    thickness->setText(QString::number(tool.thickness));

    // A point, never a comma: the length is stored and read back as C text.
    length->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), this));
    thickness->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    const int digitWidth = length->fontMetrics().horizontalAdvance(QStringLiteral("0"));
    length->setMaximumWidth(12 * digitWidth + 16);
    thickness->setMaximumWidth(5 * digitWidth + 16);

    auto* lengthLabel = new QLabel(QStringLiteral("Length"));
    lengthLabel->setBuddy(length);
    auto* lengthRow = new QHBoxLayout;
    lengthRow->addWidget(length);
    lengthRow->addWidget(new QLabel(tool.unitName()));
    lengthRow->addWidget(automatic);
    lengthRow->addStretch();

    auto* bar = new QGroupBox(QStringLiteral("Scale Bar"));
    auto* barLayout = new QFormLayout(bar);
    barLayout->addRow(lengthLabel, lengthRow);
    barLayout->addRow(QStringLiteral("Thickness"), thickness);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(style);
    layout->addWidget(bar);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CScaleBarOptionsDlg::accept()
{
    bool ok = false;
    const uint newThickness = thickness->text().toUInt(&ok);
    if (!ok || newThickness < uint(CScaleBarTool::MinThickness) || newThickness > uint(CScaleBarTool::MaxThickness)) {
        refuse(thickness,
            QStringLiteral("Please enter an integer between %1 and %2.")
                .arg(CScaleBarTool::MinThickness)
                .arg(CScaleBarTool::MaxThickness));
        return;
    }
    double newLength = 0.0;
    if (!automatic->isChecked()) {
        newLength = length->text().toDouble(&ok);
        if (!ok || !(newLength > 0.0) || !std::isfinite(newLength)) {
            refuse(length, QStringLiteral("Please enter a length greater than 0, or choose Automatic."));
            return;
        }
    }
    style->store(tool);
    tool.length = newLength;
    tool.thickness = int(newThickness);
    QDialog::accept();
}

void CScaleBarOptionsDlg::refuse(QLineEdit* edit, const QString& text)
{
    showRefusal(this, text);
    edit->setFocus();
    edit->selectAll();
}
