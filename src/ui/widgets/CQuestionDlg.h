// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QDialog>

class QCheckBox;

// A Yes/No question with a "Don't show me this again" check box: Yes
// accepts, No rejects, and the check box counts whatever button closed it.
class CQuestionDlg : public QDialog {
    Q_OBJECT

public:
    CQuestionDlg(const QString& caption, const QString& question, QWidget* parent = nullptr);

    bool dontShowAgain() const;

private:
    QCheckBox* dontShow;
};
