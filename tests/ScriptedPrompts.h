// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QStringList>

#include "app/UserPrompts.h"

// Answers prompts from a script and records what the user was told.
class ScriptedPrompts : public UserPrompts {
public:
    int saveChangesAnswer = 0;
    int saveChangesAsked = 0;
    QString openFileAnswer;
    QString openFilterSeen;
    QStringList messages;

    int saveChanges() override
    {
        ++saveChangesAsked;
        return saveChangesAnswer;
    }
    QString openImageFileName(const QString& filter) override
    {
        openFilterSeen = filter;
        return openFileAnswer;
    }
    void showMessage(const QString& text) override { messages << text; }
};
