// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <map>

#include <QListWidget>

#include "core/base/CommandTarget.h"
#include "core/favorites/FavoriteItem.h"
#include "core/favorites/FavoriteLoader.h"
#include "core/favorites/FavoritesStore.h"

class AppMessageSink;
class SettingsStore;
class UserPrompts;

// The favourites of the current folder, one 140-pixel row each with its
// thumbnail, name, date and description, kept in the stored sort order. The
// list owns the records and answers the Favorites menu.
class CFavoritesList : public QListWidget, public CommandTarget {
    Q_OBJECT

public:
    static constexpr int ItemHeight = 140;

    // Opens the library under `root` and lists its current folder.
    CFavoritesList(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, const QString& root,
        QWidget* parent = nullptr);
    ~CFavoritesList() override;

    // Loads the file's record and inserts it at its sorted place; a file
    // listed already is listed again.
    void addFile(const QString& path);
    // Inserts a loaded record at its sorted place.
    void addRecord(const FavoriteItem& record);
    // The record shown in a row; null outside the list.
    const FavoriteItem* record(int row) const;

    // The full path of the folder shown, without a trailing separator.
    const QString& folderPath() const { return currentFolder; }
    int sortField() const { return field; }
    int sortDirection() const { return direction; }
    FavoritesStore& store() { return library; }

    // Looks for `text` inside a field (0 name, 1 description, 2 date text)
    // of the records from `start` on; selects the first match and returns
    // its row, else -1 with the selection unchanged.
    int FindFavorite(const QString& text, int field, int start);
    // The selected row, -1 when none.
    int selectedRow() const;

    void resort();
    // Destroys every record.
    void clearRecords();
    // Lists the files of the current folder; the records arrive from worker
    // threads and are inserted as they come, the window staying usable. A
    // pipe, socket or device among them is not read; the user is told.
    void listFolder();
    // Waits for the listing under way and inserts all its records.
    void finishListing();

signals:
    // The listing of a folder is complete.
    void listed();

public:
    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

    void open();
    void deleteSelected();
    void sort();
    void find();
    void chooseFolder();

private:
    void insertKey(int key);

    UserPrompts& prompts;
    AppMessageSink& mainWindow;
    FavoritesStore library;
    QString currentFolder;
    int direction = 0;
    int field = 0;
    // The records by identity; each row's data is its identity as text.
    std::map<int, FavoriteItem> records;
    int nextKey = 1;
    FavoriteLoader loader;
};
