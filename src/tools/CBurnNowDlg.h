// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class QCheckBox;

// "Burn to Image": Yes accepts, No rejects. The check box counts
// whatever button closed the dialog.
class CBurnNowDlg : public QDialog {
    Q_OBJECT

public:
    explicit CBurnNowDlg(QWidget* parent = nullptr);

    bool dontShowAgain() const;

private:
    QCheckBox* dontShow;
};
