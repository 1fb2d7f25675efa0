// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAbstractButton>
#include <QAction>
#include <QTextBrowser>
#include <QtTest>

#include "ShownFrame.h"
#include "core/base/CommandIds.h"
#include "ui/app/CHelpBar.h"
#include "ui/favorites/CFavoritesBar.h"

class TestDocking : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    // The favourites bar starts hidden in its own area, opens with its default size (also its size when first floated),
    // shrinks to the bar's own minimum whatever its contents, and its close box hides it until the toggle
    // brings it back where it was.
    void bars_data()
    {
        QTest::addColumn<bool>("floating"); // from the right-hand area
        QTest::newRow("favorites") << false;
        QTest::newRow("favorites floating") << true;
    }
    void bars()
    {
        QFETCH(bool, floating);
        ShownFrame w(iniPath());
        QDockWidget* bar = w.frame.favoritesBar();
        QAction* toggle = w.frame.action(ID_VIEW_FAVORITES);
        QVERIFY(bar->isHidden());
        QCOMPARE(w.frame.dockWidgetArea(bar), Qt::LeftDockWidgetArea);
        if (floating)
            w.frame.addDockWidget(Qt::RightDockWidgetArea, bar);
        toggle->trigger();
        QTRY_VERIFY(bar->isVisible());
        if (!floating)
            QCOMPARE(bar->width(), 200);
        bar->setFloating(floating);
        QCOMPARE(bar->minimumSize(), QSize(16, 32));
        if (floating) {
            QCOMPARE(bar->size(), QSize(200, 200));
            bar->resize(1, 1);
            QCOMPARE(bar->size(), QSize(16, 32));
        } else {
            // Qt's title bar with its two buttons sets the narrowest width.
            w.frame.resizeDocks({ bar }, { 1 }, Qt::Horizontal);
            QTRY_VERIFY(bar->width() < 64);
        }
        bar->findChild<QAbstractButton*>(QStringLiteral("qt_dockwidget_closebutton"))->click();
        QVERIFY(bar->isHidden());
        QTRY_VERIFY(!toggle->isChecked());
        toggle->trigger();
        QVERIFY(bar->isVisible());
        QTRY_VERIFY(toggle->isChecked());
        QCOMPARE(bar->isFloating(), floating);
        QCOMPARE(w.frame.dockWidgetArea(bar), floating ? Qt::RightDockWidgetArea : Qt::LeftDockWidgetArea);
    }

    // F1 shows the Help folder's index in the one help pane on the right, read anew each time.
    void helpContents()
    {
        QTemporaryDir helpDir;
        const QString index = helpDir.filePath(QStringLiteral("index.htm"));
        ShownFrame w(iniPath());
        w.frame.helpBar()->setFolder(helpDir.path());
        for (const QByteArray edition : { "First", "Second" }) {
            QFile page(index);
            QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<p>" + edition + "</p>") > 0);
            page.close();
            w.key(Qt::Key_F1);
            QVERIFY(w.frame.helpBar()->isVisible());
            QCOMPARE(w.frame.dockWidgetArea(w.frame.helpBar()), Qt::RightDockWidgetArea);
            QCOMPARE(w.frame.helpBar()->browser()->toPlainText(), QString(edition));
        }
        QCOMPARE(w.frame.findChildren<CHelpBar*>().size(), 1);
    }
};

QTEST_MAIN(TestDocking)
#include "tst_docking.moc"
