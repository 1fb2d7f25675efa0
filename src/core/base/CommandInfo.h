// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// One command: its menu text (with "\t" and the key shown in the menu), the
// keys bound to it, its prompt, "status text\ntooltip", and whether it shows
// a check mark or a pressed toolbar button.
struct CommandInfo {
    int id = 0;
    QString menuText;
    QList<QKeySequence> keys;
    QString prompt;
    QString iconName;
    bool checkable = false;

    QString statusTip() const { return prompt.section(QLatin1Char('\n'), 0, 0); }
    QString toolTip() const { return prompt.section(QLatin1Char('\n'), 1, 1); }
};
