// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "app/CHelpBar.h"
#include "app/CMainFrame.h"
#include "app/CSizingControlBar.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "favorites/CFavoritesBar.h"

class TestDocking : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    struct Window {
        explicit Window(const QString& ini)
            : settings(ini)
            , frame(settings, prompts)
        {
            frame.resize(1000, 800);
            frame.show();
            QVERIFY(QTest::qWaitForWindowActive(&frame));
        }
        CHelpBar& help() { return *frame.helpBar(); }
        QTextBrowser& browser() { return *help().browser(); }
        ScriptedPrompts prompts;
        SettingsStore settings;
        CMainFrame frame;
    };

    static void writePage(const QString& path, const QString& body)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("<html><body><p>%1</p></body></html>").arg(body).toUtf8());
    }

    static QAbstractButton* closeButton(QDockWidget& bar)
    {
        return bar.findChild<QAbstractButton*>(QStringLiteral("qt_dockwidget_closebutton"));
    }

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void barsStartHiddenAtTheirSides()
    {
        Window w(iniPath());
        QDockWidget* favorites = w.frame.favoritesBar();
        QVERIFY(favorites->isHidden());
        QVERIFY(w.help().isHidden());
        QCOMPARE(w.frame.dockWidgetArea(favorites), Qt::LeftDockWidgetArea);
        QCOMPARE(w.frame.dockWidgetArea(&w.help()), Qt::RightDockWidgetArea);
        QCOMPARE(w.help().windowTitle(), QStringLiteral("Help"));
        QCOMPARE(favorites->windowTitle(), QStringLiteral("Favorites"));
        QVERIFY(w.frame.action(ID_HELP_CONTENTS)->isEnabled());
    }

    void defaultSizes_data()
    {
        QTest::addColumn<bool>("helpBar");
        QTest::addColumn<int>("width");
        QTest::newRow("favorites") << false << 200;
        QTest::newRow("help") << true << 300;
    }

    void defaultSizes()
    {
        QFETCH(bool, helpBar);
        QFETCH(int, width);
        Window w(iniPath());
        QDockWidget* bar = helpBar ? static_cast<QDockWidget*>(&w.help()) : w.frame.favoritesBar();
        bar->show();
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(bar->width(), width);
        // Floating the first time gives the floating default size.
        bar->setFloating(true);
        QCOMPARE(bar->size(), helpBar ? QSize(300, 600) : QSize(200, 200));
    }

    void minimumSizeInEveryState_data()
    {
        QTest::addColumn<Qt::DockWidgetArea>("area");
        QTest::addColumn<bool>("floating");
        QTest::newRow("left") << Qt::LeftDockWidgetArea << false;
        QTest::newRow("right") << Qt::RightDockWidgetArea << false;
        QTest::newRow("top") << Qt::TopDockWidgetArea << false;
        QTest::newRow("bottom") << Qt::BottomDockWidgetArea << false;
        QTest::newRow("floating") << Qt::LeftDockWidgetArea << true;
    }

    void minimumSizeInEveryState()
    {
        QFETCH(Qt::DockWidgetArea, area);
        QFETCH(bool, floating);
        Window w(iniPath());
        CHelpBar& bar = w.help();
        w.frame.addDockWidget(area, &bar);
        bar.show();
        bar.setFloating(floating);
        QCOMPARE(bar.minimumSize(), QSize(16, 32));
        if (floating) {
            bar.resize(1, 1);
            QCOMPARE(bar.size(), QSize(16, 32));
            bar.resize(400, 500);
            QCOMPARE(bar.size(), QSize(400, 500));
        } else {
            // The contents do not hold the bar up. Docked at a side, Qt's
            // title bar with its two buttons sets the narrowest width.
            const bool sideways = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
            w.frame.resizeDocks({&bar}, {1}, sideways ? Qt::Horizontal : Qt::Vertical);
            if (sideways) {
                QTRY_VERIFY(bar.width() < 64);
                QVERIFY(bar.width() >= 16);
            } else {
                QTRY_COMPARE(bar.height(), 32);
            }
        }
        // The page keeps filling the bar.
        QCOMPARE(bar.browser()->width(), bar.widget()->width());
        QVERIFY(bar.browser()->geometry().right() < bar.width());
    }

    void closeHidesAndTheToggleRestores_data()
    {
        QTest::addColumn<Qt::DockWidgetArea>("area");
        QTest::addColumn<bool>("floating");
        QTest::newRow("left") << Qt::LeftDockWidgetArea << false;
        QTest::newRow("bottom") << Qt::BottomDockWidgetArea << false;
        QTest::newRow("floating") << Qt::RightDockWidgetArea << true;
    }

    void closeHidesAndTheToggleRestores()
    {
        QFETCH(Qt::DockWidgetArea, area);
        QFETCH(bool, floating);
        Window w(iniPath());
        QDockWidget* bar = w.frame.favoritesBar();
        w.frame.dispatch(ID_VIEW_FAVORITES);
        w.frame.updateCommandUI();
        QVERIFY(bar->isVisible());
        QVERIFY(w.frame.action(ID_VIEW_FAVORITES)->isChecked());
        w.frame.addDockWidget(area, bar);
        bar->setFloating(floating);
        bar->show();
        QTRY_VERIFY(bar->isVisible());

        QAbstractButton* close = closeButton(*bar);
        QVERIFY(close);
        close->click();
        QVERIFY(bar->isHidden());
        w.frame.updateCommandUI();
        QVERIFY(!w.frame.action(ID_VIEW_FAVORITES)->isChecked());

        w.frame.action(ID_VIEW_FAVORITES)->trigger();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->isFloating(), floating);
        QCOMPARE(w.frame.dockWidgetArea(bar), area);
        QVERIFY(w.frame.action(ID_VIEW_FAVORITES)->isChecked());
    }

    void helpCloseButtonHidesIt()
    {
        Window w(iniPath());
        w.frame.dispatch(ID_HELP_CONTENTS);
        QVERIFY(w.help().isVisible());
        closeButton(w.help())->click();
        QVERIFY(w.help().isHidden());
        w.frame.dispatch(ID_HELP_CONTENTS);
        QVERIFY(w.help().isVisible());
        QCOMPARE(w.frame.dockWidgetArea(&w.help()), Qt::RightDockWidgetArea);
    }

    void barsInOneRowShareItsLength()
    {
        Window w(iniPath());
        QDockWidget* favorites = w.frame.favoritesBar();
        CHelpBar& help = w.help();
        w.frame.addDockWidget(Qt::LeftDockWidgetArea, &help);
        favorites->show();
        help.show();
        QTRY_VERIFY(help.isVisible() && favorites->isVisible());
        const QRect a = favorites->geometry();
        const QRect b = help.geometry();
        const QRect pane = w.frame.centralWidget()->geometry();
        // One column: the same thickness, one above the other, together as
        // long as the side of the picture.
        QCOMPARE(a.left(), b.left());
        QCOMPARE(a.width(), b.width());
        QVERIFY(a.bottom() < b.top());
        QCOMPARE(a.top(), pane.top());
        QCOMPARE(b.bottom(), pane.bottom());
        QVERIFY(a.height() >= 32 && b.height() >= 32);
        QVERIFY(b.top() - a.bottom() <= 10);

        // Shrinking one grows the other.
        const int total = a.height() + b.height();
        w.frame.resizeDocks({favorites, &help}, {300, 300}, Qt::Vertical);
        QTRY_VERIFY(qAbs(favorites->height() - help.height()) <= 1);
        QCOMPARE(favorites->height() + help.height(), total);
        QCOMPARE(help.geometry().bottom(), pane.bottom());
    }

    void helpContentsShowsAndReloadsTheIndex_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F1") << true;
        QTest::newRow("command") << false;
    }

    void helpContentsShowsAndReloadsTheIndex()
    {
        QFETCH(bool, byKey);
        QTemporaryDir helpDir;
        writePage(helpDir.filePath(QStringLiteral("index.htm")),
                  QStringLiteral("First edition <a href=\"tools.htm\">Tools</a>"));
        writePage(helpDir.filePath(QStringLiteral("tools.htm")), QStringLiteral("The tools"));
        Window w(iniPath());
        w.help().setFolder(helpDir.path());
        const QUrl index = QUrl::fromLocalFile(helpDir.filePath(QStringLiteral("index.htm")));
        auto helpContents = [&] {
            if (byKey)
                QTest::keyClick(&w.frame, Qt::Key_F1);
            else
                w.frame.dispatch(ID_HELP_CONTENTS);
        };

        helpContents();
        QVERIFY(w.help().isVisible());
        QCOMPARE(w.frame.dockWidgetArea(&w.help()), Qt::RightDockWidgetArea);
        QCOMPARE(w.browser().source(), index);
        QVERIFY(w.browser().toPlainText().contains(QStringLiteral("First edition")));

        // A changed page on disk shows at the next Help Contents.
        writePage(helpDir.filePath(QStringLiteral("index.htm")), QStringLiteral("Second edition"));
        helpContents();
        QCOMPARE(w.frame.findChildren<CHelpBar*>().size(), 1);
        QVERIFY(w.help().isVisible());
        QCOMPARE(w.browser().source(), index);
        QVERIFY(w.browser().toPlainText().contains(QStringLiteral("Second edition")));

        // From another page of the manual it goes back to the index.
        w.browser().setSource(QUrl::fromLocalFile(helpDir.filePath(QStringLiteral("tools.htm"))));
        QVERIFY(w.browser().toPlainText().contains(QStringLiteral("The tools")));
        helpContents();
        QCOMPARE(w.browser().source(), index);
        QVERIFY(w.browser().toPlainText().contains(QStringLiteral("Second edition")));
    }

    void missingHelpFolderShowsAnEmptyPage()
    {
        QTemporaryDir parent;
        Window w(iniPath());
        w.help().setFolder(parent.filePath(QStringLiteral("Help")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("No document for")));
        QTest::keyClick(&w.frame, Qt::Key_F1);
        QVERIFY(w.help().isVisible());
        QVERIFY(w.browser().toPlainText().isEmpty());
    }

    void helpFolderIsFoundBesideTheProgram()
    {
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
        const bool made = !QDir(beside).exists();
        QVERIFY(QDir().mkpath(beside));
        const QString found = CHelpBar::locateFolder();
        if (made)
            QDir(beside).removeRecursively();
        QCOMPARE(found, beside);
    }
};

QTEST_MAIN(TestDocking)
#include "tst_docking.moc"
