// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CFavoritesFolderDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/favorites/FavoritesFolderChooser.h"

CFavoritesFolderDlg::CFavoritesFolderDlg(FavoritesFolderChooser& chooser, QWidget* parent)
    : QDialog(parent)
    , chooser(chooser)
    , folders(new QListWidget)
{
    setWindowTitle(QStringLiteral("Favorites Folder"));
    auto* rootLabel = new QLabel(chooser.root());
    rootLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    cancelButton = buttons->button(QDialogButtonBox::Cancel);
    QPushButton* newButton = buttons->addButton(QStringLiteral("New"), QDialogButtonBox::ActionRole);
    QPushButton* deleteButton = buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (this->chooser.accept())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(newButton, &QPushButton::clicked, this, [this] {
        if (this->chooser.createNew())
            accept();
    });
    connect(deleteButton, &QPushButton::clicked, this, [this] {
        this->chooser.deleteSelected();
        showEntries();
    });
    connect(folders, &QListWidget::currentRowChanged, this, [this](int row) { this->chooser.select(row); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rootLabel);
    layout->addWidget(folders);
    layout->addWidget(buttons);
    showEntries();
}

void CFavoritesFolderDlg::showEntries()
{
    const int selected = chooser.selection();
    const QSignalBlocker blocker(folders);
    folders->clear();
    folders->addItems(chooser.entries());
    folders->setCurrentRow(selected);
    if (selected < 0)
        folders->clearSelection();
    cancelButton->setEnabled(chooser.cancelEnabled());
}

void CFavoritesFolderDlg::reject()
{
    // After a deletion the dialog ends only with a chosen folder (Escape too).
    if (chooser.cancelEnabled())
        QDialog::reject();
}
