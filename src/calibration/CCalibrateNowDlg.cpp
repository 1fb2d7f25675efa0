// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "calibration/CCalibrateNowDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CCalibrateNowDlg::CCalibrateNowDlg(QWidget* parent)
    : QDialog(parent)
    , dontShow(new QCheckBox(QStringLiteral("Don't show me this again")))
{
    setWindowTitle(QStringLiteral("System is not Calibrated"));

    auto* yes = new QPushButton(QStringLiteral("Yes"));
    auto* no = new QPushButton(QStringLiteral("No"));
    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("The system is not calibrated.\n\nWould you like to calibrate it now?")));
    layout->addWidget(dontShow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CCalibrateNowDlg::dontShowAgain() const
{
    return dontShow->isChecked();
}
