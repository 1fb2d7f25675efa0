// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

#include "ui/tools/CReticuleOptionsDlg.h"
#include "ui/widgets/CColorSwatch.h"

class CScaleBarTool;
class CTextStyleGroups;
class QCheckBox;
class QLineEdit;

// "Scale Bar Options": the bar and label colours, the label's font and
// effects, the bar's length (Automatic, or a typed length in the calibrated
// unit) and its thickness. OK refuses a thickness outside 1 to 50 and a typed
// length that is not a positive number: the user is told why, the dialog
// stays open on the offending edit and the tool keeps its values.
class CScaleBarOptionsDlg : public QDialog {
    Q_OBJECT

public:
    using Refusal = CReticuleOptionsDlg::Refusal;

    explicit CScaleBarOptionsDlg(CScaleBarTool& tool, QWidget* parent = nullptr,
        const CColorSwatch::Picker& pickColor = CColorSwatch::colorDialog,
        Refusal showRefusal = CReticuleOptionsDlg::messageBox);

    void accept() override;

private:
    // Tells the user why OK was refused and puts the focus on `edit`.
    void refuse(QLineEdit* edit, const QString& text);

    CScaleBarTool& tool;
    Refusal showRefusal;
    CTextStyleGroups* style;
    QLineEdit* length;
    QCheckBox* automatic;
    QLineEdit* thickness;
};
