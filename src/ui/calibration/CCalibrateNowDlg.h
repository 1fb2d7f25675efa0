// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "ui/widgets/CQuestionDlg.h"

// "System is not Calibrated", asked before the first measurement of a run.
class CCalibrateNowDlg : public CQuestionDlg {
    Q_OBJECT

public:
    explicit CCalibrateNowDlg(QWidget* parent = nullptr);
};
