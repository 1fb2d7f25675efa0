// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>

class CFavoritesList;

// What the "Find Favorite" dialog does with the list: searches one field
// (0 name, 1 description, 2 date text), again from after the last match,
// and opens the selected favourite.
class FavoriteFinder {
public:
    explicit FavoriteFinder(CFavoritesList& list);

    int mode = 0;
    // The last match's row, -1 when none; a search after a miss starts over.
    int found() const { return lastFound; }

    void find(const QString& text);
    void findAgain(const QString& text);
    // Sends Open to the list.
    void open();

private:
    CFavoritesList& list;
    int lastFound;
};
