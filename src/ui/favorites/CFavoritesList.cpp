// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/favorites/CFavoritesList.h"

#include <QCoreApplication>

#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"
#include "core/base/UserPrompts.h"
#include "core/favorites/FavoritesFolderChooser.h"
#include "ui/favorites/FavoriteDelegate.h"

namespace {
constexpr int keyRole = Qt::UserRole;
}

CFavoritesList::CFavoritesList(
    SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, const QString& root, QWidget* parent)
    : QListWidget(parent)
    , prompts(prompts)
    , mainWindow(mainWindow)
    , library(settings, root)
{
    setObjectName(QStringLiteral("favoritesList"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setItemDelegate(new FavoriteDelegate(*this, this));
    connect(this, &QListWidget::itemDoubleClicked, this, [this] { open(); });
    connect(&loader, &FavoriteLoader::loaded, this, &CFavoritesList::addRecord);
    connect(&loader, &FavoriteLoader::finished, this, &CFavoritesList::listed);

    library.open();
    direction = library.sortDirection();
    field = library.sortField();
    currentFolder = library.currentFolderPath();
    listFolder();
}

CFavoritesList::~CFavoritesList()
{
    clearRecords();
}

void CFavoritesList::addFile(const QString& path)
{
    if (std::optional<FavoriteItem> loaded = FavoriteItem::load(path))
        addRecord(*loaded);
}

void CFavoritesList::addRecord(const FavoriteItem& record)
{
    const int key = nextKey++;
    FavoriteItem& kept = records[key] = record;
    kept.key = QString::number(key);
    insertKey(key);
}

void CFavoritesList::insertKey(int key)
{
    const FavoriteItem& added = records.at(key);
    // After the records it equals, before the first that follows it.
    int place = 0;
    while (place < count() && FavoriteItem::compare(added, *record(place), field, direction) >= 0)
        ++place;
    auto* entry = new QListWidgetItem;
    entry->setData(keyRole, added.key);
    insertItem(place, entry);
}

const FavoriteItem* CFavoritesList::record(int row) const
{
    const QListWidgetItem* entry = item(row);
    if (!entry)
        return nullptr;
    const auto found = records.find(entry->data(keyRole).toString().toInt());
    return found == records.end() ? nullptr : &found->second;
}

int CFavoritesList::selectedRow() const
{
    const QList<QListWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? -1 : row(chosen.constFirst());
}

int CFavoritesList::FindFavorite(const QString& text, int searchField, int start)
{
    if (start < 0 || start >= count())
        return -1;
    for (int i = start; i < count(); ++i) {
        const FavoriteItem* candidate = record(i);
        const QString* value = nullptr;
        switch (searchField) {
        case 0:
            value = &candidate->name;
            break;
        case 1:
            value = &candidate->description;
            break;
        case 2:
            value = &candidate->dateText;
            break;
        default:
            break;
        }
        if (value && value->contains(text, Qt::CaseSensitive)) {
            setCurrentRow(i, QItemSelectionModel::ClearAndSelect);
            scrollToItem(item(i));
            return i;
        }
    }
    return -1;
}

void CFavoritesList::resort()
{
    QList<int> keys;
    for (int i = 0; i < count(); ++i)
        keys << item(i)->data(keyRole).toString().toInt();
    clear();
    for (int key : keys)
        insertKey(key);
}

void CFavoritesList::clearRecords()
{
    loader.cancel();
    clear();
    records.clear();
}

void CFavoritesList::listFolder()
{
    QStringList refused;
    loader.load(library.favoriteFiles(&refused));
    for (const QString& message : refused)
        prompts.showMessage(message);
}

void CFavoritesList::finishListing()
{
    loader.waitForWorkers();
    QCoreApplication::sendPostedEvents(&loader, QEvent::MetaCall);
}

bool CFavoritesList::onCommand(int id)
{
    switch (id) {
    case ID_FAVORITES_OPEN:
        open();
        return true;
    case ID_FAVORITES_DELETE:
        deleteSelected();
        return true;
    case ID_FAVORITES_SORT:
        sort();
        return true;
    case ID_FAVORITES_FIND:
        find();
        return true;
    case ID_FAVORITES_FOLDER:
        chooseFolder();
        return true;
    default:
        return false;
    }
}

bool CFavoritesList::updateCommand(int id, CommandState& state) const
{
    switch (id) {
    case ID_FAVORITES_OPEN:
    case ID_FAVORITES_DELETE:
        state = { selectedRow() >= 0, false, {} };
        return true;
    case ID_FAVORITES_SORT:
    case ID_FAVORITES_FIND:
    case ID_FAVORITES_FOLDER:
        // Hidden with its bar.
        state = { isVisible(), false, {} };
        return true;
    default:
        return false;
    }
}

void CFavoritesList::open()
{
    const FavoriteItem* chosen = record(selectedRow());
    if (!chosen)
        return;
    const QString path = chosen->path;
    mainWindow.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
}

void CFavoritesList::deleteSelected()
{
    const int row = selectedRow();
    const FavoriteItem* chosen = record(row);
    if (!chosen || !FavoritesStore::deleteFavorite(chosen->path))
        return;
    const int key = chosen->key.toInt();
    delete takeItem(row);
    records.erase(key);
    clearSelection();
    setCurrentRow(-1);
}

void CFavoritesList::sort()
{
    int newDirection = direction;
    int newField = field;
    if (!prompts.sortOptions(newDirection, newField))
        return;
    direction = newDirection;
    field = newField;
    library.setSort(field, direction);
    resort();
}

void CFavoritesList::find()
{
    prompts.findFavorite(*this);
}

void CFavoritesList::chooseFolder()
{
    FavoritesFolderChooser chooser(library, prompts, currentFolder);
    if (!prompts.chooseFavoritesFolder(chooser))
        return;
    // A folder removed meanwhile still becomes current and shows empty.
    library.switchFolder(chooser.chosen());
    currentFolder = library.currentFolderPath();
    clearRecords();
    listFolder();
}
