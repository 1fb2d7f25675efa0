// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "app/UserPrompts.h"

class QWidget;

// The prompts as real dialogs over the main window.
class DialogPrompts : public UserPrompts {
public:
    void setParentWindow(QWidget* window) { parent = window; }

    int saveChanges() override;
    QString openImageFileName(const QString& filter) override;
    void showMessage(const QString& text) override;

private:
    QWidget* parent = nullptr;
};
