// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QList>

#include "app/CommandTarget.h"

// Stands in the command route and records the commands that reach it.
class RecordingTarget : public CommandTarget {
public:
    QList<int> received;

    bool onCommand(int id) override
    {
        received << id;
        return false;
    }
    bool updateCommand(int, CommandState&) const override { return false; }
};
