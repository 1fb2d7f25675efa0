// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/favorites/FavoritesFolderChooser.h"

#include <algorithm>

#include "core/base/UserPrompts.h"
#include "core/favorites/FavoritesStore.h"

FavoritesFolderChooser::FavoritesFolderChooser(FavoritesStore& store, UserPrompts& prompts, const QString& currentPath)
    : store(store)
    , prompts(prompts)
    , rootPath(store.root() + u'/')
    , names(store.folders())
{
    const QString current = currentPath.startsWith(rootPath) ? currentPath.mid(rootPath.size()) : QString();
    // The list keeps its entries in alphabetical order, whatever the case.
    std::stable_sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    // From the second entry on, wrapping round to the first.
    for (int step = 0; step < names.size(); ++step) {
        const int row = (step + 1) % names.size();
        if (names.at(row).compare(current, Qt::CaseInsensitive) == 0) {
            selected = row;
            break;
        }
    }
}

QString FavoritesFolderChooser::path() const
{
    return store.folderPath(chosenName);
}

bool FavoritesFolderChooser::accept()
{
    if (selected < 0) {
        prompts.showMessage(QStringLiteral("You must make a selection"));
        return false;
    }
    chosenName = names.at(selected);
    return true;
}

bool FavoritesFolderChooser::createNew()
{
    QString name;
    if (!prompts.newFavoritesFolder(name) || name.isEmpty())
        return false;
    const QString problem = store.createFolder(name);
    if (!problem.isEmpty()) {
        // A refused name never leaves the root; the dialog stays.
        prompts.showMessage(problem);
        return false;
    }
    chosenName = name;
    return true;
}

void FavoritesFolderChooser::deleteSelected()
{
    if (selected < 0)
        return;
    const QString problem = store.deleteFolder(names.at(selected));
    if (!problem.isEmpty()) {
        prompts.showMessage(problem);
        return;
    }
    names.removeAt(selected);
    selected = names.isEmpty() ? -1 : std::max(selected - 1, 0);
    canCancel = false;
}
