// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QStringList>

class FavoritesStore;
class UserPrompts;

// What the "Favorites Folder" dialog does: lists the folders of the root,
// selects the current one, and chooses, creates or deletes folders.
class FavoritesFolderChooser {
public:
    // `currentPath` is the current folder's full path, which may lie deeper
    // in the root (a nested new folder); the list is always the root's.
    FavoritesFolderChooser(FavoritesStore& store, UserPrompts& prompts, const QString& currentPath);

    // The library root with its trailing separator.
    QString root() const { return rootPath; }
    // The root's folders by their full names, dots included: a name cut at
    // its dot would lead to no folder. In the list's order.
    QStringList entries() const { return names; }
    int selection() const { return selected; }
    void select(int row) { selected = row >= 0 && row < names.size() ? row : -1; }
    // Cancel stays available until a folder has been deleted.
    bool cancelEnabled() const { return canCancel; }

    // OK: true when a folder is chosen, else tells the user to choose.
    bool accept();
    // New: true when a folder was named, and so is chosen.
    bool createNew();
    // Delete: deletes the selected folder and selects the entry before it.
    void deleteSelected();

    // After OK or New: the chosen name, and the chosen folder's full path.
    QString chosen() const { return chosenName; }
    QString path() const;

private:
    FavoritesStore& store;
    UserPrompts& prompts;
    QString rootPath;
    QStringList names;
    int selected = -1;
    bool canCancel = true;
    QString chosenName;
};
