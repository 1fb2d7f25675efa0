// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QList>

#include "core/base/CommandInfo.h"

// Every command of the program, from which the frame builds its actions,
// menus, toolbar and shortcuts.
class CommandTable {
public:
    static const QList<CommandInfo>& all();
    static const CommandInfo* find(int id);
    // Toolbar order; 0 stands for a separator.
    static const QList<int>& toolbar();
};
