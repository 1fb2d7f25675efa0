// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "tools/CToolOptionsDlg.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "tools/CTextStyleGroups.h"

CToolOptionsDlg::CToolOptionsDlg(CTool& tool, QWidget* parent)
    : QDialog(parent)
    , tool(tool)
    , style(new CTextStyleGroups(CTextStyleGroups::MeasuringTool))
{
    setWindowTitle(QStringLiteral("Tool Options"));
    style->load(tool);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

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
