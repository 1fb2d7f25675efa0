// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class CRadioGroupBox;

// "Sort Options": direction (0 ascending, 1 descending) and field (0 name,
// 1 date, 2 description) of the favourites list.
class CSortOptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSortOptionsDlg(QWidget* parent = nullptr);

    void setDirection(int direction);
    void setField(int field);
    int direction() const;
    int field() const;

private:
    CRadioGroupBox* directionGroup;
    CRadioGroupBox* fieldGroup;
};
