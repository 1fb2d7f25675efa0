// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "TestImages.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "favorites/CFavoritesBar.h"
#include "favorites/CFavoritesList.h"
#include "favorites/CFindFavoriteDlg.h"
#include "favorites/FavoriteFinder.h"
#include "favorites/FavoritesFolderChooser.h"
#include "favorites/FavoritesStore.h"

namespace {

const QString section = QStringLiteral("Favorites");

// The main window as the list sees it, keeping the paths it was asked to open.
class OpenLog : public MessageLog {
public:
    QStringList opened;
    qintptr send(AppMessage message, qintptr wParam, qintptr lParam) override
    {
        if (message == WM_APP_OPEN_IMAGE)
            opened << textOf(wParam);
        return MessageLog::send(message, wParam, lParam);
    }
};

FavoriteItem record(const QString& name, qint64 created = 0, const QString& description = QString(),
                    const QString& dateText = QString())
{
    FavoriteItem item;
    item.name = name;
    item.path = QStringLiteral("/nowhere/") + name + QStringLiteral(".jpg");
    item.created = created;
    item.description = description;
    item.dateText = dateText;
    return item;
}

QStringList namesOf(const CFavoritesList& list)
{
    QStringList names;
    for (int row = 0; row < list.count(); ++row)
        names << list.record(row)->name;
    return names;
}

QString writeFavorite(const QString& folder, const QString& name, const QString& description = QString())
{
    QDir().mkpath(folder);
    ImageTags tags;
    if (!description.isEmpty())
        tags.description = description;
    return TestImages::write(folder, name + QStringLiteral(".jpg"), TestImages::pattern(64, 48), "JPEG", tags);
}

} // namespace

class TestFavorites : public QObject {
    Q_OBJECT

private:
    // A library in a folder of its own, with its settings, and its list.
    struct Library {
        explicit Library(int sortField = 0, int sortDirection = 0, const QStringList& folders = {})
            : settings(dir.filePath(QStringLiteral("Scopique.conf")))
        {
            settings.writeInt(section, QStringLiteral("SortField"), sortField);
            settings.writeInt(section, QStringLiteral("SortDirection"), sortDirection);
            for (const QString& folder : folders)
                QDir().mkpath(root() + u'/' + folder);
        }
        QString root() const { return dir.filePath(QStringLiteral("Favorites")); }
        QString folder(const QString& name = QStringLiteral("AnyOne")) const { return root() + u'/' + name; }
        // The bar over the library, its first folder listed.
        CFavoritesBar& bar()
        {
            if (!favorites) {
                favorites = std::make_unique<CFavoritesBar>(settings, prompts, log, root());
                favorites->list().finishListing();
            }
            return *favorites;
        }
        CFavoritesList& list() { return bar().list(); }
        CommandState state(int id)
        {
            CommandState result;
            bar().updateCommand(id, result);
            return result;
        }

        QTemporaryDir dir;
        ScriptedPrompts prompts;
        OpenLog log;
        SettingsStore settings;
        std::unique_ptr<CFavoritesBar> favorites;
    };

    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        // Nothing of the user's own: the trash and the data folder live here.
        QVERIFY(home.isValid());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
        QDir().mkpath(home.filePath(QStringLiteral("data")));
    }

    void sortOrder_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("expected");
        // Records: name, created, description.
        QTest::newRow("name ascending, bytes") << 0 << 0 << QStringList {"B", "C", "a", "b"};
        QTest::newRow("name descending") << 0 << 1 << QStringList {"b", "a", "C", "B"};
        QTest::newRow("date ascending") << 1 << 0 << QStringList {"C", "a", "b", "B"};
        QTest::newRow("date descending") << 1 << 1 << QStringList {"B", "b", "a", "C"};
        QTest::newRow("description ascending") << 2 << 0 << QStringList {"b", "B", "C", "a"};
        QTest::newRow("description descending") << 2 << 1 << QStringList {"a", "C", "B", "b"};
    }
    void sortOrder()
    {
        QFETCH(int, field);
        QFETCH(int, direction);
        QFETCH(QStringList, expected);
        Library library(field, direction);
        CFavoritesList& list = library.list();
        list.addRecord(record("a", 200, "zoo"));
        list.addRecord(record("B", 400, "Ant"));
        list.addRecord(record("C", 100, "Bee"));
        list.addRecord(record("b", 300, "AA"));
        QCOMPARE(namesOf(list), expected);
    }

    void addingWhileSortedInsertsInPlace_data()
    {
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("first") << "e" << QStringList {"e", "d", "b", "a"};
        QTest::newRow("middle") << "c" << QStringList {"d", "c", "b", "a"};
        QTest::newRow("last") << "A" << QStringList {"d", "b", "a", "A"};
        QTest::newRow("equal") << "b" << QStringList {"d", "b", "b", "a"};
    }
    void addingWhileSortedInsertsInPlace()
    {
        QFETCH(QString, added);
        QFETCH(QStringList, expected);
        Library library(0, 1);
        CFavoritesList& list = library.list();
        for (const char* name : {"b", "d", "a"})
            list.addRecord(record(name));
        list.addRecord(record(added));
        QCOMPARE(namesOf(list), expected);
    }

    void sortCommand_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("storedField");
        QTest::addColumn<int>("storedDirection");
        QTest::newRow("date descending") << true << QStringList {"c", "a", "b"} << 1 << 1;
        QTest::newRow("cancelled") << false << QStringList {"a", "b", "c"} << 0 << 0;
    }
    void sortCommand()
    {
        QFETCH(bool, accept);
        QFETCH(QStringList, expected);
        QFETCH(int, storedField);
        QFETCH(int, storedDirection);
        Library library;
        CFavoritesList& list = library.list();
        list.addRecord(record("b", 10));
        list.addRecord(record("c", 30));
        list.addRecord(record("a", 20));
        library.prompts.sortAccept = accept;
        library.prompts.sortFieldAnswer = 1;
        library.prompts.sortDirectionAnswer = 1;
        QVERIFY(library.bar().onCommand(ID_FAVORITES_SORT));
        QCOMPARE(namesOf(list), expected);
        QCOMPARE(library.settings.readInt(section, QStringLiteral("SortField"), -1), storedField);
        QCOMPARE(library.settings.readInt(section, QStringLiteral("SortDirection"), -1), storedDirection);
        // The next time the dialog shows what is in force.
        library.prompts.sortAccept = false;
        library.bar().onCommand(ID_FAVORITES_SORT);
        QCOMPARE(library.prompts.sortFieldSeen, storedField);
        QCOMPARE(library.prompts.sortDirectionSeen, storedDirection);
    }

    void listsTheCurrentFolder()
    {
        Library library(0, 0, {"AnyOne", "Trips"});
        writeFavorite(library.folder(), QStringLiteral("tree"), QStringLiteral("An oak"));
        writeFavorite(library.folder(), QStringLiteral("Moss"));
        writeFavorite(library.folder(QStringLiteral("Trips")), QStringLiteral("sea"));
        TestImages::write(library.folder(), QStringLiteral("note.png"), TestImages::pattern(8, 8));
        library.settings.writeString(section, QStringLiteral("Folder"), QStringLiteral("AnyOne"));
        CFavoritesList& list = library.list();
        QCOMPARE(namesOf(list), (QStringList {"Moss", "tree"}));
        QCOMPARE(list.record(1)->description, QStringLiteral("An oak"));
        QCOMPARE(list.record(1)->thumbnail.size(), QSize(160, 120));
    }

    void fileAnnouncedTwiceIsListedTwice()
    {
        Library library;
        const QString folder = library.list().folderPath();
        const auto* answer = reinterpret_cast<const QString*>(library.bar().send(WM_APP_GET_FAVORITES_FOLDER, 0, 0));
        QVERIFY(answer);
        QCOMPARE(*answer, library.folder());
        const QString path = writeFavorite(folder, QStringLiteral("cell"));
        QCOMPARE(library.bar().send(WM_APP_FAVORITE_ADDED, AppMessageSink::textArg(path), 0), 0);
        QCOMPARE(library.list().count(), 1);
        library.bar().send(WM_APP_FAVORITE_ADDED, AppMessageSink::textArg(path), 0);
        QCOMPARE(namesOf(library.list()), (QStringList {"cell", "cell"}));
        QCOMPARE(library.list().record(1)->path, path);
    }

    void find_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        // Find, then Find Again for each further entry.
        QTest::addColumn<QList<int>>("found");
        // Rows in name order: Sample, Zebra, sample.
        QTest::newRow("empty text walks all") << 0 << "" << QList<int> {0, 1, 2, -1, 0, 1};
        QTest::newRow("name is case-sensitive") << 0 << "sample" << QList<int> {2, -1, 2};
        QTest::newRow("name upper case") << 0 << "Sam" << QList<int> {0, -1, 0};
        QTest::newRow("date 1/1/2006 finds 11/1/2006") << 2 << "1/1/2006" << QList<int> {0, 2, -1, 0};
        QTest::newRow("date of one day") << 2 << "2/1/2006" << QList<int> {1, -1};
        QTest::newRow("description is field 1") << 1 << "ir" << QList<int> {0, 1, -1, 0};
        QTest::newRow("date is not the description") << 2 << "second" << QList<int> {-1, -1};
        QTest::newRow("no such field") << 3 << "" << QList<int> {-1};
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
        QCOMPARE(finder.found(), -1);
        finder.mode = mode;
        int selected = -1;
        for (int step = 0; step < found.size(); ++step) {
            if (step == 0)
                finder.find(text);
            else
                finder.findAgain(text);
            QCOMPARE(finder.found(), found.at(step));
            // A match selects its row; a miss leaves the selection.
            if (found.at(step) >= 0)
                selected = found.at(step);
            QCOMPARE(list.selectedRow(), selected);
        }
    }

    void findCommandRunsTheDialogOverTheList()
    {
        Library library;
        CFavoritesList& list = library.list();
        list.addRecord(record("one"));
        list.addRecord(record("two"));
        list.setCurrentRow(1);
        int startedAt = -2;
        library.prompts.findScript = [&](CFavoritesList& searched) {
            FavoriteFinder finder(searched);
            startedAt = finder.found();
            finder.find(QStringLiteral("one"));
            finder.open();
        };
        library.bar().onCommand(ID_FAVORITES_FIND);
        QCOMPARE(library.prompts.asked, QStringList {"findFavorite"});
        QCOMPARE(startedAt, 1);
        QCOMPARE(library.log.opened, QStringList {list.record(0)->path});
    }

    void findDialogSearchesTheDateAsShown_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("found");
        QTest::newRow("no leading zeros") << QDate(2006, 1, 1) << "1/1/2006" << 0;
        QTest::newRow("two digits") << QDate(2006, 11, 1) << "11/1/2006" << 1;
        QTest::newRow("no favourite") << QDate(2007, 3, 14) << "3/14/2007" << -1;
    }
    void findDialogSearchesTheDateAsShown()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QFETCH(int, found);
        Library library;
        CFavoritesList& list = library.list();
        list.addRecord(record("a", 1, QString(), "1/1/2006 09:00:00 AM"));
        list.addRecord(record("b", 2, QString(), "11/1/2006 09:00:00 AM"));
        CFindFavoriteDlg dialog(list);
        dialog.setMode(2);
        dialog.findChild<QDateEdit*>()->setDate(date);
        QCOMPARE(dialog.searchText(), text);
        const auto buttons = dialog.findChildren<QPushButton*>();
        auto findButton = std::find_if(buttons.begin(), buttons.end(),
                                       [](QPushButton* b) { return b->text() == QStringLiteral("Find"); });
        QVERIFY(findButton != buttons.end());
        (*findButton)->click();
        QCOMPARE(list.selectedRow(), found);
    }

    void chooserListsFoldersByTitle()
    {
        Library library(0, 0, {"AnyOne", "beta", "My.Pics", "Zeta"});
        FavoritesStore store(library.settings, library.root());
        store.open();
        FavoritesFolderChooser chooser(store, library.prompts, library.folder(QStringLiteral("BETA")));
        QCOMPARE(chooser.root(), library.root() + u'/');
        QCOMPARE(chooser.entries(), (QStringList {"AnyOne", "beta", "My", "Zeta"}));
        QCOMPARE(chooser.selection(), 1);
        QVERIFY(chooser.cancelEnabled());
        QVERIFY(chooser.accept());
        QCOMPARE(chooser.chosen(), QStringLiteral("beta"));
        QCOMPARE(chooser.path(), library.folder(QStringLiteral("beta")));
    }

    void okNeedsASelection()
    {
        Library library(0, 0, {"AnyOne"});
        FavoritesStore store(library.settings, library.root());
        store.open();
        FavoritesFolderChooser chooser(store, library.prompts, library.folder(QStringLiteral("gone")));
        QCOMPARE(chooser.selection(), -1);
        QVERIFY(!chooser.accept());
        QCOMPARE(library.prompts.messages, QStringList {"You must make a selection"});
    }

    void anyOneCannotBeDeleted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("as made") << "AnyOne";
        QTest::newRow("lower case") << "anyone";
        QTest::newRow("upper case") << "ANYONE";
    }
    void anyOneCannotBeDeleted()
    {
        QFETCH(QString, name);
        Library library(0, 0, {"AnyOne", name});
        FavoritesStore store(library.settings, library.root());
        store.open();
        FavoritesFolderChooser chooser(store, library.prompts, library.folder(name));
        const QStringList before = chooser.entries();
        chooser.select(int(before.indexOf(name)));
        chooser.deleteSelected();
        QCOMPARE(library.prompts.messages, QStringList {"You can not delete this folder"});
        QCOMPARE(chooser.entries(), before);
        QVERIFY(chooser.cancelEnabled());
        QVERIFY(QFileInfo(library.folder(name)).isDir());
    }

    void deletingAFolder_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<int>("deleted");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("selected");
        QTest::newRow("last") << QStringList {"AnyOne", "b", "c"} << 2 << QStringList {"AnyOne", "b"} << 1;
        QTest::newRow("middle") << QStringList {"AnyOne", "b", "c"} << 1 << QStringList {"AnyOne", "c"} << 0;
        QTest::newRow("first") << QStringList {"a", "AnyOne"} << 0 << QStringList {"AnyOne"} << 0;
    }
    void deletingAFolder()
    {
        QFETCH(QStringList, folders);
        QFETCH(int, deleted);
        QFETCH(QStringList, left);
        QFETCH(int, selected);
        Library library(0, 0, folders);
        const QString name = folders.at(deleted);
        writeFavorite(library.folder(name), QStringLiteral("kept"));
        FavoritesStore store(library.settings, library.root());
        store.open();
        FavoritesFolderChooser chooser(store, library.prompts, library.folder());
        chooser.select(deleted);
        chooser.deleteSelected();
        QCOMPARE(library.prompts.messages, QStringList());
        QCOMPARE(chooser.entries(), left);
        QCOMPARE(chooser.selection(), selected);
        QVERIFY(!chooser.cancelEnabled());
        QVERIFY(!QFileInfo::exists(library.folder(name)));
        // In the trash, not destroyed.
        const QString trash = home.filePath(QStringLiteral("data/Trash/files"));
        const QStringList trashed = QDir(trash).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QVERIFY2(std::any_of(trashed.begin(), trashed.end(), [&](const QString& entry) {
                     return entry.startsWith(name) && QFileInfo::exists(trash + u'/' + entry + QStringLiteral("/kept.jpg"));
                 }),
                 qPrintable(trashed.join(u',')));
    }

    void newFolder_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("message");
        QTest::newRow("made") << true << "Trips" << true << false;
        QTest::newRow("nested") << true << "Trips/Sea" << true << false;
        QTest::newRow("cancelled") << false << "Trips" << false << false;
        QTest::newRow("empty name") << true << "" << false << false;
        QTest::newRow("parent") << true << ".." << false << true;
        QTest::newRow("outside") << true << "../Outside" << false << true;
        QTest::newRow("inner parent") << true << "a/../../Outside" << false << true;
    }
    void newFolder()
    {
        QFETCH(bool, accept);
        QFETCH(QString, name);
        QFETCH(bool, ends);
        QFETCH(bool, message);
        Library library(0, 0, {"AnyOne"});
        FavoritesStore store(library.settings, library.root());
        store.open();
        FavoritesFolderChooser chooser(store, library.prompts, library.folder());
        library.prompts.newFolderAccept = accept;
        library.prompts.newFolderName = name;
        QCOMPARE(chooser.createNew(), ends);
        QCOMPARE(library.prompts.asked, QStringList {"newFolder"});
        QCOMPARE(library.prompts.messages.size(), message ? 1 : 0);
        QVERIFY(!QFileInfo::exists(library.dir.filePath(QStringLiteral("Outside"))));
        if (ends) {
            QVERIFY(QFileInfo(library.folder(name)).isDir());
            QCOMPARE(chooser.path(), library.folder(name));
        } else {
            QCOMPARE(QDir(library.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {"AnyOne"});
        }
    }

    void folderCommand_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("other folder") << "Trips" << QStringList {"rock", "sea"} << "Trips";
        QTest::newRow("title of a dotted folder") << "My" << QStringList() << "AnyOne";
        QTest::newRow("cancelled") << "" << QStringList {"home"} << "AnyOne";
    }
    void folderCommand()
    {
        QFETCH(QString, chosen);
        QFETCH(QStringList, listed);
        QFETCH(QString, stored);
        Library library(0, 0, {"AnyOne", "Trips", "My.Pics"});
        library.settings.writeString(section, QStringLiteral("Folder"), QStringLiteral("AnyOne"));
        writeFavorite(library.folder(), QStringLiteral("home"));
        writeFavorite(library.folder(QStringLiteral("Trips")), QStringLiteral("sea"));
        writeFavorite(library.folder(QStringLiteral("Trips")), QStringLiteral("rock"));
        writeFavorite(library.folder(QStringLiteral("My.Pics")), QStringLiteral("pic"));
        CFavoritesList& list = library.list();
        library.prompts.folderScript = [&](FavoritesFolderChooser& chooser) {
            if (chosen.isEmpty())
                return false;
            chooser.select(int(chooser.entries().indexOf(chosen)));
            return chooser.accept();
        };
        library.bar().onCommand(ID_FAVORITES_FOLDER);
        list.finishListing();
        QCOMPARE(library.prompts.asked, QStringList {"favoritesFolder"});
        QCOMPARE(namesOf(list), listed);
        QCOMPARE(list.folderPath(), library.folder(chosen.isEmpty() ? QStringLiteral("AnyOne") : chosen));
        QCOMPARE(library.settings.readString(section, QStringLiteral("Folder"), QString()), stored);
    }

    void deleteCommand_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("removed") << true;
        QTest::newRow("file gone") << false;
    }
    void deleteCommand()
    {
        QFETCH(bool, fileExists);
        Library library;
        CFavoritesList& list = library.list();
        const QString kept = writeFavorite(list.folderPath(), QStringLiteral("kept"));
        list.addFile(kept);
        FavoriteItem target = record("target");
        if (fileExists)
            target.path = writeFavorite(list.folderPath(), QStringLiteral("target"));
        list.addRecord(target);
        list.setCurrentRow(1);
        QCOMPARE(library.state(ID_FAVORITES_DELETE).enabled, true);
        QVERIFY(library.bar().onCommand(ID_FAVORITES_DELETE));
        QCOMPARE(library.prompts.asked, QStringList());
        if (fileExists) {
            QCOMPARE(namesOf(list), QStringList {"kept"});
            QVERIFY(!QFileInfo::exists(target.path));
            QCOMPARE(list.selectedRow(), -1);
            QVERIFY(!library.state(ID_FAVORITES_DELETE).enabled);
            QVERIFY(!library.state(ID_FAVORITES_OPEN).enabled);
        } else {
            QCOMPARE(namesOf(list), (QStringList {"kept", "target"}));
            QCOMPARE(list.selectedRow(), 1);
        }
        QVERIFY(QFileInfo::exists(kept));
    }

    void open_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("command") << 1 << false << QStringList {"/nowhere/y.jpg"};
        QTest::newRow("double-click") << 0 << true << QStringList {"/nowhere/x.jpg"};
        QTest::newRow("no selection") << -1 << false << QStringList();
    }
    void open()
    {
        QFETCH(int, selected);
        QFETCH(bool, doubleClick);
        QFETCH(QStringList, opened);
        Library library;
        CFavoritesList& list = library.list();
        list.addRecord(record("x"));
        list.addRecord(record("y"));
        library.bar().resize(300, 400);
        library.bar().show();
        QVERIFY(QTest::qWaitForWindowExposed(&library.bar()));
        if (doubleClick) {
            const QPoint at = list.visualItemRect(list.item(selected)).center();
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        } else {
            list.setCurrentRow(selected);
            QCOMPARE(library.state(ID_FAVORITES_OPEN).enabled, selected >= 0);
            QVERIFY(library.bar().onCommand(ID_FAVORITES_OPEN));
        }
        QCOMPARE(library.log.opened, opened);
    }

    void commandStatesInTheFrame_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("selection");
        QTest::newRow("hidden") << false << false;
        QTest::newRow("hidden, selected") << false << true;
        QTest::newRow("shown") << true << false;
        QTest::newRow("shown, selected") << true << true;
    }
    void commandStatesInTheFrame()
    {
        QFETCH(bool, shown);
        QFETCH(bool, selection);
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        SettingsStore settings(dir.filePath(QStringLiteral("Scopique.conf")));
        CMainFrame frame(settings, prompts);
        frame.resize(1000, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CFavoritesBar* bar = frame.favoritesBar();
        const QString path = writeFavorite(bar->list().folderPath(), QStringLiteral("frame"));
        QVERIFY(path.startsWith(FavoritesStore::defaultRoot()));
        frame.send(WM_APP_FAVORITE_ADDED, AppMessageSink::textArg(path), 0);
        QCOMPARE(bar->list().count(), 1);
        const auto* folder = reinterpret_cast<const QString*>(frame.send(WM_APP_GET_FAVORITES_FOLDER, 0, 0));
        QCOMPARE(*folder, bar->list().folderPath());
        bar->setVisible(shown);
        if (selection)
            bar->list().setCurrentRow(0);
        frame.updateCommandUI();
        QCOMPARE(frame.action(ID_FAVORITES_OPEN)->isEnabled(), selection);
        QCOMPARE(frame.action(ID_FAVORITES_DELETE)->isEnabled(), selection);
        for (int id : {ID_FAVORITES_SORT, ID_FAVORITES_FIND, ID_FAVORITES_FOLDER})
            QCOMPARE(frame.action(id)->isEnabled(), shown);
        // The frame hands the list its commands.
        QVERIFY(frame.dispatch(ID_FAVORITES_SORT));
        QCOMPARE(prompts.asked, QStringList {"sortOptions"});
        QVERIFY(QFile::remove(path));
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
