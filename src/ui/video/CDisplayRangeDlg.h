// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class DisplayRangeEditor;
class QSpinBox;
class RangeHistogram;

// "Display Range": the histogram of the picture's samples with the two
// limits marked, the limits as "Minimum" and "Maximum", "Auto" and "Full".
// The picture follows the fields; OK keeps a range only when the editor
// accepts it.
class CDisplayRangeDlg : public QDialog {
    Q_OBJECT

public:
    CDisplayRangeDlg(DisplayRangeEditor& editor, QWidget* parent = nullptr);

    void accept() override;

private:
    void setFields(int minimum, int maximum);
    void fieldsChanged();

    DisplayRangeEditor& editor;
    RangeHistogram* histogram;
    QSpinBox* minimum;
    QSpinBox* maximum;
};
