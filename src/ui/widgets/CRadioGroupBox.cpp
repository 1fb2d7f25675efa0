// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/widgets/CRadioGroupBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

CRadioGroupBox::CRadioGroupBox(const QString& title, const QStringList& choices, QWidget* parent)
    : QGroupBox(title, parent)
    , buttons(new QButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < choices.size(); ++i) {
        auto* button = new QRadioButton(choices[i]);
        buttons->addButton(button, i);
        layout->addWidget(button);
    }
}

void CRadioGroupBox::setIndex(int index)
{
    if (QAbstractButton* button = buttons->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group will not uncheck its last checked button.
    buttons->setExclusive(false);
    for (QAbstractButton* button : buttons->buttons())
        button->setChecked(false);
    buttons->setExclusive(true);
}

int CRadioGroupBox::index() const
{
    return buttons->checkedId();
}
