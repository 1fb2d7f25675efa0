// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>

// The questions and messages that logic paths put to the user. The program
// shows real dialogs; tests answer from a script.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // "Save Changes" at close: the id of the chosen button, 1058 (Add to
    // Favorites!), 1057 (Save as File...) or anything else for "No!".
    virtual int saveChanges() = 0;
    // A file to open; empty when the user cancels.
    virtual QString openImageFileName(const QString& filter) = 0;
    // An OK message box with the application's title.
    virtual void showMessage(const QString& text) = 0;
};
