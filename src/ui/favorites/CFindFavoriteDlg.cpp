// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CFindFavoriteDlg.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QGroupBox* fieldGroup(const QString& title, QRadioButton* radio, QWidget* field)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(radio);
    layout->addWidget(field, 1);
    return group;
}
} // namespace

CFindFavoriteDlg::CFindFavoriteDlg(CFavoritesList& list, QWidget* parent)
    : QDialog(parent)
    , finder(list)
    , nameRadio(new QRadioButton(QStringLiteral("Enable")))
    , descriptionRadio(new QRadioButton(QStringLiteral("Enable")))
    , dateRadio(new QRadioButton(QStringLiteral("Enable")))
    , nameEdit(new QLineEdit)
    , descriptionEdit(new QPlainTextEdit)
    , dateEdit(new QDateEdit(QDate::currentDate()))
{
    setWindowTitle(QStringLiteral("Find Favorite"));
    // Month and day without leading zeros, as in the favourites' date texts.
    dateEdit->setDisplayFormat(QStringLiteral("M/d/yyyy"));
    dateEdit->setCalendarPopup(true);
    descriptionEdit->setTabChangesFocus(true);
    descriptionEdit->setFixedHeight(60);

    auto* radios = new QButtonGroup(this);
    radios->addButton(nameRadio, 0);
    radios->addButton(descriptionRadio, 1);
    radios->addButton(dateRadio, 2);
    connect(radios, &QButtonGroup::idClicked, this, [this](int id) { setMode(id); });

    auto* findButton = new QPushButton(QStringLiteral("Find"));
    auto* againButton = new QPushButton(QStringLiteral("Find Again"));
    auto* openButton = new QPushButton(QStringLiteral("Open"));
    auto* cancelButton = new QPushButton(QStringLiteral("Cancel"));
    findButton->setDefault(true);
    connect(findButton, &QPushButton::clicked, this, [this] { finder.find(searchText()); });
    connect(againButton, &QPushButton::clicked, this, [this] { finder.findAgain(searchText()); });
    connect(openButton, &QPushButton::clicked, this, [this] {
        finder.open();
        reject();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : { findButton, againButton, openButton, cancelButton })
        buttons->addWidget(button);
    buttons->addStretch();
    auto* fields = new QVBoxLayout;
    fields->addWidget(fieldGroup(QStringLiteral("Name"), nameRadio, nameEdit));
    fields->addWidget(fieldGroup(QStringLiteral("Description"), descriptionRadio, descriptionEdit));
    fields->addWidget(fieldGroup(QStringLiteral("Date"), dateRadio, dateEdit));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    nameRadio->setChecked(true);
    setMode(0);
}

void CFindFavoriteDlg::setMode(int mode)
{
    finder.mode = mode;
    QWidget* fields[] = { nameEdit, descriptionEdit, dateEdit };
    QRadioButton* radios[] = { nameRadio, descriptionRadio, dateRadio };
    for (int i = 0; i < 3; ++i)
        fields[i]->setEnabled(i == mode);
    if (mode >= 0 && mode < 3) {
        radios[mode]->setChecked(true);
        fields[mode]->setFocus();
    }
}

QString CFindFavoriteDlg::searchText() const
{
    switch (finder.mode) {
    case 1:
        return descriptionEdit->toPlainText();
    case 2:
        return dateEdit->text();
    default:
        return nameEdit->text();
    }
}
