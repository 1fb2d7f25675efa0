// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/calibration/CCalibrateNowDlg.h"

CCalibrateNowDlg::CCalibrateNowDlg(QWidget* parent)
    : CQuestionDlg(QStringLiteral("System is not Calibrated"),
        QStringLiteral("The system is not calibrated.\n\nWould you like to calibrate it now?"), parent)
{
}
