// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class ImageDocument;
class MagnificationEdit;
class QButtonGroup;
class QLineEdit;

// "Calibrate" / "Calibrate Vertical": the modeless dialog beside the
// calibration tool. OK turns the tool's pixel length and the typed distance
// into the stored scale; a vertical calibration changes only the vertical
// distance and scale. Closing it either way removes the calibration tool.
//
// Create it with new and show it: it deletes itself when it closes.
class CCalibrateDlg : public QDialog {
    Q_OBJECT

public:
    CCalibrateDlg(bool vertical, ImageDocument& document, QWidget* parent);

    void accept() override;
    void done(int result) override;
    // Closes the dialog for a calibration that has already been replaced:
    // nothing is stored and no tool is removed.
    void abandon();

private:
    // True while the document's tool is still this dialog's calibration tool.
    bool ownToolActive() const;

    const bool vertical;
    ImageDocument& doc;
    bool abandoned = false;
    MagnificationEdit* magnification;
    QLineEdit* distance;
    QButtonGroup* units;
};
