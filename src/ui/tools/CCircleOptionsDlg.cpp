// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CCircleOptionsDlg.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "core/tools/CCircleTool.h"
#include "ui/tools/CTextStyleGroups.h"
#include "ui/widgets/CRadioGroupBox.h"
#include "ui/widgets/OkCancelButtons.h"

CCircleOptionsDlg::CCircleOptionsDlg(CCircleTool& tool, QWidget* parent, const CColorSwatch::Picker& pickColor)
    : QDialog(parent)
    , tool(tool)
    , style(new CTextStyleGroups(CTextStyleGroups::MeasuringTool, pickColor))
    // In the order of CCircleTool::Display.
    , display(new CRadioGroupBox(QStringLiteral("Display"),
          { QStringLiteral("Area"), QStringLiteral("Circumference"), QStringLiteral("Diameter"),
              QStringLiteral("Radius") }))
{
    setWindowTitle(QStringLiteral("Circle Options"));
    style->load(tool);
    display->setIndex(tool.circleDisplay);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(style);
    layout->addWidget(display);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CCircleOptionsDlg::accept()
{
    style->store(tool);
    tool.circleDisplay = display->index();
    QDialog::accept();
}
