// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <ctime>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "TestImages.h"
#include "app/SettingsStore.h"
#include "favorites/FavoriteItem.h"
#include "favorites/FavoriteLoader.h"
#include "favorites/FavoritesStore.h"
#include "video/ImageTags.h"

namespace {

const QString Refused = QStringLiteral("You can not delete this folder");

// Left half red, right half blue: a thumbnail that keeps both halves in
// place was scaled, not cropped or garbled.
QImage halves(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, w / 2, h, Qt::red);
    return image;
}

bool touch(const QString& path, const QByteArray& bytes = "x")
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

FavoriteItem recordOf(const QString& name, qint64 created, const QString& description)
{
    FavoriteItem item;
    item.name = name;
    item.created = created;
    item.description = description;
    return item;
}

} // namespace

class TestFavStore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<SettingsStore> settings;

    QString root() const { return work->filePath(QStringLiteral("Favorites")); }
    QString dataHome() const { return home.filePath(QStringLiteral("data")); }
    FavoritesStore openedStore()
    {
        FavoritesStore store(*settings, root());
        store.open();
        return store;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        // The trash of this run, not the user's: it lives under HOME's data
        // folder, which does not exist yet.
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
        qputenv("TZ", "UTC");
        tzset();
    }

    void init()
    {
        work = std::make_unique<QTemporaryDir>();
        QVERIFY(work->isValid());
        settings = std::make_unique<SettingsStore>(work->filePath(QStringLiteral("settings.ini")));
    }

    void emptyRootGetsAnyOne()
    {
        FavoritesStore store = openedStore();
        QVERIFY(QFileInfo(root() + QStringLiteral("/AnyOne")).isDir());
        QCOMPARE(store.currentFolderName(), QStringLiteral("AnyOne"));
        QCOMPARE(store.currentFolderPath(), root() + QStringLiteral("/AnyOne"));
        QCOMPARE(store.folders(), QStringList { QStringLiteral("AnyOne") });
        QVERIFY(store.favoriteFiles().isEmpty());
    }

    void storedFolder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("current");
        QTest::newRow("present") << "Trips"
                                 << "Trips"
                                 << "Trips";
        QTest::newRow("nested") << "Trips/2024"
                                << "Trips/2024"
                                << "Trips/2024";
        QTest::newRow("deleted outside") << "Gone"
                                         << ""
                                         << "AnyOne";
        QTest::newRow("another folder's name") << "Gone"
                                               << "Gone2"
                                               << "AnyOne";
        QTest::newRow("outside the root") << "../Outside"
                                          << "../Outside"
                                          << "AnyOne";
        QTest::newRow("empty") << ""
                               << ""
                               << "AnyOne";
    }

    void storedFolder()
    {
        QFETCH(QString, stored);
        QFETCH(QString, made);
        QFETCH(QString, current);
        if (!made.isEmpty())
            QVERIFY(QDir().mkpath(root() + u'/' + made));
        settings->writeString(QStringLiteral("Favorites"), QStringLiteral("Folder"), stored);
        FavoritesStore store = openedStore();
        QCOMPARE(store.currentFolderName(), current);
        QCOMPARE(store.currentFolderPath(), root() + u'/' + current);
        QCOMPARE(settings->readString(QStringLiteral("Favorites"), QStringLiteral("Folder"), QString()), current);
    }

    void sortSettings_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("direction");
        QTest::newRow("date descending") << 1 << 1;
        QTest::newRow("description ascending") << 2 << 0;
    }

    void sortSettings()
    {
        QFETCH(int, field);
        QFETCH(int, direction);
        {
            FavoritesStore store = openedStore();
            QCOMPARE(store.sortField(), 0);
            QCOMPARE(store.sortDirection(), 0);
            store.setSort(field, direction);
        }
        QCOMPARE(settings->readInt(QStringLiteral("Favorites"), QStringLiteral("SortField"), -1), field);
        QCOMPARE(settings->readInt(QStringLiteral("Favorites"), QStringLiteral("SortDirection"), -1), direction);
        FavoritesStore reopened = openedStore();
        QCOMPARE(reopened.sortField(), field);
        QCOMPARE(reopened.sortDirection(), direction);
    }

    void listing()
    {
        FavoritesStore store = openedStore();
        const QString folder = store.currentFolderPath();
        const QImage picture = halves(32, 24);
        for (const char* name : { "a.b.jpg", ".jpg", "plain.jpg", "other.png", "notes.txt", "old.jpg.bak" })
            QVERIFY(!TestImages::write(folder, QString::fromLatin1(name), picture, "jpeg").isEmpty());
        QVERIFY(QDir(folder).mkpath(QStringLiteral("sub")));
        QVERIFY(QDir(folder).mkpath(QStringLiteral("folder.jpg")));
        QVERIFY(!TestImages::write(folder + QStringLiteral("/sub"), QStringLiteral("deep.jpg"), picture).isEmpty());

        QStringList names;
        for (const QString& path : store.favoriteFiles()) {
            QCOMPARE(QFileInfo(path).absolutePath(), folder);
            const std::optional<FavoriteItem> item = FavoriteItem::load(path);
            QVERIFY(item);
            QCOMPARE(item->path, path);
            names.append(item->name);
        }
        names.sort();
        QCOMPARE(names, (QStringList { QString(), QStringLiteral("a.b"), QStringLiteral("plain") }));
    }

    void record_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("thumbnail");
        const QImage picture = halves(64, 48);
        const QString text = QStringLiteral("Onion cells, 40x");
        QTest::newRow("tagged") << TestImages::encode(picture, "jpeg", { std::nullopt, std::nullopt, text }) << text
                                << true;
        QTest::newRow("untagged") << TestImages::encode(picture, "jpeg") << QString() << true;
        QTest::newRow("no picture") << QByteArray("not a picture at all") << QString() << false;
        QTest::newRow("empty file") << QByteArray() << QString() << false;
        QTest::newRow("png content") << TestImages::encode(picture, "png") << QString() << true;
    }

    void record()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, description);
        QFETCH(bool, thumbnail);
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        const QString path = TestImages::writeBytes(work->path(), QStringLiteral("Cells 1.jpg"), bytes);
        QVERIFY(!path.isEmpty());
        const qint64 after = QDateTime::currentSecsSinceEpoch();
        const std::optional<FavoriteItem> item = FavoriteItem::load(path);
        QVERIFY(item);
        QCOMPARE(item->name, QStringLiteral("Cells 1"));
        QCOMPARE(item->path, path);
        QCOMPARE(item->description, description);
        QVERIFY2(item->created >= before && item->created <= after, qPrintable(QString::number(item->created)));
        QCOMPARE(item->dateText, FavoriteItem::formatDate(item->created));
        QCOMPARE(!item->thumbnail.isNull(), thumbnail);
        QVERIFY(item->key.isEmpty());
    }

    void missingFile()
    {
        const std::optional<FavoriteItem> item = FavoriteItem::load(work->filePath(QStringLiteral("gone.jpg")));
        QVERIFY(item);
        QCOMPARE(item->name, QStringLiteral("gone"));
        QCOMPARE(item->created, qint64(0));
        QCOMPARE(item->dateText, QStringLiteral("1/1/1970 12:00:00 AM"));
        QVERIFY(item->thumbnail.isNull());
    }

    void thumbnail_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("wide") << QSize(800, 100) << QByteArray("jpeg");
        QTest::newRow("tall") << QSize(90, 700) << QByteArray("jpeg");
        QTest::newRow("larger than 8x") << QSize(1600, 1200) << QByteArray("jpeg");
        QTest::newRow("odd 4:3") << QSize(1299, 975) << QByteArray("jpeg");
        QTest::newRow("smaller") << QSize(40, 30) << QByteArray("jpeg");
        QTest::newRow("png content") << QSize(300, 300) << QByteArray("png");
    }

    void thumbnail()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, format);
        const QString path = TestImages::write(
            work->path(), QStringLiteral("t.jpg"), halves(size.width(), size.height()), format.constData());
        QVERIFY(!path.isEmpty());
        const QImage thumb = FavoriteItem::load(path)->thumbnail;
        QCOMPARE(thumb.size(), QSize(160, 120));
        QCOMPARE(thumb.format(), QImage::Format_RGB32);
        for (const QPoint at : { QPoint(20, 10), QPoint(40, 110) }) {
            const QColor left = thumb.pixelColor(at);
            const QColor right = thumb.pixelColor(159 - at.x(), at.y());
            QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
            QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
        }
    }

    void dateText_data()
    {
        QTest::addColumn<qint64>("time");
        QTest::addColumn<QString>("text");
        QTest::newRow("morning") << qint64(1142327107) << "3/14/2006 09:05:07 AM";
        QTest::newRow("afternoon") << qint64(1142341259) << "3/14/2006 01:00:59 PM";
        QTest::newRow("after midnight") << qint64(1636072200) << "11/5/2021 12:30:00 AM";
        QTest::newRow("noon") << qint64(1640952000) << "12/31/2021 12:00:00 PM";
        QTest::newRow("last second") << qint64(931132799) << "7/4/1999 11:59:59 PM";
    }

    void dateText()
    {
        QFETCH(qint64, time);
        QFETCH(QString, text);
        QCOMPARE(FavoriteItem::formatDate(time), text);
    }

    void compare_data()
    {
        QTest::addColumn<QString>("nameA");
        QTest::addColumn<qint64>("createdA");
        QTest::addColumn<QString>("descriptionA");
        QTest::addColumn<QString>("nameB");
        QTest::addColumn<qint64>("createdB");
        QTest::addColumn<QString>("descriptionB");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("order");
        QTest::newRow("name: B before a") << "B" << qint64(0) << ""
                                          << "a" << qint64(0) << "" << 0 << 0 << -1;
        QTest::newRow("name: B before a, descending") << "B" << qint64(0) << ""
                                                      << "a" << qint64(0) << "" << 0 << 1 << 1;
        QTest::newRow("name: prefix first") << "cell" << qint64(0) << ""
                                            << "cells" << qint64(0) << "" << 0 << 0 << -1;
        QTest::newRow("name: equal") << "x" << qint64(5) << "a"
                                     << "x" << qint64(9) << "b" << 0 << 0 << 0;
        QTest::newRow("name: bytes, not letters") << "z" << qint64(0) << ""
                                                  << "\u00e9" << qint64(0) << "" << 0 << 0 << -1;
        QTest::newRow("date: earlier first") << "b" << qint64(100) << ""
                                             << "a" << qint64(200) << "" << 1 << 0 << -1;
        QTest::newRow("date: later first, descending") << "b" << qint64(100) << ""
                                                       << "a" << qint64(200) << "" << 1 << 1 << 1;
        QTest::newRow("date: beyond 32 bits") << "" << qint64(5000000000) << ""
                                              << "" << qint64(1) << "" << 1 << 0 << 1;
        QTest::newRow("date: same second") << "a" << qint64(300) << "x"
                                           << "b" << qint64(300) << "y" << 1 << 0 << 0;
        QTest::newRow("date: same second, descending") << "a" << qint64(300) << ""
                                                       << "b" << qint64(300) << "" << 1 << 1 << 0;
        QTest::newRow("description") << "a" << qint64(0) << "Zebra"
                                     << "b" << qint64(0) << "apple" << 2 << 0 << -1;
        QTest::newRow("description, descending") << "a" << qint64(0) << "Zebra"
                                                 << "b" << qint64(0) << "apple" << 2 << 1 << 1;
        QTest::newRow("description: empty first") << "z" << qint64(0) << ""
                                                  << "a" << qint64(0) << "x" << 2 << 0 << -1;
        QTest::newRow("unknown field") << "a" << qint64(1) << "a"
                                       << "b" << qint64(2) << "b" << 3 << 0 << 0;
        QTest::newRow("negative field") << "a" << qint64(1) << "a"
                                        << "b" << qint64(2) << "b" << -1 << 1 << 0;
    }

    void compare()
    {
        QFETCH(QString, nameA);
        QFETCH(qint64, createdA);
        QFETCH(QString, descriptionA);
        QFETCH(QString, nameB);
        QFETCH(qint64, createdB);
        QFETCH(QString, descriptionB);
        QFETCH(int, field);
        QFETCH(int, direction);
        QFETCH(int, order);
        const FavoriteItem a = recordOf(nameA, createdA, descriptionA);
        const FavoriteItem b = recordOf(nameB, createdB, descriptionB);
        const auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
        QCOMPARE(sign(FavoriteItem::compare(a, b, field, direction)), order);
        QCOMPARE(sign(FavoriteItem::compare(b, a, field, direction)), -order);
    }

    void createFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("made");
        QTest::newRow("plain") << "Trips" << true << "Trips";
        QTest::newRow("nested") << "Trips/2024/May" << true << "Trips/2024/May";
        QTest::newRow("backslash nests") << "Lab\\Week 1" << true << "Lab/Week 1";
        QTest::newRow("existing") << "AnyOne" << true << "AnyOne";
        QTest::newRow("empty") << "" << false << "";
        QTest::newRow("dot dot") << ".." << false << "";
        QTest::newRow("climbing out") << "../Escaped" << false << "";
        QTest::newRow("climbing out nested") << "a/../../Escaped" << false << "";
        QTest::newRow("empty component") << "a//b" << false << "";
        QTest::newRow("absolute") << "/Escaped" << false << "";
        QTest::newRow("control character") << "a\tb" << false << "";
    }

    void createFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(QString, made);
        FavoritesStore store = openedStore();
        const QString message = store.createFolder(name);
        QCOMPARE(message.isEmpty(), accepted);
        if (accepted)
            QVERIFY(QFileInfo(root() + u'/' + made).isDir());
        // Nothing is ever made beside the root.
        QCOMPARE(QDir(work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList { "Favorites" });
        if (!accepted)
            QCOMPARE(QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList { "AnyOne" });
    }

    void anyOneStays_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("AnyOne") << "AnyOne";
        QTest::newRow("anyone") << "anyone";
        QTest::newRow("ANYONE") << "ANYONE";
    }

    void anyOneStays()
    {
        QFETCH(QString, name);
        FavoritesStore store = openedStore();
        QVERIFY(touch(root() + QStringLiteral("/AnyOne/kept.jpg")));
        QCOMPARE(store.deleteFolder(name), Refused);
        QVERIFY(QFileInfo::exists(root() + QStringLiteral("/AnyOne/kept.jpg")));
    }

    void deleteToTrash()
    {
        FavoritesStore store = openedStore();
        QCOMPARE(store.createFolder(QStringLiteral("Old/Inner")), QString());
        QVERIFY(touch(root() + QStringLiteral("/Old/Inner/cell.jpg"), "cells"));
        QVERIFY(!QFileInfo::exists(dataHome()));
        const QString cwd = QDir::currentPath();
        const QStringList cwdBefore = QDir(cwd).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        QCOMPARE(store.deleteFolder(QStringLiteral("Old")), QString());
        QVERIFY(!QFileInfo::exists(root() + QStringLiteral("/Old")));
        QFile trashed(dataHome() + QStringLiteral("/Trash/files/Old/Inner/cell.jpg"));
        QVERIFY(trashed.open(QIODevice::ReadOnly));
        QCOMPARE(trashed.readAll(), QByteArray("cells"));
        QCOMPARE(QDir(cwd).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), cwdBefore);
        QCOMPARE(store.folders(), QStringList { "AnyOne" });
    }

    void deleteRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty: the root") << "";
        QTest::newRow("dot: the root") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("climbing out") << "../Outside";
        QTest::newRow("nested") << "Trips/2024";
        QTest::newRow("missing") << "Nowhere";
        QTest::newRow("a file") << "file.jpg";
        QTest::newRow("a link") << "Link";
    }

    void deleteRefused()
    {
        QFETCH(QString, name);
        FavoritesStore store = openedStore();
        const QString outside = work->filePath(QStringLiteral("Outside"));
        QVERIFY(QDir().mkpath(outside));
        QVERIFY(touch(outside + QStringLiteral("/precious.jpg")));
        QVERIFY(QFile::link(outside, root() + QStringLiteral("/Link")));
        QCOMPARE(store.createFolder(QStringLiteral("Trips/2024")), QString());
        QVERIFY(touch(root() + QStringLiteral("/file.jpg")));
        const QStringList before = QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

        QVERIFY(!store.deleteFolder(name).isEmpty());
        QCOMPARE(QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
        QVERIFY(QFileInfo::exists(outside + QStringLiteral("/precious.jpg")));
        QVERIFY(QFileInfo::exists(root() + QStringLiteral("/Trips/2024")));
        QVERIFY(QFileInfo(root() + QStringLiteral("/Link")).isSymLink());
    }

    void switchFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("switched");
        QTest::newRow("existing") << "Trips" << true;
        QTest::newRow("nested") << "Trips/2024" << true;
        QTest::newRow("missing") << "Nowhere" << false;
        QTest::newRow("outside") << "../Outside" << false;
    }

    void switchFolder()
    {
        QFETCH(QString, name);
        QFETCH(bool, switched);
        FavoritesStore store = openedStore();
        QVERIFY(QDir().mkpath(work->filePath(QStringLiteral("Outside"))));
        QCOMPARE(store.createFolder(QStringLiteral("Trips/2024")), QString());
        QCOMPARE(store.switchFolder(name), switched);
        const QString current = switched ? name : QStringLiteral("AnyOne");
        QCOMPARE(store.currentFolderName(), current);
        QCOMPARE(store.currentFolderPath(), root() + u'/' + current);
        if (switched)
            QCOMPARE(settings->readString(QStringLiteral("Favorites"), QStringLiteral("Folder"), QString()), name);
    }

    void deleteFavorite()
    {
        const QString path = work->filePath(QStringLiteral("gone.jpg"));
        QVERIFY(touch(path));
        QVERIFY(FavoritesStore::deleteFavorite(path));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!FavoritesStore::deleteFavorite(path));
    }

    void loaderDelivers_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("many") << 12;
    }

    void loaderDelivers()
    {
        QFETCH(int, count);
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths.append(TestImages::write(work->path(), QStringLiteral("f%1.jpg").arg(i), halves(200, 150)));
        FavoriteLoader loader;
        QList<FavoriteItem> items;
        bool onCaller = true;
        connect(&loader, &FavoriteLoader::loaded, this, [&](const FavoriteItem& item) {
            onCaller = onCaller && QThread::currentThread() == thread();
            items.append(item);
        });
        QSignalSpy finished(&loader, &FavoriteLoader::finished);
        loader.load(paths);
        QVERIFY(finished.wait());
        QVERIFY(onCaller);
        QCOMPARE(finished.count(), 1);
        QSet<QString> seen;
        for (const FavoriteItem& item : items) {
            QCOMPARE(item.thumbnail.size(), QSize(160, 120));
            seen.insert(item.path);
        }
        QCOMPARE(items.size(), count);
        QCOMPARE(seen, QSet<QString>(paths.begin(), paths.end()));
        QVERIFY(!loader.isBusy());
    }

    void loaderCancels_data()
    {
        QTest::addColumn<bool>("startAnother");
        QTest::newRow("cancelled") << false;
        QTest::newRow("another folder") << true;
    }

    void loaderCancels()
    {
        QFETCH(bool, startAnother);
        QStringList first, second;
        for (int i = 0; i < 16; ++i)
            first.append(TestImages::write(work->path(), QStringLiteral("a%1.jpg").arg(i), halves(400, 300)));
        for (int i = 0; i < 3; ++i)
            second.append(TestImages::write(work->path(), QStringLiteral("b%1.jpg").arg(i), halves(40, 30)));
        FavoriteLoader loader;
        QStringList delivered;
        connect(&loader, &FavoriteLoader::loaded, this, [&](const FavoriteItem& item) { delivered.append(item.path); });
        QSignalSpy finished(&loader, &FavoriteLoader::finished);
        loader.load(first);
        // The workers may already have made records: they must not arrive.
        QThread::yieldCurrentThread();
        if (startAnother) {
            loader.load(second);
            QVERIFY(finished.wait());
            QCOMPARE(finished.count(), 1);
            delivered.sort();
            QCOMPARE(delivered, second);
        } else {
            loader.cancel();
            loader.waitForWorkers();
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents();
            QVERIFY(delivered.isEmpty());
            QCOMPARE(finished.count(), 0);
        }
        // Records of the first listing still queued are dropped too.
        loader.waitForWorkers();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(finished.count(), startAnother ? 1 : 0);
        for (const QString& path : delivered)
            QVERIFY(second.contains(path));
    }
};

QTEST_GUILESS_MAIN(TestFavStore)
#include "tst_favstore.moc"
