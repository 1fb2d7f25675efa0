// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// "Add to Favorites": the favourites folder (read only), the new favourite's
// name and a description of several lines. The caller checks the name.
class CAddFavoriteDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAddFavoriteDlg(QWidget* parent = nullptr);

    void setFolder(const QString& folder);
    void setName(const QString& name);
    void setDescription(const QString& description);
    QString name() const;
    QString description() const;

private:
    QLabel* folderLabel;
    QLineEdit* nameEdit;
    QPlainTextEdit* descriptionEdit;
};
