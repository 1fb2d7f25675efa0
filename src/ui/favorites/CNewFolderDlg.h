// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class QLineEdit;

// "New Favorites Folder": the new folder's name.
class CNewFolderDlg : public QDialog {
    Q_OBJECT

public:
    explicit CNewFolderDlg(QWidget* parent = nullptr);

    QString name() const;

private:
    QLineEdit* nameEdit;
};
