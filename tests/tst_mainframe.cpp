// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <memory>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "DataRows.h"
#include "ScriptedPrompts.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/base/StatusPanes.h"
#include "ui/app/CAboutDlg.h"
#include "ui/app/CMainFrame.h"
#include "ui/output/CSaveChangesDlg.h"

namespace {

// A menu's items separated by "|", a popup as its title with its items in brackets.
QString items(const QWidget* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->menu())
            texts << action->text() + QLatin1Char('[') + items(action->menu()) + QLatin1Char(']');
        else if (!action->isSeparator())
            texts << action->text();
    }
    return texts.join(QLatin1Char('|'));
}

// A window's caption, group titles, labels and buttons, in that order.
QStringList texts(const QWidget& dialog)
{
    QStringList texts { dialog.windowTitle() };
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        texts << box->title();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        texts << button->text();
    texts.removeAll(QString());
    return texts;
}

} // namespace

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

    // What the main window and its About box show at start; the status panes follow the pointer.
    void windowTexts()
    {
        settings->writeInt(QStringLiteral("Calibration"), QStringLiteral("Magnification"), 40);
        CMainFrame frame(*settings, prompts);
        const QString menus = QStringLiteral(
            "&File[&Open...|&Save...|&Export Measurements...|&Print|E&xit]|&Edit[&Undo\tCtrl+Z|&Redo\tCtrl+Y]|"
            "&View[&Toolbar|&Status Bar|&Favorites|&Measurements|&Histogram|Histogram Size[Small|Medium|Large]|"
            "Zoom &In\t+|Zoom &Out\t-|&Fit to Window\tF|&Actual Pixels\t1|Fit &Large Pictures]|"
            "F&avorites[&Open!|&Add...|&Delete!|&Sort...|&Find...|Fo&lder...]|&Tools[Burn On!\tB|"
            "&Record Measurement\tCtrl+M|Calibrate\tShft+H|Calibrate Vertical\tShft+V|Set Magnification...\tM|"
            "Reset Tool!\tX|Horizontal\tH|Vertical\tV|Line\tL|Angle\tA|Rectangle\tR|Circle\tC|Polygon\tP|"
            "Reticule\tG|Text\tT|Arrow\tW|&Scale Bar\tS|Options && Colors...\tO]|&Image[Live!|"
            "&Monochrome!\tShift+M|&Edge Enhance!\tShift+E|&Display Range...|Border[None|Thin|Photo|ANSI]|"
            "Title Block|Video Format...|Video Controls...|Select Camera...]|&Help[&Help Contents\tF1|"
            "&About Scopique...]");
        QCOMPARE(items(frame.menuBar()), menus);

        const QToolBar* toolBar = frame.findChild<QToolBar*>();
        QList<int> ids;
        for (const QAction* action : toolBar->actions()) {
            ids << (action->isSeparator() ? 0 : action->data().toInt());
            QVERIFY2(action->isSeparator() || !action->icon().pixmap(45, 45).isNull(), qPrintable(action->text()));
        }
        QCOMPARE(ids,
            (QList<int> { ID_FILE_PRINT, 0, ID_HORIZONTAL, ID_VERTICAL, ID_LINE, ID_ANGLE, ID_RECTANGLE, ID_CIRCLE,
                ID_POLYGON, 0, ID_RETICULE, ID_ARROW, ID_SCALE_BAR, ID_TEXT, ID_RESET_TOOL, 0, ID_CALIBRATE,
                ID_CALIBRATE_VERTICAL, ID_BURN_ON, ID_MAKE_IMAGE_LIVE, ID_FREEZE_IMAGE, ID_HELP_CONTENTS }));

        // The blanks of the first texts size the panes.
        QCOMPARE(texts(*frame.statusBar()),
            QStringList({ "Ready", "Zoom=100%", "Mag=40", "Luma=       0", "X=      0", "Y=      0 " }));
        frame.imagePane().imageDocument().FrameBuffer.image().setPixel(5, 7, qRgb(31, 20, 10));
        frame.send(WM_APP_SET_XY, 5, 7);
        QCOMPARE(texts(*frame.statusBar()), QStringList({ "Ready", "Zoom=100%", "Mag=40", "Luma=20", "X=5", "Y=7" }));
        frame.send(WM_APP_SET_XY, -1, 7);
        QCOMPARE(frame.statusPane(ID_INDICATOR_LUMA)->text(), QStringLiteral("Luma=0"));

        // A file that cannot be opened keeps the caption and says why.
        frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(dir.filePath(QStringLiteral("missing.png"))), 0);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Scopique"));
        QVERIFY(prompts.messages.size() == 1 && prompts.messages.first().contains(QStringLiteral("missing.png")));

        const QStringList about = texts(CAboutDlg());
        QCOMPARE(about.mid(0, 3), QStringList({ "About Scopique", "Keyboard shortcuts", "Scopique Version 1.1" }));
        QCOMPARE(about[5], QStringLiteral("Arrow Keys will move all endpoins and text"));
    }

    // Each command's state at start (features still to come are disabled), its status tip and tool tip (the
    // text where none is set), and the keys that reach it and no other command.
    void commands_data()
    {
        columns<int, bool, QString, QList<QKeySequence>>("command", "enabled", "tips", "keys"); // tips: status|tool
        using Keys = QList<QKeySequence>;
        const auto row = [](int id, bool enabled, const QString& tips = {}, const Keys& keys = {}) {
            QTest::addRow("%d", id) << id << enabled << tips << keys;
        };
        row(ID_BORDER_NONE + 3, true, "ANSI Border|ANSI Border");
        row(ID_TOOL_OPTIONS, false, "Change the colours, font and options of the tool|Options and Colors");
        // No placed measuring tool, no rows.
        row(ID_RECORD_MEASUREMENT, false, "Add the values of the measuring tool to the results|Record Measurement");
        row(ID_EDIT_UNDO, false, "Undo the last change to the picture|Undo", { Qt::CTRL | Qt::Key_Z });
        row(ID_EDIT_REDO, false, {}, { Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z });
        // No text (so no tool tip), no key, in no menu.
        row(ID_LIVE, true, "|");
        row(ID_HORIZONTAL, true, {}, { Qt::Key_H, Qt::CTRL | Qt::Key_H });
        row(ID_MAKE_IMAGE_LIVE, true, {}, { QKeySequence("`"), QKeySequence("~") });
        row(ID_VIDEO_FORMAT, false);
    }
    void commands()
    {
        const auto [command, tips, keys] = fetch<int, QString, QList<QKeySequence>>("command", "tips", "keys");
        CMainFrame frame(*settings, prompts);
        const QAction* action = frame.action(command);
        QTEST(action->isEnabled(), "enabled");
        QCOMPARE(tips.isEmpty() ? tips : action->statusTip() + QLatin1Char('|') + action->toolTip(), tips);
        for (const QKeySequence& key : keys) {
            QList<int> bound;
            for (const QAction* other : frame.actions())
                if (other->shortcuts().contains(key))
                    bound << other->data().toInt();
            QCOMPARE(bound, QList<int> { command });
        }
    }

    // The commands before closing, and the dialogs asked; the save writes into the test folder.
    void closeOffersToSaveAChangedPicture_data()
    {
        columns<QList<int>, int, QStringList>("commands", "answer", "dialogs");
        const int favorites = UserPrompts::SaveChangesAddToFavorites, file = UserPrompts::SaveChangesSaveAsFile;
        const int mono = ID_MONOCHROME, edge = ID_EDGE_ENHANCE, undo = ID_EDIT_UNDO, save = ID_FILE_SAVE;
        using Ids = QList<int>;
        QTest::newRow("nothing changed") << Ids {} << favorites << QStringList {};
        QTest::newRow("add to favorites") << Ids { mono } << favorites << QStringList { "saveChanges", "addFavorite" };
        QTest::newRow("save as file") << Ids { mono } << file << QStringList { "saveChanges", "saveAs" };
        QTest::newRow("no") << Ids { mono } << 0 << QStringList { "saveChanges" };
        QTest::newRow("undone") << Ids { mono, edge, undo, undo } << 0 << QStringList {};
        QTest::newRow("redone") << Ids { mono, undo, ID_EDIT_REDO } << 0 << QStringList { "saveChanges" };
        QTest::newRow("saved") << Ids { mono, save } << 0 << QStringList { "saveAs" };
        QTest::newRow("changed since") << Ids { mono, save, edge } << 0 << QStringList { "saveAs", "saveChanges" };
        QTest::newRow("undone to the saved") << Ids { mono, save, edge, undo } << 0 << QStringList { "saveAs" };
        QTest::newRow("undone past it") << Ids { mono, save, undo } << 0 << QStringList { "saveAs", "saveChanges" };
    }
    void closeOffersToSaveAChangedPicture()
    {
        const auto [commands, answer] = fetch<QList<int>, int>("commands", "answer");
        prompts.saveChangesAnswer = answer;
        prompts.saveFileAnswer = dir.filePath(QStringLiteral("saved.png"));
        CMainFrame frame(*settings, prompts);
        for (int id : commands) {
            // The states refresh on the event loop's next turn, as between two clicks.
            QCoreApplication::processEvents();
            frame.action(id)->trigger();
        }
        QVERIFY(frame.close());
        QTEST(prompts.asked, "dialogs");
    }

    // "No!" holds the focus and no button is the default, so Enter at once answers No.
    void saveChangesPromptAnswers()
    {
        // Add to Favorites!, Save as File... and Enter at once.
        for (const int button : { 0, 1, 2 }) {
            CSaveChangesDlg dialog;
            QCOMPARE(texts(dialog),
                QStringList({ "Save Changes", "Would you like to save these changes?", "Add to Favorites!",
                    "Save as File...", "No!" }));
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
            QCOMPARE(QApplication::focusWidget(), buttons[2]);
            button < 2 ? QTest::mouseClick(buttons[button], Qt::LeftButton)
                       : QTest::keyClick(buttons[2], Qt::Key_Return);
            QCOMPARE(
                std::pair(dialog.isHidden(), dialog.result()), std::pair(true, QList<int> { 1058, 1057, 0 }[button]));
        }
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
