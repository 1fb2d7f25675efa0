// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/calibration/CMagnificationDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/calibration/MagnificationEdit.h"
#include "ui/widgets/OkCancelButtons.h"

CMagnificationDlg::CMagnificationDlg(unsigned magnification, bool showCheckBox, QWidget* parent)
    : QDialog(parent)
    , value(magnification)
    , edit(new MagnificationEdit)
    , dontShow(new QCheckBox(QStringLiteral("Don't show me this again")))
{
    setWindowTitle(QStringLiteral("Set Magnification"));
    edit->setObjectName(QStringLiteral("magnification"));
    edit->setMagnification(magnification);
    dontShow->setVisible(showCheckBox);

    auto* buttons = okCancelButtons(this);

    auto* field = new QHBoxLayout;
    field->addWidget(new QLabel(QStringLiteral("Magnification")));
    field->addWidget(edit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(field);
    layout->addWidget(dontShow);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    edit->setFocus();
}

bool CMagnificationDlg::dontShowAgain() const
{
    return dontShow->isChecked();
}

void CMagnificationDlg::accept()
{
    if (edit->readMagnification(value))
        QDialog::accept();
}
