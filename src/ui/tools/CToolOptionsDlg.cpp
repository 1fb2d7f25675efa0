// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CToolOptionsDlg.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "ui/tools/CTextStyleGroups.h"
#include "ui/widgets/OkCancelButtons.h"

CToolOptionsDlg::CToolOptionsDlg(CTool& tool, QWidget* parent, const CColorSwatch::Picker& pickColor)
    : QDialog(parent)
    , tool(tool)
    , style(new CTextStyleGroups(CTextStyleGroups::MeasuringTool, pickColor))
{
    setWindowTitle(QStringLiteral("Tool Options"));
    style->load(tool);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(style);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CToolOptionsDlg::accept()
{
    style->store(tool);
    QDialog::accept();
}
