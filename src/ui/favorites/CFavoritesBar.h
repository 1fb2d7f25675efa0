// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/base/AppMessage.h"
#include "core/base/CommandTarget.h"
#include "ui/favorites/CFavoritesList.h"
#include "ui/widgets/CSizingControlBar.h"

// The "Favorites" docking bar, filled by the favourites list. Commands and
// the library's messages go on to the list.
class CFavoritesBar : public CSizingControlBar, public CommandTarget {
    Q_OBJECT

public:
    CFavoritesBar(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, const QString& root,
        QWidget* parent = nullptr);

    CFavoritesList& list() { return *favoritesList; }

    // WM_APP_FAVORITE_ADDED (the new file's path) and
    // WM_APP_GET_FAVORITES_FOLDER (a pointer to the shown folder's path).
    qintptr send(AppMessage message, qintptr wParam, qintptr lParam);

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

private:
    CFavoritesList* favoritesList;
};
