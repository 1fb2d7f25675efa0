// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAbstractButton>
#include <QAction>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "ui/app/CHelpBar.h"
#include "ui/app/CMainFrame.h"
#include "ui/favorites/CFavoritesBar.h"

namespace {

// The main window shown, with settings of its own.
struct Window {
    Window()
        : settings(dir.filePath(QStringLiteral("Scopique.conf")))
        , frame(settings, prompts)
    {
        frame.resize(1000, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
    }
    QTextBrowser& browser() { return *frame.helpBar()->browser(); }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    SettingsStore settings;
    CMainFrame frame;
};

void writePage(const QString& path, const QString& body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QStringLiteral("<html><body><p>%1</p></body></html>").arg(body).toUtf8());
}

} // namespace

class TestDocking : public QObject {
    Q_OBJECT

private slots:
    void defaultSizes_data()
    {
        QTest::addColumn<bool>("helpBar");
        QTest::addColumn<Qt::DockWidgetArea>("area");
        QTest::addColumn<QSize>("size");
        QTest::newRow("favorites") << false << Qt::LeftDockWidgetArea << QSize(200, 200);
        QTest::newRow("help") << true << Qt::RightDockWidgetArea << QSize(300, 600);
    }
    void defaultSizes()
    {
        QFETCH(bool, helpBar);
        QFETCH(Qt::DockWidgetArea, area);
        QFETCH(QSize, size);
        Window w;
        QDockWidget* bar = helpBar ? static_cast<QDockWidget*>(w.frame.helpBar()) : w.frame.favoritesBar();
        QVERIFY(bar->isHidden());
        QCOMPARE(w.frame.dockWidgetArea(bar), area);
        bar->show();
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(bar->width(), size.width());
        // Floating the first time gives the default size.
        bar->setFloating(true);
        QCOMPARE(bar->size(), size);
    }

    void minimumSize_data()
    {
        QTest::addColumn<Qt::DockWidgetArea>("area");
        QTest::addColumn<bool>("floating");
        QTest::newRow("left") << Qt::LeftDockWidgetArea << false;
        QTest::newRow("bottom") << Qt::BottomDockWidgetArea << false;
        QTest::newRow("floating") << Qt::LeftDockWidgetArea << true;
    }
    void minimumSize()
    {
        QFETCH(Qt::DockWidgetArea, area);
        QFETCH(bool, floating);
        Window w;
        CHelpBar& bar = *w.frame.helpBar();
        w.frame.addDockWidget(area, &bar);
        bar.show();
        bar.setFloating(floating);
        QCOMPARE(bar.minimumSize(), QSize(16, 32));
        if (floating) {
            bar.resize(1, 1);
            QCOMPARE(bar.size(), QSize(16, 32));
        } else if (area == Qt::LeftDockWidgetArea) {
            // The contents do not hold the bar up; Qt's title bar with its
            // two buttons sets the narrowest width.
            w.frame.resizeDocks({ &bar }, { 1 }, Qt::Horizontal);
            QTRY_VERIFY(bar.width() < 64);
        } else {
            w.frame.resizeDocks({ &bar }, { 1 }, Qt::Vertical);
            QTRY_COMPARE(bar.height(), 32);
        }
        // The page keeps filling the bar.
        QCOMPARE(bar.browser()->width(), bar.widget()->width());
    }

    void closeHidesAndTheToggleRestores_data()
    {
        QTest::addColumn<Qt::DockWidgetArea>("area");
        QTest::addColumn<bool>("floating");
        QTest::newRow("bottom") << Qt::BottomDockWidgetArea << false;
        QTest::newRow("floating") << Qt::RightDockWidgetArea << true;
    }
    void closeHidesAndTheToggleRestores()
    {
        QFETCH(Qt::DockWidgetArea, area);
        QFETCH(bool, floating);
        Window w;
        QDockWidget* bar = w.frame.favoritesBar();
        QAction* toggle = w.frame.action(ID_VIEW_FAVORITES);
        toggle->trigger();
        w.frame.addDockWidget(area, bar);
        bar->setFloating(floating);
        bar->show();
        QTRY_VERIFY(bar->isVisible());
        bar->findChild<QAbstractButton*>(QStringLiteral("qt_dockwidget_closebutton"))->click();
        QVERIFY(bar->isHidden());
        QTRY_VERIFY(!toggle->isChecked());

        toggle->trigger();
        QVERIFY(bar->isVisible());
        QTRY_VERIFY(toggle->isChecked());
        QVERIFY(toggle->isChecked());
        QCOMPARE(bar->isFloating(), floating);
        QCOMPARE(w.frame.dockWidgetArea(bar), area);
    }

    void barsInOneRowShareItsLength()
    {
        Window w;
        QDockWidget* favorites = w.frame.favoritesBar();
        CHelpBar* help = w.frame.helpBar();
        w.frame.addDockWidget(Qt::LeftDockWidgetArea, help);
        favorites->show();
        help->show();
        QTRY_VERIFY(help->isVisible() && favorites->isVisible());
        // One column as long as the side of the picture, one bar above the other.
        const QRect pane = w.frame.centralWidget()->geometry();
        QCOMPARE(favorites->geometry().left(), help->geometry().left());
        QCOMPARE(favorites->width(), help->width());
        QCOMPARE(favorites->geometry().top(), pane.top());
        QCOMPARE(help->geometry().bottom(), pane.bottom());
        QVERIFY(help->geometry().top() - favorites->geometry().bottom() <= 10);
    }

    void helpContents_data()
    {
        QTest::addColumn<bool>("pages");
        QTest::newRow("F1 twice") << true;
        QTest::newRow("missing Help folder") << false;
    }
    void helpContents()
    {
        QFETCH(bool, pages);
        QTemporaryDir helpDir;
        const QString index = helpDir.filePath(QStringLiteral("index.htm"));
        if (pages)
            writePage(index, QStringLiteral("First edition"));
        Window w;
        w.frame.helpBar()->setFolder(pages ? helpDir.path() : helpDir.filePath(QStringLiteral("Help")));
        if (!pages)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("No document for")));
        QTest::keyClick(&w.frame, Qt::Key_F1);
        QVERIFY(w.frame.helpBar()->isVisible());
        if (!pages) {
            QVERIFY(w.browser().toPlainText().isEmpty());
            return;
        }
        QCOMPARE(w.browser().source(), QUrl::fromLocalFile(index));
        QVERIFY(w.browser().toPlainText().contains(QStringLiteral("First edition")));
        // A changed page shows at the next F1, in the one pane.
        writePage(index, QStringLiteral("Second edition"));
        QTest::keyClick(&w.frame, Qt::Key_F1);
        QCOMPARE(w.frame.findChildren<CHelpBar*>().size(), 1);
        QVERIFY(w.frame.helpBar()->isVisible());
        QVERIFY(w.browser().toPlainText().contains(QStringLiteral("Second edition")));
    }
};

QTEST_MAIN(TestDocking)
#include "tst_docking.moc"
