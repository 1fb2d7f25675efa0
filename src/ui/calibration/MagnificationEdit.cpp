// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/calibration/MagnificationEdit.h"

#include <QMessageBox>
#include <QRegularExpressionValidator>

MagnificationEdit::MagnificationEdit(QWidget* parent)
    : QLineEdit(parent)
{
    // Digits only: no sign, no group separators, whatever the locale.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), this));
}

void MagnificationEdit::setMagnification(unsigned magnification)
{
    setText(QString::number(magnification));
}

bool MagnificationEdit::readMagnification(unsigned& magnification)
{
    bool ok = false;
    const qulonglong value = text().toULongLong(&ok);
    if (ok && value >= 1 && value <= Largest) {
        magnification = unsigned(value);
        return true;
    }
    // Opened, not run: the dialog stays open behind the message.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Scopique"),
        QStringLiteral("Please enter an integer between 1 and %1.").arg(Largest), QMessageBox::Ok, window());
    box->setAttribute(Qt::WA_DeleteOnClose);
    setFocus();
    selectAll();
    box->open();
    return false;
}
