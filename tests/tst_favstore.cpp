// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <ctime>

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include "DataRows.h"
#include "TestImages.h"
#include "core/base/SettingsStore.h"
#include "core/favorites/FavoriteItem.h"
#include "core/favorites/FavoritesStore.h"

namespace {

// Left half red, right half blue: a thumbnail that keeps both halves in
// place was scaled, not cropped or garbled.
QImage halves(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, w / 2, h, Qt::red);
    return image;
}

} // namespace

class TestFavStore : public QObject {
    Q_OBJECT

    QTemporaryDir work;
    QString root() const { return work.filePath(QStringLiteral("Favorites")); }

private slots:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }

    void storedFolder_data()
    {
        columns<QString, bool, QString>("stored", "exists", "current");
        QTest::newRow("empty") << QString() << false << "AnyOne";
        QTest::newRow("present, nested") << "Trips/2024" << true << "Trips/2024";
        QTest::newRow("deleted") << "Gone" << false << "AnyOne";
        QTest::newRow("outside the root") << "../Outside" << true << "AnyOne";
    }
    void storedFolder()
    {
        const auto [stored, exists, current] = fetch<QString, bool, QString>("stored", "exists", "current");
        QVERIFY(!exists || QDir().mkpath(root() + u'/' + stored));
        SettingsStore settings(work.filePath(QStringLiteral("settings.ini")));
        settings.writeString(QStringLiteral("Favorites"), QStringLiteral("Folder"), stored);
        FavoritesStore store(settings, root());
        store.open();
        QCOMPARE(store.currentFolderPath(), root() + u'/' + current);
        QCOMPARE(settings.readString(QStringLiteral("Favorites"), QStringLiteral("Folder"), {}), current);
        // The folder's "*.jpg" files are its favourites, whatever their name.
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
        columns<QByteArray, QString>("bytes", "description");
        ImageTags tags;
        tags.description = QStringLiteral("Onion cells, 40x");
        QTest::newRow("tagged, wide") << TestImages::encode(halves(800, 100), "jpeg", tags) << *tags.description;
        QTest::newRow("tall") << TestImages::encode(halves(90, 700), "jpeg") << QString();
    }
    void record()
    {
        const auto [bytes, description] = fetch<QByteArray, QString>("bytes", "description");
        // File times come from the kernel's coarse clock, which may still be
        // in the second before the one this clock reads.
        const qint64 before = QDateTime::currentSecsSinceEpoch() - 1;
        const auto item = FavoriteItem::load(TestImages::writeBytes(work.path(), QStringLiteral("Cells 1.jpg"), bytes));
        QVERIFY(item);
        QCOMPARE(item->name, QStringLiteral("Cells 1"));
        QCOMPARE(item->description, description);
        QVERIFY(item->created >= before && item->created <= QDateTime::currentSecsSinceEpoch());
        QCOMPARE(item->dateText, FavoriteItem::formatDate(item->created));
        // Scaled whatever the aspect, both halves in place.
        QCOMPARE(item->thumbnail.size(), QSize(160, 120));
        for (const QPoint at : { QPoint(20, 10), QPoint(40, 110) }) {
            const QColor left = item->thumbnail.pixelColor(at),
                         right = item->thumbnail.pixelColor(159 - at.x(), at.y());
            QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
            QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
        }
    }

    void dateText_data()
    {
        columns<qint64, QString>("time", "text");
        QTest::newRow("morning") << qint64(1142327107) << "3/14/2006 09:05:07 AM";
        QTest::newRow("afternoon") << qint64(1142341259) << "3/14/2006 01:00:59 PM";
        QTest::newRow("after midnight") << qint64(1636072200) << "11/5/2021 12:30:00 AM";
        QTest::newRow("noon") << qint64(1640952000) << "12/31/2021 12:00:00 PM";
    }
    void dateText() { QTEST(FavoriteItem::formatDate(std::get<0>(fetch<qint64>("time"))), "text"); }
};

QTEST_GUILESS_MAIN(TestFavStore)
#include "tst_favstore.moc"
