// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A group of radio buttons bound by position: the index of the chosen
// button, -1 when none is.
class CRadioGroupBox : public QGroupBox {
    Q_OBJECT

public:
    CRadioGroupBox(const QString& title, const QStringList& choices, QWidget* parent = nullptr);

    // An index that names no button leaves none chosen.
    void setIndex(int index);
    int index() const;

private:
    QButtonGroup* buttons;
};
