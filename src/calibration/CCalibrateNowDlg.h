// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class QCheckBox;

// "System is not Calibrated": Yes accepts, No rejects. The check box counts
// whatever button closed the dialog.
class CCalibrateNowDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCalibrateNowDlg(QWidget* parent = nullptr);

    bool dontShowAgain() const;

private:
    QCheckBox* dontShow;
};
