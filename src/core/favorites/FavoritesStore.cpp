// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/favorites/FavoritesStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include "core/base/SettingsStore.h"
#include "core/favorites/FavoriteItem.h"
#include "core/favorites/FavoriteName.h"
#include "core/video/ImageLoader.h"

namespace {

const QString Section = QStringLiteral("Favorites");
const QString AnyOne = QStringLiteral("AnyOne");

// A folder name's components; both separators make nested folders, as the
// user may type either.
QStringList components(const QString& name)
{
    return name.split(QRegularExpression(QStringLiteral("[/\\\\]")));
}

// Empty when every component of a folder name is one usable name, so that
// the folder lies inside the root.
QString folderProblem(const QString& name)
{
    if (name.isEmpty())
        return FavoriteName::problem(name);
    for (const QString& part : components(name)) {
        const QString problem = FavoriteName::problem(part);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

QString relativeFolder(const QString& name)
{
    return components(name).join(u'/');
}

} // namespace

FavoritesStore::FavoritesStore(SettingsStore& settings, const QString& root)
    : settings(settings)
    , rootPath(QDir::cleanPath(root))
{
}

QString FavoritesStore::defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Favorites/");
}

void FavoritesStore::open()
{
    direction = settings.readInt(Section, QStringLiteral("SortDirection"), FavoriteItem::Ascending);
    field = settings.readInt(Section, QStringLiteral("SortField"), FavoriteItem::ByName);
    QDir().mkpath(rootPath + u'/' + AnyOne);
    const QString stored = settings.readString(Section, QStringLiteral("Folder"), AnyOne);
    // A stored name that would lead outside the root counts as gone too.
    if (folderProblem(stored).isEmpty() && QFileInfo(rootPath + u'/' + relativeFolder(stored)).isDir()) {
        folderName = relativeFolder(stored);
    } else {
        folderName = AnyOne;
        settings.writeString(Section, QStringLiteral("Folder"), AnyOne);
    }
}

QString FavoritesStore::currentFolderPath() const
{
    return rootPath + u'/' + folderName;
}

QString FavoritesStore::folderPath(const QString& name) const
{
    return rootPath + u'/' + relativeFolder(name);
}

void FavoritesStore::setSort(int sortField, int sortDirection)
{
    field = sortField;
    direction = sortDirection;
    settings.writeInt(Section, QStringLiteral("SortDirection"), direction);
    settings.writeInt(Section, QStringLiteral("SortField"), field);
}

QStringList FavoritesStore::folders() const
{
    return QDir(rootPath).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

bool FavoritesStore::switchFolder(const QString& name)
{
    if (!folderProblem(name).isEmpty())
        return false;
    folderName = relativeFolder(name);
    settings.writeString(Section, QStringLiteral("Folder"), name);
    return QFileInfo(currentFolderPath()).isDir();
}

QString FavoritesStore::createFolder(const QString& name)
{
    const QString problem = folderProblem(name);
    if (!problem.isEmpty())
        return problem;
    const QString path = rootPath + u'/' + relativeFolder(name);
    if (!QDir().mkpath(path))
        return QStringLiteral("The folder \u201C%1\u201D could not be made.").arg(QDir::toNativeSeparators(path));
    return QString();
}

QString FavoritesStore::deleteFolder(const QString& name)
{
    if (name.compare(AnyOne, Qt::CaseInsensitive) == 0)
        return QStringLiteral("You can not delete this folder");
    // One component only: a folder directly inside the root, never the root.
    const QString problem = FavoriteName::problem(name);
    if (!problem.isEmpty())
        return problem;
    const QString path = rootPath + u'/' + name;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir())
        return QStringLiteral("\u201C%1\u201D is no folder of the favorites.").arg(name);

    // Without the data folder, Qt reports success but moves the folder into
    // the current folder instead of the trash.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QString trashed;
    const bool moved = QFile::moveToTrash(path, &trashed);
    const bool gone = !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    if (moved && gone && QDir::isAbsolutePath(trashed))
        return QString();
    // Put a folder that landed somewhere else back where it was.
    if (gone && !trashed.isEmpty() && QFileInfo(trashed).isDir())
        QDir().rename(trashed, path);
    return QStringLiteral("The folder \u201C%1\u201D could not be moved to the trash.").arg(name);
}

QStringList FavoritesStore::favoriteFiles(QStringList* refused) const
{
    // Hidden files too: ".jpg" is a favourite with an empty name. System
    // entries too, so that a pipe is reported instead of passed over.
    const QDir folder(currentFolderPath());
    const QStringList names
        = folder.entryList({ QStringLiteral("*.jpg") }, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& fileName : names) {
        const QString path = folder.filePath(fileName);
        const QFileInfo info(path);
        if (info.isFile()) {
            paths.append(path);
            continue;
        }
        // Folders and links that lead nowhere are no favourites: passed over.
        const QString problem = ImageLoader::specialFileProblem(path);
        if (refused && !problem.isEmpty())
            refused->append(problem);
    }
    return paths;
}

bool FavoritesStore::deleteFavorite(const QString& path)
{
    return QFile::remove(path);
}
