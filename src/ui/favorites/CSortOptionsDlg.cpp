// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CSortOptionsDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/widgets/CRadioGroupBox.h"
#include "ui/widgets/OkCancelButtons.h"

CSortOptionsDlg::CSortOptionsDlg(QWidget* parent)
    : QDialog(parent)
    , directionGroup(
          new CRadioGroupBox(QStringLiteral("Direction"), { QStringLiteral("Ascending"), QStringLiteral("Decending") }))
    , fieldGroup(new CRadioGroupBox(
          QStringLiteral("Feild"), { QStringLiteral("Name"), QStringLiteral("Date"), QStringLiteral("Description") }))
{
    setWindowTitle(QStringLiteral("Sort Options"));
    directionGroup->setIndex(0);
    fieldGroup->setIndex(0);
    auto* buttons = okCancelButtons(this);
    auto* groups = new QHBoxLayout;
    groups->addWidget(directionGroup);
    groups->addWidget(fieldGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

void CSortOptionsDlg::setDirection(int direction)
{
    directionGroup->setIndex(direction);
}

void CSortOptionsDlg::setField(int field)
{
    fieldGroup->setIndex(field);
}

int CSortOptionsDlg::direction() const
{
    return directionGroup->index();
}

int CSortOptionsDlg::field() const
{
    return fieldGroup->index();
}
