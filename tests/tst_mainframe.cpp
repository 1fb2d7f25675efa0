// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAction>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include "RecordingTarget.h"
#include "ScriptedPrompts.h"
#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "output/CSaveChangesDlg.h"

class TestMainFrame : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }
    static QStringList menuTexts(const QMenu* menu)
    {
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << (action->menu() ? QStringLiteral("▸") + action->text() : action->text());
        }
        return texts;
    }
    static const QMenu* popup(const QMenu* parent, const QString& title)
    {
        for (const QAction* action : parent->actions()) {
            if (action->menu() && action->text() == title)
                return action->menu();
        }
        return nullptr;
    }
    QString writePicture(const QString& name, const QImage& image)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!image.save(path))
            return QString();
        return path;
    }

    QTemporaryDir dir;

private slots:
    // Add to Favorites makes its folder in the data folder: a test one.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QFile::remove(iniPath()); }

    void menusCarryEveryItem_data()
    {
        QTest::addColumn<QString>("popupPath");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("File") << "&File" << QStringList {"&Open...", "&Save...", "&Print", "E&xit"};
        QTest::newRow("View") << "&View"
                              << QStringList {"&Toolbar", "&Status Bar", "&Favorites", "&Histogram", "▸Histogram Size"};
        QTest::newRow("Histogram Size") << "&View/Histogram Size" << QStringList {"Small", "Medium", "Large"};
        QTest::newRow("Favorites") << "F&avorites"
                                   << QStringList {"&Open!", "&Add...", "&Delete!", "&Sort...", "&Find...", "Fo&lder..."};
        QTest::newRow("Tools") << "&Tools"
                               << QStringList {"Burn On!\tB", "Calibrate\tShft+H", "Calibrate Vertical\tShft+V",
                                               "Set Magnification...\tM", "Reset Tool!\tX", "Horizontal\tH",
                                               "Vertical\tV", "Line\tL", "Angle\tA", "Rectangle\tR", "Circle\tC",
                                               "Polygon\tP", "Reticule\tG", "Text\tT", "Arrow\tW",
                                               "Options && Colors...\tO"};
        QTest::newRow("Image") << "&Image"
                               << QStringList {"&Freeze!\tEsc", "&Monochrome!\tShift+M", "&Edge Enhance!\tShift+E",
                                               "▸Border", "Title Block", "Video Format...", "Video Controls..."};
        QTest::newRow("Border") << "&Image/Border" << QStringList {"None", "Thin", "Photo", "ANSI"};
        QTest::newRow("Help") << "&Help" << QStringList {"&Help Contents\tF1", "&About Scopique..."};
    }
    void menusCarryEveryItem()
    {
        QFETCH(QString, popupPath);
        QFETCH(QStringList, items);
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);

        QStringList titles;
        for (const QAction* action : frame.menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, (QStringList {"&File", "&View", "F&avorites", "&Tools", "&Image", "&Help"}));

        const QStringList path = popupPath.split(QLatin1Char('/'));
        const QMenu* menu = nullptr;
        for (const QAction* action : frame.menuBar()->actions()) {
            if (action->text() == path.first())
                menu = action->menu();
        }
        for (int i = 1; menu && i < path.size(); ++i)
            menu = popup(menu, path[i]);
        QVERIFY(menu);
        QCOMPARE(menuTexts(menu), items);
    }

    void toolbarHoldsItsButtonsInOrder()
    {
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);
        const QToolBar* toolBar = frame.findChild<QToolBar*>();
        QVERIFY(toolBar);
        QCOMPARE(toolBar->iconSize(), QSize(45, 45));
        QList<int> ids;
        for (const QAction* action : toolBar->actions()) {
            ids << (action->isSeparator() ? 0 : action->data().toInt());
            if (!action->isSeparator()) {
                QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
                QVERIFY2(!action->icon().pixmap(45, 45).isNull(), qPrintable(action->text()));
            }
        }
        QCOMPARE(ids, (QList<int> {57607, 0, 32774, 32775, 32781, 32784, 32782, 32783, 32785, 0, 32795, 32799, 32798,
                                   32801, 0, 32771, 32773, 32777, 32803, 32802, 57670}));
        QCOMPARE(frame.action(ID_FILE_PRINT)->toolTip(), QStringLiteral("Print"));
        QCOMPARE(frame.action(ID_FILE_PRINT)->statusTip(), QStringLiteral("Print Image"));
        QCOMPARE(frame.action(ID_HELP_CONTENTS)->toolTip(), QStringLiteral("Show Manual"));
        QCOMPARE(frame.action(ID_MAKE_IMAGE_LIVE)->statusTip(), QStringLiteral("Make Image Live"));
    }

    void keysReachTheirCommands_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<int>("command");
        const auto row = [](const char* name, QKeySequence keys, int command) {
            QTest::newRow(name) << keys << command;
        };
        row("H", QKeySequence(Qt::Key_H), ID_HORIZONTAL);
        row("Ctrl+H", QKeySequence(Qt::CTRL | Qt::Key_H), ID_HORIZONTAL);
        row("Ctrl+A", QKeySequence(Qt::CTRL | Qt::Key_A), ID_ANGLE);
        row("X", QKeySequence(Qt::Key_X), ID_RESET_TOOL);
        row("Ctrl+X is Cut", QKeySequence(Qt::CTRL | Qt::Key_X), ID_EDIT_CUT);
        row("Ctrl+Z is Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), ID_EDIT_UNDO);
        row("Shift+H", QKeySequence(Qt::SHIFT | Qt::Key_H), ID_CALIBRATE);
        row("Shift+M", QKeySequence(Qt::SHIFT | Qt::Key_M), ID_MONOCHROME);
        row("Esc", QKeySequence(Qt::Key_Escape), ID_FREEZE_IMAGE);
        row("backquote", QKeySequence(QStringLiteral("`")), ID_MAKE_IMAGE_LIVE);
        row("tilde", QKeySequence(QStringLiteral("~")), ID_MAKE_IMAGE_LIVE);
        row("F1", QKeySequence(Qt::Key_F1), ID_HELP_CONTENTS);
        row("Left", QKeySequence(Qt::Key_Left), ID_NUDGE_LEFT);
        row("Ctrl+Shift+Down", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), ID_NUDGE_CTRL_SHIFT_DOWN);
    }
    void keysReachTheirCommands()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(int, command);
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);
        QList<int> bound;
        for (const QAction* action : frame.actions()) {
            if (action->shortcuts().contains(keys))
                bound << action->data().toInt();
        }
        QCOMPARE(bound, QList<int> {command});
    }

    void commandsOfLaterFeaturesAreDisabled_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("enabled");
        for (int id : {ID_FILE_OPEN, ID_APP_EXIT, ID_APP_ABOUT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_FAVORITES,
                       ID_LINE, ID_CALIBRATE, ID_BORDER_ANSI, ID_TITLE_BLOCK, ID_SET_MAGNIFICATION, ID_FILE_SAVE,
                       ID_FILE_PRINT, ID_FAVORITES_ADD, ID_MONOCHROME, ID_EDGE_ENHANCE})
            QTest::addRow("%d enabled", id) << id << true;
        for (int id : {ID_VIEW_HISTOGRAM, ID_HISTOGRAM_SMALL,
                       ID_FREEZE, ID_VIDEO_FORMAT, ID_HELP_CONTENTS, ID_EDIT_CUT, ID_EDIT_UNDO})
            QTest::addRow("%d disabled", id) << id << false;
    }
    void commandsOfLaterFeaturesAreDisabled()
    {
        QFETCH(int, command);
        QFETCH(bool, enabled);
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);
        QCOMPARE(frame.action(command)->isEnabled(), enabled);
    }

    void viewTogglesShowAndHideTheBars()
    {
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);
        QVERIFY(frame.action(ID_VIEW_STATUS_BAR)->isChecked());
        frame.action(ID_VIEW_STATUS_BAR)->trigger();
        QVERIFY(frame.statusBar()->isHidden());
        QVERIFY(!frame.action(ID_VIEW_STATUS_BAR)->isChecked());
        frame.action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(frame.findChild<QToolBar*>()->isHidden());
        QVERIFY(!frame.action(ID_VIEW_TOOLBAR)->isChecked());
        frame.action(ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(!frame.findChild<QToolBar*>()->isHidden());
    }

    void statusBarShowsRunningValues()
    {
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        settings.writeInt(QStringLiteral("Calibration"), QStringLiteral("Magnification"), 40);
        CMainFrame frame(settings, prompts);
        QCOMPARE(frame.statusPane(59144)->text(), QStringLiteral("Mag=40"));
        QCOMPARE(frame.statusPane(59146)->text(), QStringLiteral("Luma=       0"));
        QCOMPARE(frame.statusPane(59142)->text(), QStringLiteral("X=      0"));
        QCOMPARE(frame.statusPane(59143)->text(), QStringLiteral("Y=      0 "));
        const QList<QLabel*> labels = frame.statusBar()->findChildren<QLabel*>();
        QVERIFY(std::any_of(labels.begin(), labels.end(),
                            [](const QLabel* label) { return label->text() == QStringLiteral("Ready"); }));

        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setPixel(5, 7, qRgb(31, 20, 10));
        const QString path = writePicture(QStringLiteral("luma.png"), picture);
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);

        frame.send(WM_APP_SET_XY, 5, 7);
        QCOMPARE(frame.statusPane(59142)->text(), QStringLiteral("X=5"));
        QCOMPARE(frame.statusPane(59143)->text(), QStringLiteral("Y=7"));
        QCOMPARE(frame.statusPane(59146)->text(), QStringLiteral("Luma=20"));
        frame.send(WM_APP_SET_XY, -1, 7);
        QCOMPARE(frame.statusPane(59146)->text(), QStringLiteral("Luma=0"));
        frame.send(WM_APP_SET_MAG, 250, 0);
        QCOMPARE(frame.statusPane(59144)->text(), QStringLiteral("Mag=250"));
        frame.send(WM_APP_SET_LUMA, 17, 0);
        QCOMPARE(frame.statusPane(59146)->text(), QStringLiteral("Luma=17"));
    }

    void captionNamesTheOpenedFile()
    {
        ScriptedPrompts prompts;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique"));

        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        const QString path = writePicture(QStringLiteral("deep/folder/slide 1.png"), picture);
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique Pro - slide 1.png"));

        // The Open command takes the same path.
        const QString second = writePicture(QStringLiteral("other.png"), picture);
        prompts.openFileAnswer = second;
        frame.action(ID_FILE_OPEN)->trigger();
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique Pro - other.png"));
        QVERIFY(prompts.openFilterSeen.startsWith(QStringLiteral("jpg, gif, bmp, png (")));

        // A file that cannot be opened keeps the caption and says why.
        const QString broken = dir.filePath(QStringLiteral("broken.png"));
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
        file.close();
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(broken), 0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique Pro - other.png"));
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().contains(QStringLiteral("broken.png")));
    }

    void closeOffersToSaveAfterBurnIn_data()
    {
        QTest::addColumn<bool>("imageChanged");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("timesAsked");
        QTest::addColumn<QStringList>("dialogs");
        QTest::newRow("nothing burnt") << false << 1058 << 0 << QStringList {};
        QTest::newRow("add to favorites") << true << 1058 << 1 << QStringList {"saveChanges", "addFavorite"};
        QTest::newRow("save as file") << true << 1057 << 1 << QStringList {"saveChanges", "saveAs"};
        QTest::newRow("no") << true << int(QDialog::Rejected) << 1 << QStringList {"saveChanges"};
    }
    void closeOffersToSaveAfterBurnIn()
    {
        QFETCH(bool, imageChanged);
        QFETCH(int, answer);
        QFETCH(int, timesAsked);
        QFETCH(QStringList, dialogs);
        ScriptedPrompts prompts;
        prompts.saveChangesAnswer = answer;
        SettingsStore settings(iniPath());
        CMainFrame frame(settings, prompts);
        RecordingTarget recorder;
        frame.addCommandTarget(&recorder);
        frame.imagePane().videoWnd().ImageChanged = imageChanged;
        QVERIFY(frame.close());
        QCOMPARE(prompts.asked.count(QStringLiteral("saveChanges")), timesAsked);
        // The image pane's own Save and Add to Favorites take the commands.
        QCOMPARE(prompts.asked, dialogs);
        QCOMPARE(recorder.received, QList<int> {});
    }

    void favoritesBarVisibilityIsRemembered()
    {
        ScriptedPrompts prompts;
        {
            SettingsStore settings(iniPath());
            CMainFrame frame(settings, prompts);
            QVERIFY(frame.favoritesBar()->isHidden());
            frame.action(ID_VIEW_FAVORITES)->trigger();
            QVERIFY(!frame.favoritesBar()->isHidden());
            QVERIFY(frame.action(ID_VIEW_FAVORITES)->isChecked());
            frame.close();
            QCOMPARE(settings.readInt(QStringLiteral("Windows"), QStringLiteral("FavoritesShow"), -1), 1);
        }
        {
            SettingsStore settings(iniPath());
            CMainFrame frame(settings, prompts);
            QVERIFY(!frame.favoritesBar()->isHidden());
            frame.action(ID_VIEW_FAVORITES)->trigger();
            frame.close();
            QCOMPARE(settings.readInt(QStringLiteral("Windows"), QStringLiteral("FavoritesShow"), -1), 0);
        }
    }

    void saveChangesPromptAnswers_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("Add to Favorites!") << "Add to Favorites!" << 1058;
        QTest::newRow("Save as File...") << "Save as File..." << 1057;
        QTest::newRow("No!") << "No!" << int(QDialog::Rejected);
        QTest::newRow("Enter at once") << "Return" << int(QDialog::Rejected);
        QTest::newRow("Escape") << "Escape" << int(QDialog::Rejected);
    }
    void saveChangesPromptAnswers()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        CSaveChangesDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Save Changes"));
        QVERIFY(dialog.findChild<QLabel*>()->text() == QStringLiteral("Would you like to save these changes?"));
        QStringList order;
        for (const QPushButton* pushButton : dialog.findChildren<QPushButton*>())
            order << pushButton->text();
        QCOMPARE(order, (QStringList {"Add to Favorites!", "Save as File...", "No!"}));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QPushButton* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QVERIFY(focused);
        QCOMPARE(focused->text(), QStringLiteral("No!"));
        if (button == QStringLiteral("Return")) {
            QTest::keyClick(focused, Qt::Key_Return);
        } else if (button == QStringLiteral("Escape")) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            for (QPushButton* pushButton : dialog.findChildren<QPushButton*>()) {
                if (pushButton->text() == button)
                    pushButton->click();
            }
        }
        QVERIFY(dialog.isHidden());
        QCOMPARE(dialog.result(), result);
    }

    void aboutDialogTexts()
    {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Scopique"));
        QCOMPARE(about.findChild<QGroupBox*>()->title(), QStringLiteral("Keyboard shortcuts"));
        QStringList lines;
        for (const QLabel* label : about.findChild<QGroupBox*>()->findChildren<QLabel*>())
            lines << label->text();
        QCOMPARE(lines, (QStringList {"Right click on the Video Window gets the tool color dialog",
                                      "Shift+Left click will move all the endpoints and text",
                                      "Arrow Keys will move all endpoins and text",
                                      "Ctrl+Arrow keys moves bottom or right endpoint",
                                      "Shift+Arrow keys moves top or left endpoint",
                                      "Ctrl+Shift+Arrow keys moves text"}));
        bool versionShown = false;
        for (const QLabel* label : about.findChildren<QLabel*>())
            versionShown |= label->text() == QStringLiteral("Scopique Version 1.1");
        QVERIFY(versionShown);
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
