// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "app/DialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

#include "output/CSaveChangesDlg.h"

int DialogPrompts::saveChanges()
{
    CSaveChangesDlg dialog(parent);
    return dialog.exec();
}

QString DialogPrompts::openImageFileName(const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

void DialogPrompts::showMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Scopique"), text, QMessageBox::Ok, parent);
    box.exec();
}
