// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <ctime>

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
#include "core/base/SettingsStore.h"
#include "core/favorites/FavoriteItem.h"
#include "core/favorites/FavoriteLoader.h"
#include "core/favorites/FavoritesStore.h"

namespace {

const QString Section = QStringLiteral("Favorites");

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

} // namespace

class TestFavStore : public QObject {
    Q_OBJECT

private:
    QTemporaryDir home;
    std::unique_ptr<QTemporaryDir> work;
    std::unique_ptr<SettingsStore> settings;

    QString root() const { return work->filePath(QStringLiteral("Favorites")); }
    QString dataHome() const { return home.filePath(QStringLiteral("data")); }
    QString folderSetting() const { return settings->readString(Section, QStringLiteral("Folder"), QString()); }
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
        // The trash of this run, not the user's: it lives under a data
        // folder that does not exist yet.
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

    void storedFolder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("current");
        QTest::newRow("empty") << QString() << false << "AnyOne";
        QTest::newRow("present, nested") << QStringLiteral("Trips/2024") << true << "Trips/2024";
        QTest::newRow("deleted") << QStringLiteral("Gone") << false << "AnyOne";
        QTest::newRow("outside the root") << QStringLiteral("../Outside") << true << "AnyOne";
    }
    void storedFolder()
    {
        QFETCH(QString, stored);
        QFETCH(bool, exists);
        QFETCH(QString, current);
        if (exists)
            QVERIFY(QDir().mkpath(root() + u'/' + stored));
        settings->writeString(Section, QStringLiteral("Folder"), stored);
        FavoritesStore store = openedStore();
        QVERIFY(QFileInfo(root() + QStringLiteral("/AnyOne")).isDir());
        QCOMPARE(store.currentFolderPath(), root() + u'/' + current);
        QCOMPARE(folderSetting(), current);
    }

    void listing()
    {
        FavoritesStore store = openedStore();
        const QString folder = store.currentFolderPath();
        for (const char* name : { "a.b.jpg", ".jpg", "other.png", "old.jpg.bak" })
            QVERIFY(!TestImages::write(folder, QString::fromLatin1(name), halves(32, 24), "jpeg").isEmpty());
        QVERIFY(QDir(folder).mkpath(QStringLiteral("folder.jpg")));
        QStringList names;
        for (const QString& path : store.favoriteFiles())
            names << FavoriteItem::load(path)->name;
        names.sort();
        QCOMPARE(names, (QStringList { QString(), QStringLiteral("a.b") }));
    }

    void record_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QSize>("thumbnail");
        ImageTags tags;
        tags.description = QStringLiteral("Onion cells, 40x");
        QTest::newRow("tagged, wide") << TestImages::encode(halves(800, 100), "jpeg", tags) << *tags.description
                                      << QSize(160, 120);
        QTest::newRow("tall") << TestImages::encode(halves(90, 700), "jpeg") << QString() << QSize(160, 120);
        QTest::newRow("no picture") << QByteArray("not a picture at all") << QString() << QSize(0, 0);
    }
    void record()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, description);
        QFETCH(QSize, thumbnail);
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        const QString path = TestImages::writeBytes(work->path(), QStringLiteral("Cells 1.jpg"), bytes);
        const std::optional<FavoriteItem> item = FavoriteItem::load(path);
        QVERIFY(item);
        QCOMPARE(item->name, QStringLiteral("Cells 1"));
        QCOMPARE(item->description, description);
        QVERIFY(item->created >= before && item->created <= QDateTime::currentSecsSinceEpoch());
        QCOMPARE(item->dateText, FavoriteItem::formatDate(item->created));
        // Scaled whatever the aspect, both halves in place.
        QCOMPARE(item->thumbnail.size(), thumbnail);
        if (item->thumbnail.isNull())
            return;
        for (const QPoint at : { QPoint(20, 10), QPoint(40, 110) }) {
            const QColor left = item->thumbnail.pixelColor(at);
            const QColor right = item->thumbnail.pixelColor(159 - at.x(), at.y());
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
    }
    void dateText()
    {
        QFETCH(qint64, time);
        QFETCH(QString, text);
        QCOMPARE(FavoriteItem::formatDate(time), text);
    }

    void compare_data()
    {
        // Between a {"B", 200, "apple"} and b {"a", createdB, "Zebra"}.
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("direction");
        QTest::addColumn<qint64>("createdB");
        QTest::addColumn<int>("order");
        QTest::newRow("name: B before a") << 0 << 0 << qint64(100) << -1;
        QTest::newRow("name, descending") << 0 << 1 << qint64(100) << 1;
        QTest::newRow("date: earlier first") << 1 << 0 << qint64(100) << 1;
        QTest::newRow("date, descending") << 1 << 1 << qint64(100) << -1;
        QTest::newRow("date: equal") << 1 << 0 << qint64(200) << 0;
        QTest::newRow("description: Zebra before apple") << 2 << 0 << qint64(100) << 1;
        QTest::newRow("description, descending") << 2 << 1 << qint64(100) << -1;
    }
    void compare()
    {
        QFETCH(int, field);
        QFETCH(int, direction);
        QFETCH(qint64, createdB);
        QFETCH(int, order);
        FavoriteItem a, b;
        a.name = QStringLiteral("B");
        a.created = 200;
        a.description = QStringLiteral("apple");
        b.name = QStringLiteral("a");
        b.created = createdB;
        b.description = QStringLiteral("Zebra");
        const auto sign = [](int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); };
        QCOMPARE(sign(FavoriteItem::compare(a, b, field, direction)), order);
        QCOMPARE(sign(FavoriteItem::compare(b, a, field, direction)), -order);
    }

    void createFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("made");
        QTest::newRow("nested") << QStringLiteral("Trips/2024/May") << "Trips/2024/May";
        QTest::newRow("backslash nests") << QStringLiteral("Lab\\Week 1") << "Lab/Week 1";
        QTest::newRow("dot dot") << QStringLiteral("..") << QString();
        QTest::newRow("climbing out inside") << QStringLiteral("a/../../Escaped") << QString();
    }
    void createFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, made);
        FavoritesStore store = openedStore();
        QCOMPARE(store.createFolder(name).isEmpty(), !made.isEmpty());
        if (made.isEmpty())
            QCOMPARE(store.folders(), QStringList { "AnyOne" });
        else
            QVERIFY(QFileInfo(root() + u'/' + made).isDir());
        // Nothing is ever made beside the root.
        QCOMPARE(QDir(work->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList { "Favorites" });
    }

    void deleteRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("anyone") << QStringLiteral("anyone") << "You can not delete this folder";
        QTest::newRow("ANYONE") << QStringLiteral("ANYONE") << "You can not delete this folder";
        QTest::newRow("dot dot") << QStringLiteral("..") << QString();
        QTest::newRow("a link outside") << QStringLiteral("Link") << QString();
    }
    void deleteRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, message);
        FavoritesStore store = openedStore();
        const QString outside = work->filePath(QStringLiteral("Outside"));
        QVERIFY(QDir().mkpath(outside));
        QVERIFY(touch(outside + QStringLiteral("/precious.jpg")));
        QVERIFY(touch(root() + QStringLiteral("/AnyOne/kept.jpg")));
        QVERIFY(QFile::link(outside, root() + QStringLiteral("/Link")));
        const QStringList before = QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

        const QString answer = store.deleteFolder(name);
        QVERIFY(!answer.isEmpty());
        if (!message.isEmpty())
            QCOMPARE(answer, message);
        QCOMPARE(QDir(root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), before);
        QVERIFY(QFileInfo::exists(outside + QStringLiteral("/precious.jpg")));
        QVERIFY(QFileInfo::exists(root() + QStringLiteral("/AnyOne/kept.jpg")));
    }

    void deleting()
    {
        FavoritesStore store = openedStore();
        QCOMPARE(store.createFolder(QStringLiteral("Old/Inner")), QString());
        QVERIFY(touch(root() + QStringLiteral("/Old/Inner/cell.jpg"), "cells"));
        QVERIFY(!QFileInfo::exists(dataHome()));
        QCOMPARE(store.deleteFolder(QStringLiteral("Old")), QString());
        QCOMPARE(store.folders(), QStringList { "AnyOne" });
        QFile trashed(dataHome() + QStringLiteral("/Trash/files/Old/Inner/cell.jpg"));
        QVERIFY(trashed.open(QIODevice::ReadOnly));
        QCOMPARE(trashed.readAll(), QByteArray("cells"));
        // A favourite's own file is removed outright.
        const QString path = root() + QStringLiteral("/AnyOne/gone.jpg");
        QVERIFY(touch(path));
        QVERIFY(FavoritesStore::deleteFavorite(path));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(!FavoritesStore::deleteFavorite(path));
    }

    void loader_data()
    {
        // A first listing, then none, a cancel or a second listing.
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("then");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("many") << 12 << 0;
        QTest::newRow("cancelled") << 16 << 1;
        QTest::newRow("another folder") << 16 << 2;
    }
    void loader()
    {
        QFETCH(int, first);
        QFETCH(int, then);
        QStringList paths;
        for (int i = 0; i < first + (then == 2 ? 3 : 0); ++i)
            paths << TestImages::write(work->path(), QStringLiteral("f%1.jpg").arg(i), halves(400, 300));
        FavoriteLoader loader;
        QSet<QString> delivered;
        bool whole = true;
        connect(&loader, &FavoriteLoader::loaded, this, [&](const FavoriteItem& item) {
            whole = whole && QThread::currentThread() == thread() && item.thumbnail.size() == QSize(160, 120);
            delivered.insert(item.path);
        });
        QSignalSpy finished(&loader, &FavoriteLoader::finished);
        loader.load(paths.mid(0, first));
        // The workers may already have made records: they must not arrive.
        QThread::yieldCurrentThread();
        if (then == 1)
            loader.cancel();
        if (then == 2)
            loader.load(paths.mid(first));
        if (then != 1)
            QVERIFY(finished.wait());
        loader.waitForWorkers();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(finished.count(), then == 1 ? 0 : 1);
        QVERIFY(whole);
        const QStringList expected = then == 1 ? QStringList() : paths.mid(then == 2 ? first : 0);
        QCOMPARE(delivered, QSet<QString>(expected.begin(), expected.end()));
        QVERIFY(!loader.isBusy());
    }
};

QTEST_GUILESS_MAIN(TestFavStore)
#include "tst_favstore.moc"
