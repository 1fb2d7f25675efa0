// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class MagnificationEdit;
class QCheckBox;

// "Set Magnification": the magnification the image is viewed at. OK is
// refused until the field holds a whole number of at least 1; after Cancel
// the magnification is the one the dialog was opened with.
class CMagnificationDlg : public QDialog {
    Q_OBJECT

public:
    CMagnificationDlg(unsigned magnification, bool showCheckBox, QWidget* parent = nullptr);

    unsigned magnification() const { return value; }
    bool dontShowAgain() const;

    void accept() override;

private:
    unsigned value;
    MagnificationEdit* edit;
    QCheckBox* dontShow;
};
