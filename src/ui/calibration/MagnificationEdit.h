// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QLineEdit>

// The digits-only magnification field of the calibration dialogs. A usable
// magnification is a whole number from 1 up to what the settings store holds
// as an integer: 0 would make every measurement infinite.
class MagnificationEdit : public QLineEdit {
    Q_OBJECT

public:
    static constexpr unsigned Largest = 2147483647u;

    explicit MagnificationEdit(QWidget* parent = nullptr);

    void setMagnification(unsigned magnification);
    // True with the field's value when it is usable; otherwise tells the
    // user (without blocking) and puts the focus back on the field.
    bool readMagnification(unsigned& magnification);
};
