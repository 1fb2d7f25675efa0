// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "ScriptedPrompts.h"

// The option dialogs answered from a script: OK when `accept` is set, the
// tool left as it is. Records which dialog was asked.
struct ScriptedToolDialogs : ScriptedPrompts {
    bool& accept = toolDialogAccept;
};
