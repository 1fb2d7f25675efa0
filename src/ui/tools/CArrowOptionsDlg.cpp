// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CArrowOptionsDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/tools/CArrowTool.h"
#include "ui/widgets/CColorSwatch.h"
#include "ui/widgets/CRadioGroupBox.h"
#include "ui/widgets/OkCancelButtons.h"

CArrowOptionsDlg::CArrowOptionsDlg(CArrowTool& tool, QWidget* parent, const CColorSwatch::Picker& pickColor)
    : QDialog(parent)
    , tool(tool)
    , color(new CColorSwatch(pickColor))
    // In the order of CArrowTool::Direction.
    , direction(new CRadioGroupBox(QStringLiteral("Direction"),
          { QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Up"), QStringLiteral("Down") }))
{
    setWindowTitle(QStringLiteral("Arrow Options"));
    color->setColorRef(tool.toolColor);
    direction->setIndex(tool.direction);

    auto* groups = new QHBoxLayout;
    groups->addWidget(color->inGroup(QStringLiteral("Color")));
    groups->addWidget(direction);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CArrowOptionsDlg::accept()
{
    tool.toolColor = color->colorRef();
    tool.direction = direction->index();
    QDialog::accept();
}
