// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "DataRows.h"
#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/favorites/FavoritesStore.h"
#include "ui/favorites/CFavoritesBar.h"
#include "ui/favorites/CFindFavoriteDlg.h"

// The list sorted by a field and direction, then a Find and Find Agains and the row each selects.
struct SortRow {
    int field = 0, direction = 0;
    QStringList order {};
    int mode = 0;
    QString text {};
    QList<int> selected {};
};
Q_DECLARE_METATYPE(SortRow)

// A step in the folder dialog and what follows it.
struct ChooserRow {
    QString current {}, step {}, chosen {}, told {};
    QStringList left {};
    int selected = 0;
};
Q_DECLARE_METATYPE(ChooserRow)

namespace {

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

// The shown main window over the default library, emptied and given these
// favourites ("folder/name") before the window lists it.
struct Frame : ShownFrame {
    explicit Frame(const QString& ini, const QStringList& favorites = {})
        : ShownFrame(prepared(ini, favorites))
    {
        list.finishListing();
    }
    static QString prepared(const QString& ini, const QStringList& favorites)
    {
        QDir(FavoritesStore::defaultRoot()).removeRecursively();
        for (const QString& favorite : favorites) {
            QDir().mkpath(QFileInfo(FavoritesStore::defaultRoot() + favorite).path());
            TestImages::write(FavoritesStore::defaultRoot(), favorite + ".jpg", TestImages::pattern(64, 48), "JPEG");
        }
        return ini;
    }
    const QString root = FavoritesStore::defaultRoot();
    CFavoritesList& list = frame.favoritesBar()->list();
};

} // namespace

class TestFavorites : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    QString ini() const { return home.filePath("Scopique.conf"); }

private slots:
    void initTestCase()
    {
        // Nothing of the user's own: the trash and the data folder live here.
        QVERIFY(home.isValid());
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    }
    void init() { QFile::remove(ini()); }

    void sortAndFind_data()
    {
        // Records a 200 "zoo" 1/1/2006, B 400 "Ant" 11/1/2006, C 100 "Bee" 3/7/2024
        // and b 200 "AA", added in that order; equal dates keep that order.
        QTest::addColumn<SortRow>("row");
        // A miss leaves the selection; the next Find Again starts over.
        QTest::newRow("name; empty walks all") << SortRow { 0, 0, { "B", "C", "a", "b" }, 0, "", { 0, 1, 2, 3, 3, 0 } };
        QTest::newRow("name descending; case") << SortRow { 0, 1, { "b", "a", "C", "B" }, 0, "b", { 0, 0, 0 } };
        QTest::newRow("date; 1/1 in 11/1") << SortRow { 1, 0, { "C", "a", "b", "B" }, 2, "1/1/2006", { 1, 3, 3, 1 } };
        QTest::newRow("date descending; 3/7") << SortRow { 1, 1, { "B", "a", "b", "C" }, 2, "3/7/2024", { 3 } };
        QTest::newRow("description, bytes") << SortRow { 2, 0, { "b", "B", "C", "a" } };
        QTest::newRow("description descending") << SortRow { 2, 1, { "a", "C", "B", "b" } };
    }
    void sortAndFind()
    {
        QFETCH(SortRow, row);
        if (row.field || row.direction) {
            SettingsStore stored(ini());
            stored.writeInt("Favorites", "SortField", row.field);
            stored.writeInt("Favorites", "SortDirection", row.direction);
        }
        Frame shown(ini());
        for (const FavoriteItem& item :
            { record("a", 200, "zoo", "1/1/2006 09:00:00 AM"), record("B", 400, "Ant", "11/1/2006 10:00:00 AM"),
                record("C", 100, "Bee", "3/7/2024 08:00:00 AM"), record("b", 200, "AA") })
            shown.list.addRecord(item);
        QCOMPARE(namesOf(shown.list), row.order);
        // Find, then Find Again, in the Find Favorite dialog.
        shown.prompts.findScript = [&](CFavoritesList& list) {
            CFindFavoriteDlg dialog(list);
            dialog.show();
            QTest::mouseClick(dialog.findChildren<QRadioButton*>().at(row.mode), Qt::LeftButton);
            dialog.findChild<QLineEdit*>()->setText(row.text);
            dialog.findChild<QDateEdit*>()->setDate(QDate::fromString(row.text, "M/d/yyyy"));
            for (int step = 0; step < row.selected.size(); ++step) {
                QTest::mouseClick(dialog.findChildren<QPushButton*>().at(step ? 1 : 0), Qt::LeftButton);
                QCOMPARE(list.selectedRow(), row.selected.at(step));
            }
        };
        QVERIFY(shown.frame.dispatch(ID_FAVORITES_FIND));
        // Sort Options: by name, descending, kept in the settings.
        shown.prompts.sortAccept = true;
        shown.prompts.sortFieldAnswer = 0;
        shown.prompts.sortDirectionAnswer = 1;
        QVERIFY(shown.frame.dispatch(ID_FAVORITES_SORT));
        QCOMPARE(namesOf(shown.list), (QStringList { "b", "a", "C", "B" }));
        QCOMPARE(shown.prompts.asked, (QStringList { "findFavorite", "sortOptions" }));
        QCOMPARE(shown.settings.readInt("Favorites", "SortField", -1), 0);
        QCOMPARE(shown.settings.readInt("Favorites", "SortDirection", -1), 1);
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
        QTest::newRow("OK without a selection") << ChooserRow { "gone", "OK", {}, "You must make a selection" };
        QTest::newRow("New, backslash nests") << ChooserRow { "AnyOne", "New Lab\\Week 1", "Lab/Week 1" };
        QTest::newRow("New, empty name") << ChooserRow { "AnyOne", "New " };
        QTest::newRow("last") << ChooserRow { "AnyOne", "Delete 4", {}, {}, { "a", "AnyOne", "anyone", "beta" }, 3 };
        QTest::newRow("mid") << ChooserRow { "AnyOne", "Delete 3", {}, {}, { "a", "AnyOne", "anyone", "My.Pics" }, 2 };
        QTest::newRow("top") << ChooserRow { "beta", "Delete 0", {}, {}, { "AnyOne", "anyone", "beta", "My.Pics" }, 0 };
        // AnyOne in any case.
        QTest::newRow("anyone") << ChooserRow { "AnyOne", "Delete 2", {}, "You can not delete this folder", {}, 2 };
    }
    void folderChooser()
    {
        QFETCH(ChooserRow, row);
        // A library outside the data folder, which does not exist yet: the
        // trash is made where it belongs.
        QDir(home.filePath("data")).removeRecursively();
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath("Scopique.conf"));
        ScriptedPrompts prompts;
        FavoritesStore store(settings, dir.filePath("Favorites"));
        store.open();
        for (const char* folder : { "a", "anyone", "beta/inner", "My.Pics" })
            QDir().mkpath(store.folderPath(folder));
        FavoritesFolderChooser chooser(store, prompts, store.folderPath(row.current));
        // The root's own folders by full name, in alphabetical order whatever
        // the case.
        const QStringList all { "a", "AnyOne", "anyone", "beta", "My.Pics" };
        const QString argument = row.step.section(u' ', 1), name = all.value(argument.toInt());
        if (row.step.startsWith("Delete")) {
            chooser.select(argument.toInt());
            chooser.deleteSelected();
            QCOMPARE(chooser.selection(), row.selected);
            QCOMPARE(chooser.cancelEnabled(), !row.told.isEmpty());
            QCOMPARE(QFileInfo::exists(store.folderPath(name)), !row.told.isEmpty());
            QCOMPARE(QFileInfo::exists(home.filePath("data/Trash/files/" + name)), row.told.isEmpty());
        } else {
            prompts.newFolderAccept = true;
            prompts.newFolderName = argument;
            QCOMPARE(row.step == "OK" ? chooser.accept() : chooser.createNew(), !row.chosen.isEmpty());
            QCOMPARE(chooser.path(), store.root() + u'/' + row.chosen);
            QVERIFY(QFileInfo(chooser.path()).isDir());
        }
        QCOMPARE(chooser.entries(), row.left.isEmpty() ? all : row.left);
        QCOMPARE(prompts.messages.size(), row.told.isEmpty() ? 0 : 1);
        QVERIFY(prompts.messages.value(0).contains(row.told));
        // Nothing is made outside the root.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList { "Favorites" });
    }

    void folderCommand_data()
    {
        // The Folder dialogs in turn, each "OK name", "New name" or "Cancel";
        // then the current folder, where Add to Favorites writes "cell".
        columns<QStringList, QString, QStringList>("dialogs", "current", "listed");
        QTest::newRow("cancelled") << QStringList { "Cancel" } << "AnyOne" << QStringList { "cell", "home" };
        QTest::newRow("dotted folder") << QStringList { "OK My.Pics" } << "My.Pics" << QStringList { "cell", "slide" };
        QTest::newRow("new nested folder") << QStringList { "New x/y" } << "x/y" << QStringList { "cell" };
        QTest::newRow("new nested, then AnyOne")
            << QStringList { "New x/y", "OK AnyOne" } << "AnyOne" << QStringList { "cell", "home" };
    }
    void folderCommand()
    {
        const auto [steps, current, listed] = fetch<QStringList, QString, QStringList>("dialogs", "current", "listed");
        QStringList dialogs = steps;
        // The bar shown at start, as the last session left it.
        SettingsStore(ini()).writeInt("Windows", "FavoritesShow", 1);
        Frame shown(ini(), { "AnyOne/home", "My.Pics/slide" });
        ScriptedPrompts& prompts = shown.prompts;
        QStringList roots;
        prompts.folderScript = [&](FavoritesFolderChooser& chooser) {
            roots << chooser.root();
            const QString step = dialogs.takeFirst(), name = step.section(u' ', 1);
            prompts.newFolderAccept = true;
            prompts.newFolderName = name;
            if (step.startsWith(QLatin1String("New")))
                return chooser.createNew();
            chooser.select(int(chooser.entries().indexOf(name)));
            return step.startsWith(QLatin1String("OK")) && chooser.accept();
        };
        for (qsizetype i = 0; i < steps.size(); ++i)
            shown.action(ID_FAVORITES_FOLDER)->trigger();
        shown.list.finishListing();
        prompts.addFavoriteAccept = true;
        prompts.addFavoriteName = QStringLiteral("cell");
        shown.action(ID_FAVORITES_ADD)->trigger();

        // Every dialog lists the library's own folders.
        QCOMPARE(roots, QStringList(steps.size(), shown.root));
        QCOMPARE(prompts.messages, QStringList());
        QCOMPARE(prompts.addFavoriteFolderSeen, shown.root + current);
        const QString cell = shown.root + current + QStringLiteral("/cell.jpg");
        QCOMPARE(namesOf(shown.list), listed);
        QCOMPARE(shown.settings.readString("Favorites", "Folder", "AnyOne"), current);

        // A double-click opens "cell"; Open and Delete follow the selection,
        // Sort, Find and Folder the bar.
        const QRect item = shown.list.visualItemRect(shown.list.item(0));
        shown.mouseOnWindow(QTest::MouseClick, shown.list.viewport()->mapTo(&shown.frame, item.center()));
        shown.mouseOnWindow(QTest::MouseDClick, shown.list.viewport()->mapTo(&shown.frame, item.center()));
        QVERIFY(shown.frame.windowTitle().endsWith("cell.jpg"));
        shown.action(ID_FAVORITES_DELETE)->trigger();
        QVERIFY(!QFileInfo::exists(cell));
        QCOMPARE(namesOf(shown.list), listed.mid(1));
        QVERIFY(!shown.action(ID_FAVORITES_OPEN)->isEnabled() && !shown.action(ID_FAVORITES_DELETE)->isEnabled());
        shown.action(ID_VIEW_FAVORITES)->trigger();
        for (int id : { ID_FAVORITES_SORT, ID_FAVORITES_FIND, ID_FAVORITES_FOLDER })
            QVERIFY(!shown.action(id)->isEnabled());
        QVERIFY(shown.frame.close());
        QCOMPARE(shown.settings.readInt("Windows", "FavoritesShow", -1), 0);
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
