// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

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

#include "ScriptedPrompts.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/base/StatusPanes.h"
#include "ui/app/CAboutDlg.h"
#include "ui/app/CMainFrame.h"
#include "ui/measure/CMeasurementsBar.h"
#include "ui/output/CSaveChangesDlg.h"

class TestMainFrame : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> settings;
    ScriptedPrompts prompts;

private slots:
    // Add to Favorites makes its folder in the data folder: a test one.
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        QFile::remove(iniPath());
        settings = std::make_unique<SettingsStore>(iniPath());
        prompts = ScriptedPrompts();
    }
    void cleanup() { settings.reset(); }

    void menusCarryEveryItem_data()
    {
        // Items are separated by "|", and ">" marks a popup.
        QTest::addColumn<QStringList>("popupPath");
        QTest::addColumn<QString>("items");
        QTest::newRow("menu bar") << QStringList {} << ">&File|>&Edit|>&View|>F&avorites|>&Tools|>&Image|>&Help";
        QTest::newRow("File") << QStringList { "&File" } << "&Open...|&Save...|&Export Measurements...|&Print|E&xit";
        QTest::newRow("Edit") << QStringList { "&Edit" } << "&Undo\tCtrl+Z|&Redo\tCtrl+Y";
        QTest::newRow("View") << QStringList { "&View" }
                              << "&Toolbar|&Status Bar|&Favorites|&Measurements|&Histogram|>Histogram Size|Zoom &In\t+|"
                                 "Zoom &Out\t-|&Fit to Window\tF|&Actual Pixels\t1|Fit &Large Pictures";
        QTest::newRow("Histogram Size") << QStringList { "&View", "Histogram Size" } << "Small|Medium|Large";
        QTest::newRow("Favorites") << QStringList { "F&avorites" }
                                   << "&Open!|&Add...|&Delete!|&Sort...|&Find...|Fo&lder...";
        QTest::newRow("Tools") << QStringList { "&Tools" }
                               << "Burn On!\tB|&Record Measurement\tCtrl+M|Calibrate\tShft+H|Calibrate "
                                  "Vertical\tShft+V|Set Magnification...\tM|"
                                  "Reset Tool!\tX|Horizontal\tH|Vertical\tV|Line\tL|Angle\tA|Rectangle\tR|Circle\tC|"
                                  "Polygon\tP|Reticule\tG|Text\tT|Arrow\tW|&Scale Bar\tS|Options && Colors...\tO";
        QTest::newRow("Image")
            << QStringList { "&Image" }
            << "Live!|&Monochrome!\tShift+M|&Edge Enhance!\tShift+E|&Display Range...|>Border|Title Block|"
               "Video Format...|Video Controls...|Select Camera...";
        QTest::newRow("Border") << QStringList { "&Image", "Border" } << "None|Thin|Photo|ANSI";
        QTest::newRow("Help") << QStringList { "&Help" } << "&Help Contents\tF1|&About Scopique...";
    }
    void menusCarryEveryItem()
    {
        QFETCH(QStringList, popupPath);
        QFETCH(QString, items);
        CMainFrame frame(*settings, prompts);
        const QWidget* menu = frame.menuBar();
        for (const QString& title : popupPath) {
            const QWidget* next = nullptr;
            for (const QAction* action : menu->actions()) {
                if (action->menu() && action->text() == title)
                    next = action->menu();
            }
            QVERIFY2(next, qPrintable(title));
            menu = next;
        }
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << (action->menu() ? QStringLiteral(">") + action->text() : action->text());
        }
        QCOMPARE(texts.join(QLatin1Char('|')), items);
    }

    void toolbarHoldsItsButtonsInOrder()
    {
        CMainFrame frame(*settings, prompts);
        const QToolBar* toolBar = frame.findChild<QToolBar*>();
        QCOMPARE(toolBar->iconSize(), QSize(45, 45));
        QList<int> ids;
        for (const QAction* action : toolBar->actions()) {
            ids << (action->isSeparator() ? 0 : action->data().toInt());
            if (!action->isSeparator())
                QVERIFY2(!action->icon().pixmap(45, 45).isNull(), qPrintable(action->text()));
        }
        QCOMPARE(ids,
            (QList<int> { ID_FILE_PRINT, 0, ID_HORIZONTAL, ID_VERTICAL, ID_LINE, ID_ANGLE, ID_RECTANGLE, ID_CIRCLE,
                ID_POLYGON, 0, ID_RETICULE, ID_ARROW, ID_SCALE_BAR, ID_TEXT, ID_RESET_TOOL, 0, ID_CALIBRATE,
                ID_CALIBRATE_VERTICAL, ID_BURN_ON, ID_MAKE_IMAGE_LIVE, ID_FREEZE_IMAGE, ID_HELP_CONTENTS }));
        QCOMPARE(frame.action(ID_FILE_PRINT)->toolTip(), QStringLiteral("Print"));
        QCOMPARE(frame.action(ID_FILE_PRINT)->statusTip(), QStringLiteral("Print Image"));
    }

    void commandTextsAndPrompts_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("statusTip");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QStringList>("menus"); // the titles of the menus holding it
        // 32825 is Options && Colors, between the Ctrl and the Ctrl+Shift nudges.
        const char* nudges[]
            = { "L", "R", "U", "D", "LS", "RS", "US", "DS", "LC", "RC", "UC", "DC", "LCS", "RCS", "UCS", "DCS" };
        for (int i = 0; i < 16; ++i)
            QTest::addRow("%s", nudges[i])
                << ID_NUDGE_LEFT + i + (i >= 12) << nudges[i] << QString() << nudges[i] << QStringList { "Notshown" };
        const char* borders[][2] = { { "None", "No Border" }, { "Thin", "Thin Border" }, { "Photo", "Photo Border" },
            { "ANSI", "ANSI Border" } };
        for (int i = 0; i < 4; ++i)
            QTest::addRow("%s", borders[i][0])
                << ID_BORDER_NONE + i << borders[i][0] << borders[i][1] << borders[i][1] << QStringList { "Border" };
        QTest::newRow("Title Block") << int(ID_TITLE_BLOCK) << "Title Block" << QString() << "Title Block"
                                     << QStringList { "&Image" };
        QTest::newRow("Options") << int(ID_TOOL_OPTIONS) << "Options && Colors...\tO"
                                 << "Change the colours, font and options of the tool"
                                 << "Options and Colors" << QStringList { "&Tools" };
        QTest::newRow("Scale Bar") << int(ID_SCALE_BAR) << "&Scale Bar\tS"
                                   << "Lay a scale bar of the calibrated length on the picture"
                                   << "Scale Bar" << QStringList { "&Tools" };
        QTest::newRow("Record Measurement") << int(ID_RECORD_MEASUREMENT) << "&Record Measurement\tCtrl+M"
                                            << "Add the values of the measuring tool to the results"
                                            << "Record Measurement" << QStringList { "&Tools" };
        QTest::newRow("Measurements") << int(ID_VIEW_MEASUREMENTS) << "&Measurements"
                                      << "Show or hide the table of recorded measurements"
                                      << "Toggle Measurements" << QStringList { "&View" };
        QTest::newRow("Export Measurements") << int(ID_FILE_EXPORT_MEASUREMENTS) << "&Export Measurements..."
                                             << "Save the recorded measurements as a CSV file"
                                             << "Export Measurements" << QStringList { "&File" };
        QTest::newRow("Undo") << int(ID_EDIT_UNDO) << "&Undo\tCtrl+Z"
                              << "Undo the last change to the picture"
                              << "Undo" << QStringList { "&Edit" };
        QTest::newRow("Redo") << int(ID_EDIT_REDO) << "&Redo\tCtrl+Y"
                              << "Redo the change undone last"
                              << "Redo" << QStringList { "&Edit" };
        QTest::newRow("Display Range") << int(ID_DISPLAY_RANGE) << "&Display Range..."
                                       << "Choose the sample values shown as black and white"
                                       << "Display Range" << QStringList { "&Image" };
        QTest::newRow("32812") << int(ID_LIVE) << QString() << QString() << QString() << QStringList {};
        QTest::newRow("Fit Large") << int(ID_VIEW_FIT_LARGE) << "Fit &Large Pictures"
                                   << "Open pictures larger than the window fitted to it"
                                   << "Fit Large Pictures" << QStringList { "&View" };
    }
    void commandTextsAndPrompts()
    {
        QFETCH(int, command);
        QFETCH(QString, text);
        QFETCH(QString, statusTip);
        QFETCH(QString, toolTip);
        QFETCH(QStringList, menus);
        CMainFrame frame(*settings, prompts);
        const QAction* action = frame.action(command);
        QCOMPARE(action->text(), text);
        QCOMPARE(action->statusTip(), statusTip);
        QCOMPARE(action->toolTip(), toolTip);
        QStringList holders;
        for (const QObject* holder : action->associatedObjects()) {
            if (const auto* menu = qobject_cast<const QMenu*>(holder))
                holders << menu->title();
        }
        QCOMPARE(holders, menus);
    }

    void commandsHaveTheirKeysAndStates_data()
    {
        // Commands of features still to come are disabled; every key reaches one command.
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<QKeySequence>>("keys");
        QTest::addColumn<bool>("enabled");
        using Keys = QList<QKeySequence>;
        QTest::newRow("Horizontal") << int(ID_HORIZONTAL) << Keys { Qt::Key_H, Qt::CTRL | Qt::Key_H } << true;
        QTest::newRow("Scale Bar") << int(ID_SCALE_BAR) << Keys { Qt::Key_S } << true;
        QTest::newRow("Calibrate") << int(ID_CALIBRATE) << Keys { Qt::SHIFT | Qt::Key_H } << true;
        QTest::newRow("nudge") << int(ID_NUDGE_CTRL_SHIFT_DOWN) << Keys { Qt::CTRL | Qt::SHIFT | Qt::Key_Down } << true;
        QTest::newRow("Cut") << int(ID_EDIT_CUT) << Keys { Qt::CTRL | Qt::Key_X } << false;
        QTest::newRow("Undo") << int(ID_EDIT_UNDO) << Keys { Qt::CTRL | Qt::Key_Z } << false;
        QTest::newRow("Redo") << int(ID_EDIT_REDO) << Keys { Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z }
                              << false;
        QTest::newRow("Freeze Image") << int(ID_FREEZE_IMAGE) << Keys { Qt::Key_Escape } << true;
        QTest::newRow("Make Image Live") << int(ID_MAKE_IMAGE_LIVE) << Keys { QKeySequence("`"), QKeySequence("~") }
                                         << true;
        QTest::newRow("Help Contents") << int(ID_HELP_CONTENTS) << Keys { Qt::Key_F1 } << true;
        QTest::newRow("Zoom In") << int(ID_VIEW_ZOOM_IN)
                                 << Keys { Qt::Key_Plus, Qt::Key_Equal, Qt::CTRL | Qt::Key_Plus } << true;
        QTest::newRow("Zoom Out") << int(ID_VIEW_ZOOM_OUT) << Keys { Qt::Key_Minus, Qt::CTRL | Qt::Key_Minus } << true;
        QTest::newRow("Fit to Window") << int(ID_VIEW_FIT_WINDOW) << Keys { Qt::Key_F } << true;
        QTest::newRow("Actual Pixels") << int(ID_VIEW_ACTUAL_PIXELS) << Keys { Qt::Key_1 } << true;
        // No placed measuring tool, no rows.
        QTest::newRow("Record Measurement") << int(ID_RECORD_MEASUREMENT) << Keys { Qt::CTRL | Qt::Key_M } << false;
        QTest::newRow("Export Measurements") << int(ID_FILE_EXPORT_MEASUREMENTS) << Keys {} << false;
        for (int id : { ID_FILE_OPEN, ID_VIEW_FAVORITES, ID_BORDER_ANSI, ID_FAVORITES_ADD, ID_FREEZE, ID_LIVE })
            QTest::addRow("%d enabled", id) << id << Keys {} << true;
        for (int id : { ID_VIEW_HISTOGRAM, ID_VIDEO_FORMAT, ID_FAVORITES_OPEN, ID_DISPLAY_RANGE })
            QTest::addRow("%d disabled", id) << id << Keys {} << false;
    }
    void commandsHaveTheirKeysAndStates()
    {
        QFETCH(int, command);
        QFETCH(QList<QKeySequence>, keys);
        QFETCH(bool, enabled);
        CMainFrame frame(*settings, prompts);
        QCOMPARE(frame.action(command)->isEnabled(), enabled);
        for (const QKeySequence& key : keys) {
            QList<int> bound;
            for (const QAction* action : frame.actions()) {
                if (action->shortcuts().contains(key))
                    bound << action->data().toInt();
            }
            QCOMPARE(bound, QList<int> { command });
        }
    }

    void statusBarAndCaptionFollowThePicture()
    {
        settings->writeInt(QStringLiteral("Calibration"), QStringLiteral("Magnification"), 40);
        CMainFrame frame(*settings, prompts);
        const auto panes = [&frame] {
            QStringList texts;
            for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>())
                texts << label->text();
            return texts;
        };
        // The blanks of the first texts size the panes.
        QCOMPARE(panes(), QStringList({ "Ready", "Zoom=100%", "Mag=40", "Luma=       0", "X=      0", "Y=      0 " }));
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique"));

        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::white);
        picture.setPixel(5, 7, qRgb(31, 20, 10));
        const QString path = dir.filePath(QStringLiteral("deep/folder/slide 1.png"));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("deep/folder"))) && picture.save(path));
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique Pro - slide 1.png"));
        frame.send(WM_APP_SET_XY, 5, 7);
        QCOMPARE(panes(), QStringList({ "Ready", "Zoom=100%", "Mag=40", "Luma=20", "X=5", "Y=7" }));
        frame.send(WM_APP_SET_XY, -1, 7);
        frame.send(WM_APP_SET_MAG, 250, 0);
        QCOMPARE(panes(), QStringList({ "Ready", "Zoom=100%", "Mag=250", "Luma=0", "X=-1", "Y=7" }));
        frame.send(WM_APP_SET_LUMA, 17, 0);
        QCOMPARE(frame.statusPane(ID_INDICATOR_LUMA)->text(), QStringLiteral("Luma=17"));

        // The Open command takes the same path.
        prompts.openFileAnswer = dir.filePath(QStringLiteral("other.png"));
        QVERIFY(picture.save(prompts.openFileAnswer));
        frame.action(ID_FILE_OPEN)->trigger();
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique Pro - other.png"));
        QVERIFY(prompts.openFilterSeen.startsWith(QStringLiteral("jpg, gif, bmp, png (")));

        // A file that cannot be opened keeps the caption and says why.
        const QString broken = dir.filePath(QStringLiteral("missing.png"));
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(broken), 0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique Pro - other.png"));
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages.first().contains(QStringLiteral("missing.png")));
    }

    void closeOffersToSaveAChangedPicture_data()
    {
        // The commands before closing; the save writes into the test folder.
        QTest::addColumn<QList<int>>("commands");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("dialogs");
        const int addToFavorites = UserPrompts::SaveChangesAddToFavorites;
        const int saveAsFile = UserPrompts::SaveChangesSaveAsFile;
        const int no = QDialog::Rejected;
        using Ids = QList<int>;
        const Ids filtered { ID_MONOCHROME };
        QTest::newRow("nothing changed") << Ids {} << addToFavorites << QStringList {};
        QTest::newRow("add to favorites") << filtered << addToFavorites << QStringList { "saveChanges", "addFavorite" };
        QTest::newRow("save as file") << filtered << saveAsFile << QStringList { "saveChanges", "saveAs" };
        QTest::newRow("no") << filtered << no << QStringList { "saveChanges" };
        QTest::newRow("undone") << Ids { ID_MONOCHROME, ID_EDGE_ENHANCE, ID_EDIT_UNDO, ID_EDIT_UNDO } << no
                                << QStringList {};
        QTest::newRow("redone") << Ids { ID_MONOCHROME, ID_EDIT_UNDO, ID_EDIT_REDO } << no
                                << QStringList { "saveChanges" };
        QTest::newRow("saved") << Ids { ID_MONOCHROME, ID_FILE_SAVE } << no << QStringList { "saveAs" };
        QTest::newRow("changed after saving")
            << Ids { ID_MONOCHROME, ID_FILE_SAVE, ID_EDGE_ENHANCE } << no << QStringList { "saveAs", "saveChanges" };
        QTest::newRow("undone to the saved picture")
            << Ids { ID_MONOCHROME, ID_FILE_SAVE, ID_EDGE_ENHANCE, ID_EDIT_UNDO } << no << QStringList { "saveAs" };
        QTest::newRow("undone past the save")
            << Ids { ID_MONOCHROME, ID_FILE_SAVE, ID_EDIT_UNDO } << no << QStringList { "saveAs", "saveChanges" };
    }
    void closeOffersToSaveAChangedPicture()
    {
        QFETCH(QList<int>, commands);
        QFETCH(int, answer);
        QFETCH(QStringList, dialogs);
        prompts.saveChangesAnswer = answer;
        prompts.saveFileAnswer = dir.filePath(QStringLiteral("saved.png"));
        CMainFrame frame(*settings, prompts);
        for (int id : commands) {
            // The states refresh on the event loop's next turn, as between two clicks.
            QCoreApplication::processEvents();
            frame.action(id)->trigger();
        }
        QVERIFY(frame.close());
        QCOMPARE(prompts.asked, dialogs);
    }

    void barVisibilityIsRemembered_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("entry");
        QTest::newRow("Favorites") << int(ID_VIEW_FAVORITES) << "FavoritesShow";
        QTest::newRow("Measurements") << int(ID_VIEW_MEASUREMENTS) << "MeasurementsShow";
    }
    void barVisibilityIsRemembered()
    {
        QFETCH(int, command);
        QFETCH(QString, entry);
        for (const bool shownAtStart : { false, true }) {
            CMainFrame frame(*settings, prompts);
            QDockWidget* bar = command == ID_VIEW_FAVORITES ? static_cast<QDockWidget*>(frame.favoritesBar())
                                                            : static_cast<QDockWidget*>(frame.measurementsBar());
            QCOMPARE(bar->isHidden(), !shownAtStart);
            frame.action(command)->trigger();
            QCOMPARE(bar->isHidden(), shownAtStart);
            QCOMPARE(frame.action(command)->isChecked(), !shownAtStart);
            frame.close();
            QCOMPARE(SettingsStore(iniPath()).readInt(QStringLiteral("Windows"), entry, -1), shownAtStart ? 0 : 1);
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
        QStringList texts { dialog.windowTitle(), dialog.findChild<QLabel*>()->text() };
        for (const QPushButton* pushButton : dialog.findChildren<QPushButton*>())
            texts << pushButton->text();
        QCOMPARE(texts,
            QStringList({ "Save Changes", "Would you like to save these changes?", "Add to Favorites!",
                "Save as File...", "No!" }));

        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
        QVERIFY(focused);
        QCOMPARE(focused->text(), QStringLiteral("No!"));
        if (button == QStringLiteral("Return") || button == QStringLiteral("Escape")) {
            QTest::keyClick(focused, button == QStringLiteral("Return") ? Qt::Key_Return : Qt::Key_Escape);
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
        QStringList texts { about.windowTitle(), about.findChild<QGroupBox*>()->title() };
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            if (!label->text().isEmpty())
                texts << label->text();
        }
        QCOMPARE(texts,
            QStringList({ "About Scopique", "Keyboard shortcuts", "Scopique Version 1.1",
                "Right click on the Video Window gets the tool color dialog",
                "Shift+Left click will move all the endpoints and text", "Arrow Keys will move all endpoins and text",
                "Ctrl+Arrow keys moves bottom or right endpoint", "Shift+Arrow keys moves top or left endpoint",
                "Ctrl+Shift+Arrow keys moves text" }));
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
