// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "favorites/FavoritesFolderChooser.h"

#include <algorithm>

#include "app/UserPrompts.h"
#include "favorites/FavoritesStore.h"

FavoritesFolderChooser::FavoritesFolderChooser(FavoritesStore& store, UserPrompts& prompts,
                                               const QString& currentPath)
    : store(store)
    , prompts(prompts)
{
    const int cut = currentPath.lastIndexOf(QLatin1Char('/')) + 1;
    if (cut == 0)
        return;
    const QString current = currentPath.mid(cut);
    rootPath = currentPath.left(cut);
    for (const QString& name : store.folders()) {
        const int dot = name.lastIndexOf(QLatin1Char('.'));
        titles << (dot < 0 ? name : name.left(dot));
    }
    // The list keeps its entries in alphabetical order, whatever the case.
    std::stable_sort(titles.begin(), titles.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    // From the second entry on, wrapping round to the first.
    for (int step = 0; step < titles.size(); ++step) {
        const int row = (step + 1) % titles.size();
        if (titles.at(row).compare(current, Qt::CaseInsensitive) == 0) {
            selected = row;
            break;
        }
    }
}

bool FavoritesFolderChooser::accept()
{
    if (selected < 0) {
        prompts.showMessage(QStringLiteral("You must make a selection"));
        return false;
    }
    chosenName = titles.at(selected);
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
    const QString problem = store.deleteFolder(titles.at(selected));
    if (!problem.isEmpty()) {
        prompts.showMessage(problem);
        return;
    }
    titles.removeAt(selected);
    selected = titles.isEmpty() ? -1 : std::max(selected - 1, 0);
    canCancel = false;
}
