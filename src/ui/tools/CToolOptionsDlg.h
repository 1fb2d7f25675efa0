// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "ui/widgets/CColorSwatch.h"

class CTextStyleGroups;
class CTool;

// "Tool Options" of the measuring tools: label colours, text effects, font
// and the line colour. The tool changes only when OK is pressed.
class CToolOptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CToolOptionsDlg(
        CTool& tool, QWidget* parent = nullptr, const CColorSwatch::Picker& pickColor = CColorSwatch::colorDialog);

    void accept() override;

private:
    CTool& tool;
    CTextStyleGroups* style;
};
