// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <optional>

#include <QString>

// Enabled and checked state of one command, filled in by the component that
// handles it, and a menu text for the few items whose text follows a state.
struct CommandState {
    bool enabled = false;
    bool checked = false;
    std::optional<QString> text;
};

// A component in the command route (image pane, Video Window, favorites bar,
// frame). The first component that claims a command handles it; a command
// nobody claims is disabled, which is how commands of later features stay
// visible but unavailable.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // Runs the command; false when this component does not handle it.
    virtual bool onCommand(int id) = 0;
    // Fills in the state; false when this component does not handle the command.
    virtual bool updateCommand(int id, CommandState& state) const = 0;
};
