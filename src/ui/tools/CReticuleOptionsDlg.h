// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QDialog>

#include "ui/widgets/CColorSwatch.h"

class CReticuleTool;
class QCheckBox;
class QLineEdit;

// "Reticule Options": colour, axes, tick spacing and tick count. OK refuses
// a spacing outside 2 to 10 or a count outside 10 to 1000: the user is told
// the allowed range, the dialog stays open on the offending edit and the
// tool keeps its values until an OK passes.
class CReticuleOptionsDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int MinSpacing = 2;
    static constexpr int MaxSpacing = 10;
    static constexpr int MinCount = 10;
    static constexpr int MaxCount = 1000;

    // Tells the user why OK was refused; tests record the text instead.
    using Refusal = std::function<void(QWidget* parent, const QString& text)>;
    // A warning box.
    static void messageBox(QWidget* parent, const QString& text);

    explicit CReticuleOptionsDlg(CReticuleTool& tool, QWidget* parent = nullptr,
        const CColorSwatch::Picker& pickColor = CColorSwatch::colorDialog, Refusal showRefusal = messageBox);

    void accept() override;

private:
    // The edit's number when it lies in low..high; otherwise says so and
    // puts the focus on the edit.
    bool readNumber(QLineEdit* edit, int low, int high, int& value);

    CReticuleTool& tool;
    Refusal showRefusal;
    CColorSwatch* color;
    QCheckBox* horizontal;
    QCheckBox* vertical;
    QLineEdit* spacing;
    QLineEdit* count;
};
