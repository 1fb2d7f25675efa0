// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "core/base/UserPrompts.h"

class QCheckBox;
class QLineEdit;

// "Title Block": the three lines of the title block and whether the third
// is replaced by the date and the magnification. No validation.
class CTitleBlockDlg : public QDialog {
    Q_OBJECT

public:
    explicit CTitleBlockDlg(QWidget* parent = nullptr);

    void setText(const UserPrompts::TitleBlockText& text);
    UserPrompts::TitleBlockText text() const;

private:
    QLineEdit* title1;
    QLineEdit* title2;
    QLineEdit* title3;
    QCheckBox* useDate;
};
