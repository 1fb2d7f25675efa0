// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/tools/CBurnNowDlg.h"

CBurnNowDlg::CBurnNowDlg(QWidget* parent)
    : CQuestionDlg(
        QStringLiteral("Burn to Image"), QStringLiteral("Would you like to burn this to the image now?"), parent)
{
}
