// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/output/CSaveChangesDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/base/UserPrompts.h"

CSaveChangesDlg::CSaveChangesDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Save Changes"));

    auto* addToFavorites = new QPushButton(QStringLiteral("Add to Favorites!"));
    auto* saveAsFile = new QPushButton(QStringLiteral("Save as File..."));
    auto* no = new QPushButton(QStringLiteral("No!"));
    no->setObjectName(QStringLiteral("no"));
    connect(addToFavorites, &QPushButton::clicked, this, [this] { done(UserPrompts::SaveChangesAddToFavorites); });
    connect(saveAsFile, &QPushButton::clicked, this, [this] { done(UserPrompts::SaveChangesSaveAsFile); });
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addToFavorites);
    buttons->addWidget(saveAsFile);
    buttons->addWidget(no);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Would you like to save these changes?")));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // "No!" comes first and holds the focus, and no button is the default:
    // Enter right after the prompt opens answers No, as Escape does.
    setTabOrder(no, addToFavorites);
    setTabOrder(addToFavorites, saveAsFile);
    for (QPushButton* button : { addToFavorites, saveAsFile, no })
        button->setDefault(false);
    no->setFocus();
}
