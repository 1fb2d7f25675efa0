// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/favorites/FavoritesFolderChooser.h"
#include "core/favorites/FavoritesStore.h"
#include "ui/app/CMainFrame.h"
#include "ui/favorites/CFavoritesBar.h"
#include "ui/favorites/CFavoritesList.h"
#include "ui/favorites/FavoriteFinder.h"

// A step in the folder dialog and what follows it.
struct ChooserRow {
    QString current {}, step {}, chosen {};
    QStringList left {};
    int selected = 0;
    QString told {};
};
Q_DECLARE_METATYPE(ChooserRow)

namespace {

// The main window as the list sees it, keeping the paths it was asked to open.
struct OpenLog : MessageLog {
    QStringList opened;
    qintptr send(AppMessage message, qintptr wParam, qintptr lParam) override
    {
        if (message == WM_APP_OPEN_IMAGE)
            opened << textOf(wParam);
        return MessageLog::send(message, wParam, lParam);
    }
};

FavoriteItem record(const QString& name, qint64 created = 0, const QString& description = {}, const QString& date = {})
{
    return { {}, name, "/nowhere/" + name + ".jpg", description, date, created, {} };
}

QStringList namesOf(const CFavoritesList& list)
{
    QStringList names;
    for (int row = 0; row < list.count(); ++row)
        names << list.record(row)->name;
    return names;
}

QString writeFavorite(const QString& folder, const QString& name)
{
    QDir().mkpath(folder);
    return TestImages::write(folder, name + ".jpg", TestImages::pattern(64, 48), "JPEG");
}

// A library in a folder of its own, with its settings, and its bar.
struct Library {
    explicit Library(const QStringList& folders = {}, int sortField = 0, int sortDirection = 0)
    {
        settings.writeInt("Favorites", "SortField", sortField);
        settings.writeInt("Favorites", "SortDirection", sortDirection);
        for (const QString& name : folders)
            QDir().mkpath(folder(name));
        bar = std::make_unique<CFavoritesBar>(settings, prompts, log, root());
        bar->list().finishListing();
    }
    QString root() const { return dir.filePath("Favorites"); }
    QString folder(const QString& name = "AnyOne") const { return root() + u'/' + name; }
    CFavoritesList& list() { return bar->list(); }
    // The folder dialog's logic, the current folder being `current`.
    FavoritesFolderChooser chooser(const QString& current = "AnyOne")
    {
        return FavoritesFolderChooser(list().store(), prompts, folder(current));
    }
    bool enabled(int id)
    {
        CommandState state;
        bar->updateCommand(id, state);
        return state.enabled;
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    OpenLog log;
    SettingsStore settings { dir.filePath("Scopique.conf") };
    std::unique_ptr<CFavoritesBar> bar;
};

// The default library, holding a favourite in each of these folders
// ("folder/name"), under a main window of its own.
struct Frame {
    explicit Frame(const QStringList& favorites)
        : root(prepared(favorites))
    {
        list.finishListing();
    }
    static QString prepared(const QStringList& favorites)
    {
        QDir(FavoritesStore::defaultRoot()).removeRecursively();
        for (const QString& favorite : favorites)
            writeFavorite(FavoritesStore::defaultRoot() + favorite.section(u'/', 0, -2), favorite.section(u'/', -1));
        return FavoritesStore::defaultRoot();
    }
    const QString root;
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsStore settings { dir.filePath("Scopique.conf") };
    CMainFrame frame { settings, prompts };
    CFavoritesList& list = frame.favoritesBar()->list();
};

} // namespace

class TestFavorites : public QObject {
    Q_OBJECT

    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        // Nothing of the user's own: the trash and the data folder live here.
        QVERIFY(home.isValid());
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    }

    void sortedInsertion_data()
    {
        // Records a 200 "zoo", B 400 "Ant", C 100 "Bee", b 200 "AA", added in
        // that order; equal dates keep that order.
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("name, bytes") << 0 << 0 << QStringList { "B", "C", "a", "b" };
        QTest::newRow("name descending") << 0 << 1 << QStringList { "b", "a", "C", "B" };
        QTest::newRow("date") << 1 << 0 << QStringList { "C", "a", "b", "B" };
        QTest::newRow("date descending") << 1 << 1 << QStringList { "B", "a", "b", "C" };
        QTest::newRow("description, bytes") << 2 << 0 << QStringList { "b", "B", "C", "a" };
        QTest::newRow("description descending") << 2 << 1 << QStringList { "a", "C", "B", "b" };
    }
    void sortedInsertion()
    {
        QFETCH(int, field);
        QFETCH(int, direction);
        QFETCH(QStringList, expected);
        Library library({}, field, direction);
        CFavoritesList& list = library.list();
        for (const FavoriteItem& item :
            { record("a", 200, "zoo"), record("B", 400, "Ant"), record("C", 100, "Bee"), record("b", 200, "AA") })
            list.addRecord(item);
        QCOMPARE(namesOf(list), expected);
        // Sort Options: by name, descending, kept in the settings.
        library.prompts.sortAccept = true;
        library.prompts.sortFieldAnswer = 0;
        library.prompts.sortDirectionAnswer = 1;
        QVERIFY(library.bar->onCommand(ID_FAVORITES_SORT));
        QCOMPARE(library.prompts.sortFieldSeen, field);
        QCOMPARE(namesOf(list), (QStringList { "b", "a", "C", "B" }));
        QCOMPARE(library.settings.readInt("Favorites", "SortField", -1), 0);
        QCOMPARE(library.settings.readInt("Favorites", "SortDirection", -1), 1);
    }

    void find_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        // Find, then Find Again for each further entry.
        QTest::addColumn<QList<int>>("found");
        // Rows in name order: Sample, Zebra, sample.
        QTest::newRow("empty text walks all") << 0 << "" << QList<int> { 0, 1, 2, -1, 0, 1 };
        QTest::newRow("name is case-sensitive") << 0 << "sample" << QList<int> { 2, -1, 2 };
        QTest::newRow("date 1/1/2006 finds 11/1/2006") << 2 << "1/1/2006" << QList<int> { 0, 2, -1, 0 };
    }
    void find()
    {
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QList<int>, found);
        Library library;
        CFavoritesList& list = library.list();
        list.addRecord(record("Sample", 1, "first", "1/1/2006 09:00:00 AM"));
        list.addRecord(record("sample", 3, "second", "11/1/2006 10:00:00 AM"));
        list.addRecord(record("Zebra", 2, "third", "2/1/2006 11:00:00 PM"));
        FavoriteFinder finder(list);
        finder.mode = mode;
        int selected = -1;
        for (int step = 0; step < found.size(); ++step) {
            step == 0 ? finder.find(text) : finder.findAgain(text);
            QCOMPARE(finder.found(), found.at(step));
            // A match selects its row; a miss leaves the selection.
            selected = found.at(step) >= 0 ? found.at(step) : selected;
            QCOMPARE(list.selectedRow(), selected);
        }
    }

    void folderChooser_data()
    {
        // Over folders a, AnyOne, anyone, beta (with beta/inner in it) and
        // My.Pics, the current one named `current`, the user's step: "OK",
        // "New <name>" or "Delete <row>". Then the folder chosen (under the
        // root, empty for none), the entries left (empty when all are), the
        // selection after a deletion, and a part of what is told.
        QTest::addColumn<ChooserRow>("row");
        QTest::newRow("OK on the current folder") << ChooserRow { "BETA", "OK", "beta" };
        QTest::newRow("OK on a dotted folder") << ChooserRow { "My.Pics", "OK", "My.Pics" };
        QTest::newRow("OK without a selection") << ChooserRow { "gone", "OK", {}, {}, 0, "You must make a selection" };
        QTest::newRow("OK, current folder nested")
            << ChooserRow { "beta/inner", "OK", {}, {}, 0, "You must make a selection" };
        QTest::newRow("New, nested") << ChooserRow { "AnyOne", "New Trips/Sea", "Trips/Sea" };
        QTest::newRow("New, backslash nests") << ChooserRow { "AnyOne", "New Lab\\Week 1", "Lab/Week 1" };
        QTest::newRow("New, empty name") << ChooserRow { "AnyOne", "New " };
        QTest::newRow("New, parent") << ChooserRow { "AnyOne", "New ..", {}, {}, 0, ".." };
        QTest::newRow("Delete the last, dotted")
            << ChooserRow { "AnyOne", "Delete 4", {}, { "a", "AnyOne", "anyone", "beta" }, 3 };
        QTest::newRow("Delete in the middle")
            << ChooserRow { "AnyOne", "Delete 3", {}, { "a", "AnyOne", "anyone", "My.Pics" }, 2 };
        QTest::newRow("Delete the first")
            << ChooserRow { "AnyOne", "Delete 0", {}, { "AnyOne", "anyone", "beta", "My.Pics" }, 0 };
        QTest::newRow("Delete AnyOne") << ChooserRow { "AnyOne", "Delete 1", {}, {}, 1,
            "You can not delete this folder" };
        QTest::newRow("Delete anyone") << ChooserRow { "AnyOne", "Delete 2", {}, {}, 2,
            "You can not delete this folder" };
    }
    void folderChooser()
    {
        QFETCH(ChooserRow, row);
        // Without a data folder yet: the trash is made where it belongs.
        QDir(home.filePath("data")).removeRecursively();
        Library library({ "a", "anyone", "beta/inner", "My.Pics" });
        FavoritesFolderChooser chooser = library.chooser(row.current);
        // The root's folders by full name, in alphabetical order whatever the
        // case, also when the current folder lies deeper.
        const QStringList all { "a", "AnyOne", "anyone", "beta", "My.Pics" };
        QCOMPARE(chooser.root(), library.root() + u'/');
        QCOMPARE(chooser.entries(), all);
        const QString argument = row.step.section(u' ', 1), name = all.value(argument.toInt());
        if (row.step.startsWith("Delete")) {
            chooser.select(argument.toInt());
            chooser.deleteSelected();
            QCOMPARE(chooser.selection(), row.selected);
            QCOMPARE(chooser.cancelEnabled(), !row.told.isEmpty());
            QCOMPARE(QFileInfo::exists(library.folder(name)), !row.told.isEmpty());
            QCOMPARE(QFileInfo::exists(home.filePath("data/Trash/files/" + name)), row.told.isEmpty());
        } else {
            library.prompts.newFolderAccept = true;
            library.prompts.newFolderName = argument;
            QCOMPARE(row.step == "OK" ? chooser.accept() : chooser.createNew(), !row.chosen.isEmpty());
            QCOMPARE(chooser.path(), library.folder(row.chosen));
            QVERIFY(QFileInfo(library.folder(row.chosen)).isDir());
        }
        QCOMPARE(chooser.entries(), row.left.isEmpty() ? all : row.left);
        QCOMPARE(library.prompts.messages.size(), row.told.isEmpty() ? 0 : 1);
        QVERIFY(library.prompts.messages.value(0).contains(row.told));
        // Nothing is made outside the root.
        QCOMPARE(QDir(library.dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList { "Favorites" });
    }

    void folderCommand_data()
    {
        // The Folder dialogs in turn, each "OK name", "New name" or "Cancel";
        // then the current folder, where Add to Favorites writes "cell".
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("other folder") << QStringList { "OK Trips" } << "Trips" << QStringList { "cell", "rock", "sea" };
        QTest::newRow("cancelled") << QStringList { "Cancel" } << "AnyOne" << QStringList { "cell", "home" };
        QTest::newRow("dotted folder") << QStringList { "OK My.Pics" } << "My.Pics" << QStringList { "cell", "slide" };
        QTest::newRow("new nested folder") << QStringList { "New x/y" } << "x/y" << QStringList { "cell" };
        QTest::newRow("new nested, then AnyOne")
            << QStringList { "New x/y", "OK AnyOne" } << "AnyOne" << QStringList { "cell", "home" };
    }
    void folderCommand()
    {
        QFETCH(QStringList, dialogs);
        QFETCH(QString, current);
        QFETCH(QStringList, listed);
        Frame shown({ "AnyOne/home", "Trips/sea", "Trips/rock", "My.Pics/slide" });
        ScriptedPrompts& prompts = shown.prompts;
        QStringList roots, entries;
        prompts.folderScript = [&](FavoritesFolderChooser& chooser) {
            roots << chooser.root();
            entries = chooser.entries();
            const QString step = dialogs.takeFirst(), name = step.section(u' ', 1);
            prompts.newFolderAccept = true;
            prompts.newFolderName = name;
            if (step.startsWith(QLatin1String("New")))
                return chooser.createNew();
            chooser.select(int(chooser.entries().indexOf(name)));
            return step.startsWith(QLatin1String("OK")) && chooser.accept();
        };
        const qsizetype count = dialogs.size();
        while (!dialogs.isEmpty())
            QVERIFY(shown.frame.dispatch(ID_FAVORITES_FOLDER));
        shown.list.finishListing();
        prompts.addFavoriteAccept = true;
        prompts.addFavoriteName = QStringLiteral("cell");
        QVERIFY(shown.frame.dispatch(ID_FAVORITES_ADD));

        // Every dialog lists the library's own folders.
        QCOMPARE(roots, QStringList(count, shown.root));
        QVERIFY(entries.contains(QStringLiteral("My.Pics")));
        QCOMPARE(prompts.messages, QStringList());
        QCOMPARE(prompts.addFavoriteFolderSeen, shown.root + current);
        QVERIFY(QFileInfo(shown.root + current + QStringLiteral("/cell.jpg")).isFile());
        QCOMPARE(namesOf(shown.list), listed);
        QCOMPARE(shown.list.folderPath(), shown.root + current);
        QCOMPARE(shown.settings.readString("Favorites", "Folder", "AnyOne"), current);
        // Delete through the main window removes the selected favourite's file.
        shown.list.setCurrentRow(0);
        QVERIFY(shown.frame.dispatch(ID_FAVORITES_DELETE));
        QVERIFY(!QFileInfo::exists(shown.root + current + QStringLiteral("/cell.jpg")));
    }

    void commands_data()
    {
        // Records x (no file) and y (a file); the row selected, the command
        // given (0: a double-click), then the names left and whether the
        // selected one was opened.
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("command");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Open, bar hidden") << false << 1 << int(ID_FAVORITES_OPEN) << QStringList { "x", "y" } << true;
        QTest::newRow("Open, nothing selected")
            << true << -1 << int(ID_FAVORITES_OPEN) << QStringList { "x", "y" } << false;
        QTest::newRow("double-click") << true << 0 << 0 << QStringList { "x", "y" } << true;
        QTest::newRow("Delete") << true << 1 << int(ID_FAVORITES_DELETE) << QStringList { "x" } << false;
        QTest::newRow("Delete, file gone")
            << false << 0 << int(ID_FAVORITES_DELETE) << QStringList { "x", "y" } << false;
    }
    void commands()
    {
        QFETCH(bool, shown);
        QFETCH(int, selected);
        QFETCH(int, command);
        QFETCH(QStringList, left);
        QFETCH(bool, opens);
        Library library;
        CFavoritesList& list = library.list();
        list.addRecord(record("x"));
        list.addFile(writeFavorite(list.folderPath(), QStringLiteral("y")));
        const QString path = selected >= 0 ? list.record(selected)->path : QString();
        if (shown) {
            library.bar->resize(300, 400);
            library.bar->show();
            QVERIFY(QTest::qWaitForWindowExposed(library.bar.get()));
        }
        if (command == 0) {
            const QPoint at = list.visualItemRect(list.item(selected)).center();
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        } else {
            list.setCurrentRow(selected);
            QCOMPARE(library.enabled(ID_FAVORITES_OPEN), selected >= 0);
            QCOMPARE(library.enabled(ID_FAVORITES_DELETE), selected >= 0);
            // The others go with the bar.
            for (int id : { ID_FAVORITES_SORT, ID_FAVORITES_FIND, ID_FAVORITES_FOLDER })
                QCOMPARE(library.enabled(id), shown);
            QVERIFY(library.bar->onCommand(command));
        }
        QCOMPARE(library.log.opened, opens ? QStringList { path } : QStringList());
        QCOMPARE(namesOf(list), left);
        if (left.size() == 1) {
            // Deleted, and nothing is selected any more.
            QVERIFY(!QFileInfo::exists(path));
            QCOMPARE(list.selectedRow(), -1);
            QVERIFY(!library.enabled(ID_FAVORITES_OPEN));
        }
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
