// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "ui/favorites/FavoriteFinder.h"

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// "Find Favorite": one of name, description or date is searched for in the
// favourites list; Find, Find Again, Open and Cancel.
class CFindFavoriteDlg : public QDialog {
    Q_OBJECT

public:
    explicit CFindFavoriteDlg(CFavoritesList& list, QWidget* parent = nullptr);

    // The text of the active field, the date as the picker shows it.
    QString searchText() const;
    // 0 name, 1 description, 2 date: enables that field alone.
    void setMode(int mode);

private:
    FavoriteFinder finder;
    QRadioButton* nameRadio;
    QRadioButton* descriptionRadio;
    QRadioButton* dateRadio;
    QLineEdit* nameEdit;
    QPlainTextEdit* descriptionEdit;
    QDateEdit* dateEdit;
};
