// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "ui/widgets/CColorSwatch.h"

class CCircleTool;
class CRadioGroupBox;
class CTextStyleGroups;

// "Circle Options": the measuring tools' options plus what the label shows
// (area, circumference, diameter or radius). The tool changes only when OK
// is pressed.
class CCircleOptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCircleOptionsDlg(CCircleTool& tool, QWidget* parent = nullptr,
        const CColorSwatch::Picker& pickColor = CColorSwatch::colorDialog);

    void accept() override;

private:
    CCircleTool& tool;
    CTextStyleGroups* style;
    CRadioGroupBox* display;
};
