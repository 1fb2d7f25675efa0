// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Scopique"));

    auto* icon = new QLabel;
    icon->setPixmap(QIcon(QStringLiteral(":/icons/scopique.svg")).pixmap(48, 48));
    auto* version = new QLabel(QStringLiteral("Scopique Version 1.1"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* header = new QHBoxLayout;
    header->addWidget(icon);
    header->addWidget(version, 1);
    header->addWidget(buttons);

    auto* shortcuts = new QGroupBox(QStringLiteral("Keyboard shortcuts"));
    auto* lines = new QVBoxLayout(shortcuts);
    for (const char* text : { "Right click on the Video Window gets the tool color dialog",
             "Shift+Left click will move all the endpoints and text", "Arrow Keys will move all endpoins and text",
             "Ctrl+Arrow keys moves bottom or right endpoint", "Shift+Arrow keys moves top or left endpoint",
             "Ctrl+Shift+Arrow keys moves text" })
        lines->addWidget(new QLabel(QString::fromLatin1(text)));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(shortcuts);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
