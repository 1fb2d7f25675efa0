// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CFavoritesBar.h"

#include "core/base/AppMessageSink.h"

CFavoritesBar::CFavoritesBar(
    SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, const QString& root, QWidget* parent)
    : CSizingControlBar(QStringLiteral("Favorites"), QSize(200, 200), parent)
    , favoritesList(new CFavoritesList(settings, prompts, mainWindow, root, this))
{
    setObjectName(QStringLiteral("favoritesBar"));
    // The bar, not its list, sets how small it gets.
    favoritesList->setMinimumSize(1, 1);
    setWidget(favoritesList);
}

qintptr CFavoritesBar::send(AppMessage message, qintptr wParam, qintptr)
{
    switch (message) {
    case WM_APP_FAVORITE_ADDED:
        favoritesList->addFile(AppMessageSink::textOf(wParam));
        return 0;
    case WM_APP_GET_FAVORITES_FOLDER:
        return AppMessageSink::textArg(favoritesList->folderPath());
    default:
        return 0;
    }
}

bool CFavoritesBar::onCommand(int id)
{
    return favoritesList->onCommand(id);
}

bool CFavoritesBar::updateCommand(int id, CommandState& state) const
{
    return favoritesList->updateCommand(id, state);
}
