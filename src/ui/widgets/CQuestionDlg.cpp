// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/widgets/CQuestionDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CQuestionDlg::CQuestionDlg(const QString& caption, const QString& question, QWidget* parent)
    : QDialog(parent)
    , dontShow(new QCheckBox(QStringLiteral("Don't show me this again")))
{
    setWindowTitle(caption);

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
    layout->addWidget(new QLabel(question));
    layout->addWidget(dontShow);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool CQuestionDlg::dontShowAgain() const
{
    return dontShow->isChecked();
}
