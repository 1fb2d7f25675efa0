// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/output/CTitleBlockDlg.h"
#include "ui/widgets/OkCancelButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

CTitleBlockDlg::CTitleBlockDlg(QWidget* parent)
    : QDialog(parent)
    , title1(new QLineEdit)
    , title2(new QLineEdit)
    , title3(new QLineEdit)
    // "&&" shows one ampersand.
    , useDate(new QCheckBox(QStringLiteral("Use Date && Magnifcation")))
{
    setWindowTitle(QStringLiteral("Title Block"));
    title1->setObjectName(QStringLiteral("title1"));
    title2->setObjectName(QStringLiteral("title2"));
    title3->setObjectName(QStringLiteral("title3"));

    auto* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title1);
    layout->addWidget(title2);
    layout->addWidget(title3);
    layout->addWidget(useDate);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

void CTitleBlockDlg::setText(const UserPrompts::TitleBlockText& text)
{
    title1->setText(text.title1);
    title2->setText(text.title2);
    title3->setText(text.title3);
    useDate->setChecked(text.useDate);
}

UserPrompts::TitleBlockText CTitleBlockDlg::text() const
{
    return { title1->text(), title2->text(), title3->text(), useDate->isChecked() };
}
