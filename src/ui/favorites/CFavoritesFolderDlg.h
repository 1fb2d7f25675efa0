// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class FavoritesFolderChooser;
class QListWidget;
class QPushButton;

// "Favorites Folder": the library root, its folders with the current one
// selected, OK, Cancel, New and Delete.
class CFavoritesFolderDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFavoritesFolderDlg(FavoritesFolderChooser& chooser, QWidget* parent = nullptr);

    void reject() override;

private:
    void showEntries();

    FavoritesFolderChooser& chooser;
    QListWidget* folders;
    QPushButton* cancelButton;
};
