// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// The favourites library on disk: a root folder of favourites folders, each
// holding JPEG files; "AnyOne" always exists. The current folder and the
// sort order live in the "Favorites" settings.
class FavoritesStore {
public:
    // `root` is the library's folder; by default the per-user data folder's
    // "Favorites".
    explicit FavoritesStore(SettingsStore& settings, const QString& root = defaultRoot());

    static QString defaultRoot();

    // Reads the sort settings, creates "AnyOne" when missing and settles the
    // current folder (a stored folder that is gone falls back to "AnyOne",
    // and the setting is repaired).
    void open();

    QString root() const { return rootPath; }
    QString currentFolderName() const { return folderName; }
    // Root + folder name, without a trailing separator.
    QString currentFolderPath() const;
    // The full path of a folder of the root by its name (separators nest).
    QString folderPath(const QString& name) const;

    int sortField() const { return field; }
    int sortDirection() const { return direction; }
    // Stores the sort order.
    void setSort(int sortField, int sortDirection);

    // The folders of the root, by name.
    QStringList folders() const;
    // Makes `name` the current folder and stores it in "Folder" as given.
    // A folder that is gone still becomes current, and shows empty; false
    // for it, and for a name that would lead out of the root, which changes
    // nothing.
    bool switchFolder(const QString& name);
    // Creates a folder (separators make nested folders). Returns a message
    // for the user when the name is refused or the folder cannot be made,
    // else an empty text.
    QString createFolder(const QString& name);
    // Moves a folder of the root to the trash. Returns a message for the user
    // when refused ("You can not delete this folder" for "AnyOne" in any
    // letter case) or when the trash did not take it, else an empty text.
    QString deleteFolder(const QString& name);

    // The "*.jpg" files directly in the current folder, full paths. Pipes,
    // sockets and devices of that name, and links to them, are left out;
    // `refused` then gets a sentence for the user naming each.
    QStringList favoriteFiles(QStringList* refused = nullptr) const;
    // Removes a favourite's file (not to the trash); false when it failed.
    static bool deleteFavorite(const QString& path);

private:
    SettingsStore& settings;
    QString rootPath;
    QString folderName = QStringLiteral("AnyOne");
    int field = 0;
    int direction = 0;
};
