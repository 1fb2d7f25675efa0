// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "ui/widgets/CQuestionDlg.h"

// "Burn to Image", asked before a placed tool is replaced.
class CBurnNowDlg : public CQuestionDlg {
    Q_OBJECT

public:
    explicit CBurnNowDlg(QWidget* parent = nullptr);
};
