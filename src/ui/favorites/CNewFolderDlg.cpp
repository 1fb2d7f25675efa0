// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CNewFolderDlg.h"
#include "ui/widgets/OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

CNewFolderDlg::CNewFolderDlg(QWidget* parent)
    : QDialog(parent)
    , nameEdit(new QLineEdit)
{
    setWindowTitle(QStringLiteral("New Favorites Folder"));
    auto* buttons = okCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nameEdit);
    layout->addWidget(buttons);
    nameEdit->setFocus();
}

QString CNewFolderDlg::name() const
{
    return nameEdit->text();
}
