// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "ui/widgets/CColorSwatch.h"

class CArrowTool;
class CRadioGroupBox;

// "Arrow Options": the arrow's colour and direction. The tool changes only
// when OK is pressed.
class CArrowOptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CArrowOptionsDlg(
        CArrowTool& tool, QWidget* parent = nullptr, const CColorSwatch::Picker& pickColor = CColorSwatch::colorDialog);

    void accept() override;

private:
    CArrowTool& tool;
    CColorSwatch* color;
    CRadioGroupBox* direction;
};
