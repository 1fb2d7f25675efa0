// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "ui/widgets/CColorSwatch.h"

class CTextStyleGroups;
class CTextTool;
class QPlainTextEdit;

// "Text Options": the annotation's text, its colours, effects and font. The
// text is always drawn, so its pass cannot be switched off here. The tool
// changes only when OK is pressed.
class CTextOptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CTextOptionsDlg(
        CTextTool& tool, QWidget* parent = nullptr, const CColorSwatch::Picker& pickColor = CColorSwatch::colorDialog);

    void accept() override;

private:
    CTextTool& tool;
    CTextStyleGroups* style;
    QPlainTextEdit* text;
};
