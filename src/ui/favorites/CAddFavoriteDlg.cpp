// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CAddFavoriteDlg.h"
#include "ui/widgets/OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CAddFavoriteDlg::CAddFavoriteDlg(QWidget* parent)
    : QDialog(parent)
    , folderLabel(new QLabel)
    , nameEdit(new QLineEdit)
    , descriptionEdit(new QPlainTextEdit)
{
    setWindowTitle(QStringLiteral("Add to Favorites"));
    folderLabel->setObjectName(QStringLiteral("folder"));
    nameEdit->setObjectName(QStringLiteral("name"));
    descriptionEdit->setObjectName(QStringLiteral("description"));
    // The path is shown, never typed; it may still be selected and copied.
    folderLabel->setTextFormat(Qt::PlainText);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderLabel->setWordWrap(true);
    // Enter starts a new line of the description; Tab moves on.
    descriptionEdit->setTabChangesFocus(true);

    auto* nameGroup = new QGroupBox(QStringLiteral("Name"));
    (new QVBoxLayout(nameGroup))->addWidget(nameEdit);
    auto* descriptionGroup = new QGroupBox(QStringLiteral("Description"));
    (new QVBoxLayout(descriptionGroup))->addWidget(descriptionEdit);

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderLabel);
    layout->addWidget(nameGroup);
    layout->addWidget(descriptionGroup, 1);
    layout->addWidget(buttons);
    setMinimumWidth(360);
    nameEdit->setFocus();
}

void CAddFavoriteDlg::setFolder(const QString& folder)
{
    folderLabel->setText(QDir::toNativeSeparators(folder));
}

void CAddFavoriteDlg::setName(const QString& name)
{
    nameEdit->setText(name);
    nameEdit->selectAll();
}

void CAddFavoriteDlg::setDescription(const QString& description)
{
    descriptionEdit->setPlainText(description);
}

QString CAddFavoriteDlg::name() const
{
    return nameEdit->text();
}

QString CAddFavoriteDlg::description() const
{
    return descriptionEdit->toPlainText();
}
