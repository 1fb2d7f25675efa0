// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/FavoriteFinder.h"

#include "core/base/CommandIds.h"
#include "ui/favorites/CFavoritesList.h"

FavoriteFinder::FavoriteFinder(CFavoritesList& list)
    : list(list)
    , lastFound(list.selectedRow())
{
}

void FavoriteFinder::find(const QString& text)
{
    lastFound = list.FindFavorite(text, mode, 0);
}

void FavoriteFinder::findAgain(const QString& text)
{
    lastFound = list.FindFavorite(text, mode, lastFound + 1);
}

void FavoriteFinder::open()
{
    list.onCommand(ID_FAVORITES_OPEN);
}
