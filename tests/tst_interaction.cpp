// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QPrinter>
#include <QtTest>
#include <QtWidgets>

#include "DataRows.h"
#include "ShownFrame.h"
#include "TestImages.h"
#include "core/base/CommandIds.h"
#include "core/base/StatusPanes.h"
#include "core/tools/ToolKind.h"
#include "ui/calibration/CCalibrateDlg.h"

using Points = QVector<QPoint>;
using Keys = QList<QKeyCombination>;

namespace {

const QKeyCombination undo(Qt::ControlModifier, Qt::Key_Z), redo(Qt::ControlModifier, Qt::Key_Y);
// The shown frame, with tools laid by the user's keys and pointer.
struct Window : ShownFrame {
    using ShownFrame::ShownFrame;
    void move(QPoint image, Qt::KeyboardModifiers modifiers = {}) { mouse(QTest::MouseMove, image, modifiers); }
    // The tool of `key` laid by a click on one point, a drag between two, or (a polygon) clicks through the points
    // ended by a double-click on the last.
    void place(Qt::Key tool, const Points& at)
    {
        key(tool);
        if (at.size() == 2)
            return drag(at[0], at[1]);
        for (int i = 0; i + 1 < at.size(); ++i)
            click(at[i]), move(at[i + 1]);
        mouse(at.size() == 1 ? QTest::MouseClick : QTest::MouseDClick, at.last());
    }
    QString text(int id) { return action(id)->text(); }
    QImage picture() { return doc().FrameBuffer.image().copy(); }
    void press(QKeyCombination keys) { key(keys.key(), keys.keyboardModifiers()); }
};

} // namespace

class TestInteraction : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    // A polygon grows by clicks and ends on a double-click. A modal dialog opened meanwhile has the pointer
    // to itself, and the polygon goes on where it was.
    void polygonEndsOnDoubleClick()
    {
        Window w(iniPath());
        w.key(Qt::Key_P);
        w.click({ 50, 50 });
        w.move({ 150, 60 });
        QWidget* grabbedDuringDialog = &w.video();
        w.prompts.toolDialogChange = [&](CTool&) {
            QDialog dialog(&w.frame);
            QTimer::singleShot(0, &dialog, [&] { grabbedDuringDialog = QWidget::mouseGrabber(), dialog.accept(); });
            dialog.exec();
        };
        w.key(Qt::Key_O); // Options && Colors
        QCOMPARE(grabbedDuringDialog, nullptr);
        QCOMPARE(QWidget::mouseGrabber(), &w.video());
        w.click({ 150, 60 });
        w.move({ 100, 150 });
        QVERIFY(!w.enabled(ID_BURN_ON));
        w.mouse(QTest::MouseDClick, { 100, 150 });
        QCOMPARE(w.tool()->points, (Points { { 50, 60 }, { 50, 50 }, { 150, 60 }, { 100, 150 } }));
        QVERIFY(w.enabled(ID_BURN_ON));
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
    }

    void arrowKeysNudge_data()
    {
        // The tool's key, the arrow (or no key: a drag of end 2, holding the modifiers), the points that move (all
        // when empty) and by how much.
        columns<QKeyCombination, QKeyCombination, QList<int>, QPoint>("tool", "arrow", "moved", "step");
        const auto row = [](const char* name, QKeyCombination tool, QKeyCombination arrow, QList<int> moved,
                             QPoint step) { QTest::newRow(name) << tool << arrow << moved << step; };
        const Qt::KeyboardModifier ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        row("drag: end 2", Qt::Key_L, {}, { 2 }, { 10, 5 });
        row("Shift+drag: whole", Qt::Key_L, shift | Qt::Key_unknown, {}, { 10, 5 });
        row("line left: whole", Qt::Key_L, Qt::Key_Left, {}, { -1, 0 });
        row("line Ctrl+Up: end 2", Qt::Key_L, ctrl | Qt::Key_Up, { 2 }, { 0, -1 });
        row("line Shift+Down: end 1", Qt::Key_L, shift | Qt::Key_Down, { 1 }, { 0, 1 });
        row("line Ctrl+Shift+Left: label", Qt::Key_L, ctrl | shift | Qt::Key_Left, { 0 }, { -1, 0 });
        // The scale bar lies in its corner, away from the drag; every nudge moves it whole.
        row("scale bar Ctrl+Up: whole", Qt::Key_S, ctrl | Qt::Key_Up, {}, { 0, -1 });
        row("calibrate down: whole", shift | Qt::Key_H, Qt::Key_Down, {}, { 0, 1 });
    }
    void arrowKeysNudge()
    {
        const auto [tool, arrow, moved, step]
            = fetch<QKeyCombination, QKeyCombination, QList<int>, QPoint>("tool", "arrow", "moved", "step");
        Window w(iniPath());
        w.press(tool);
        // A calibration tool is laid by its command; the others by a drag.
        if (!(tool.keyboardModifiers() & Qt::ShiftModifier))
            w.drag({ 100, 50 }, { 130, 90 });
        Points expected = w.tool()->points;
        for (int i = 0; i < expected.size(); ++i)
            if (moved.isEmpty() || moved.contains(i))
                expected[i] += step;
        if (arrow.key() == Qt::Key_unknown) {
            w.mouse(QTest::MousePress, { 130, 90 });
            w.move({ 140, 95 }, arrow.keyboardModifiers());
            w.mouse(QTest::MouseRelease, { 140, 95 }, arrow.keyboardModifiers());
        } else {
            w.press(arrow);
        }
        QCOMPARE(w.tool()->points, expected);
        QCOMPARE(w.tool()->current, -1);
    }

    void rightPressInTheTitleBlock_data()
    {
        columns<QPoint, int, QString>("at", "zoomIn", "dialog"); // zoomIn: presses of +
        QTest::newRow("inside") << QPoint(421, 421) << 0 << "titleBlock";
        QTest::newRow("left of it") << QPoint(420, 421) << 0 << "tool";
        // At 2x the view pixel (421, 421) covers the client pixels 842 and 843.
        // At 1.5x the middle of client pixel 631 is view pixel 421.0.
        QTest::newRow("first client pixel in it at 1.5x") << QPoint(631, 631) << 1 << "titleBlock";
    }
    void rightPressInTheTitleBlock()
    {
        const auto [at, zoomIn] = fetch<QPoint, int>("at", "zoomIn");
        Window w(iniPath());
        for (int i = 0; i < zoomIn; ++i)
            w.key(Qt::Key_Plus);
        w.frame.dispatch(ID_BORDER_NONE);
        w.doc().TitleBlock = true;
        w.frame.dispatch(ID_LINE);
        w.prompts.asked.clear();
        QTest::mousePress(&w.video(), Qt::RightButton, {}, at);
        QTEST(w.prompts.asked.join(""), "dialog");
    }

    // A tool command answered Yes to the calibration question starts a calibration; calibrated by the user, a Line
    // reads in the unit and follows the magnification on both axes.
    void calibration()
    {
        Window w(iniPath());
        w.key(Qt::Key_M, Qt::ShiftModifier);
        w.press(undo);
        w.prompts.calibrateAnswer = { true, false };
        w.frame.dispatch(ID_LINE);
        // Yes starts a calibration and makes no Line.
        QCOMPARE(w.tool()->kind, int(KindCalibrate));
        QCOMPARE(w.tool()->points.mid(1, 2), (Points { { 320, 240 }, { 330, 240 } }));
        // Undo and Redo stay off like the other tool commands.
        QVERIFY(!w.enabled(ID_LINE) && !w.enabled(ID_EDIT_UNDO) && !w.enabled(ID_EDIT_REDO));
        QVERIFY(w.enabled(ID_TOOL_OPTIONS));
        // A vertical calibration replaces it: no burn prompt, one dialog.
        w.frame.dispatch(ID_CALIBRATE_VERTICAL);
        QVERIFY(!w.prompts.asked.contains(QStringLiteral("burnNow")));
        QCOMPARE(w.video().calibrateDialog()->windowTitle(), QStringLiteral("Calibrate Vertical"));
        // Cancel gives the tool commands back.
        w.video().calibrateDialog()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        QVERIFY(!w.tool());
        QVERIFY(w.enabled(ID_LINE) && w.enabled(ID_EDIT_REDO));
        // Calibrate: ends 101 pixels apart (100 measured) are 1 mm at 10X.
        w.key(Qt::Key_H, Qt::ShiftModifier);
        w.drag({ 330, 240 }, { 421, 240 });
        CCalibrateDlg* dialog = w.video().calibrateDialog();
        for (const auto& [field, text] : { std::pair("distance", "1.0"), { "magnification", "10" } }) {
            dialog->findChild<QLineEdit*>(QLatin1String(field))->selectAll();
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QLatin1String(field)), QLatin1String(text));
        }
        dialog->findChild<QRadioButton*>()->click(); // "mm"
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();

        // A Line 201 pixels across and down (200 measured) at 10X, then the objective changes to 20X.
        w.prompts.magnificationAnswer = 10;
        w.lay(Qt::Key_L, { 100, 100 }, { 301, 301 });
        QTRY_COMPARE(w.tool()->label, QStringLiteral("Distance = 2.83 mm"));
        w.prompts.magnificationAnswer = 20;
        w.key(Qt::Key_M);
        QCOMPARE(w.frame.statusPane(ID_INDICATOR_MAG)->text(), QStringLiteral("Mag=20"));
        QTRY_COMPARE(w.tool()->label, QStringLiteral("Distance = 1.41 mm"));
        w.key(Qt::Key_L); // the tool commands toggle: this L puts the Line away
        w.lay(Qt::Key_L, { 100, 200 }, { 301, 200 });
        QTRY_COMPARE(w.tool()->label, QStringLiteral("Distance = 1.00 mm"));
        // Closing with a placed tool asks to burn it in first.
        w.prompts.asked.clear();
        w.prompts.burnAnswer = { true, false };
        w.frame.close();
        QCOMPARE(w.prompts.asked, (QStringList { "burnNow", "saveChanges" }));
    }

    void historyFollowsTheKeys_data()
    {
        // A picture opened (0), Monochrome and Edge Enhance (1 and 2) in a history of a budget (in pictures' worth of
        // pixels; -1 the default gigabyte); then with a Line laid, a file opened by File > Open, when named (3: a
        // picture that opens); the keys the user presses; the picture shown and what Undo and Redo name
        // ("undo|redo"). An opened picture dismisses the tool (B then has nothing to burn) and starts a new history;
        // one that cannot be opened leaves the picture, its border, the tool and the history as they were.
        columns<double, QString, Keys, int, QString>("budget", "file", "keys", "picture", "names");
        const QKeyCombination redoShifted(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z), b(Qt::Key_B);
        QTest::newRow("all undone: as opened") << -1.0 << "" << Keys { undo, undo } << 0 << "|Monochrome";
        QTest::newRow("redone by Ctrl+Shift+Z")
            << -1.0 << "" << Keys { undo, undo, redoShifted } << 1 << "Monochrome|Edge Enhance";
        // Edge Enhance reads the lumas: on the colour picture it gives what it gave on the grey one.
        QTest::newRow("a new step ends the redo")
            << -1.0 << "" << Keys { undo, undo, QKeyCombination(Qt::ShiftModifier, Qt::Key_E) } << 2 << "Edge Enhance|";
        // The oldest steps go first, never the last one; exactly two pictures hold both filters.
        QTest::newRow("budget 0") << 0.0 << "" << Keys { undo, undo } << 1 << "|Edge Enhance";
        QTest::newRow("budget two pictures") << 2.0 << "" << Keys { undo, undo } << 0 << "|Monochrome";
        QTest::newRow("a picture opened") << -1.0 << "next.png" << Keys { undo, b } << 3 << "|";
        QTest::newRow("not a picture") << -1.0 << "notes.jpg" << Keys {} << 2 << "Edge Enhance|";
    }
    void historyFollowsTheKeys()
    {
        const auto [budget, file, keys, picture, names]
            = fetch<double, QString, Keys, int, QString>("budget", "file", "keys", "picture", "names");
        const QString undoName = names.section(QLatin1Char('|'), 0, 0), redoName = names.section(QLatin1Char('|'), 1);
        Window w(iniPath());
        const QString path = TestImages::write(dir.path(), QStringLiteral("slide.png"), TestImages::pattern(678, 518));
        w.frame.send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(path), 0);
        QList<QImage> pictures { w.picture() };
        if (budget >= 0)
            w.doc().setHistoryBudget(qint64(budget * double(pictures[0].sizeInBytes())));
        for (const Qt::Key filter : { Qt::Key_M, Qt::Key_E })
            w.key(filter, Qt::ShiftModifier), pictures << w.picture();
        pictures << TestImages::pattern(64, 48);
        const bool opens = file == "next.png";
        if (!file.isEmpty()) {
            w.lay(Qt::Key_L, { 100, 50 }, { 200, 50 });
            const CTool* line = w.tool();
            w.prompts.openFileAnswer = TestImages::writeBytes(
                dir.path(), file, opens ? TestImages::encode(pictures[3], "png") : "hello, this is not a picture");
            w.frame.action(ID_FILE_OPEN)->trigger();
            QCOMPARE(w.prompts.messages.filter(file).size(), opens ? 0 : 1);
            QVERIFY(opens ? !w.tool() : w.tool() == line && line->placed);
            QCOMPARE(w.prompts.asked.contains(QStringLiteral("burnNow")), opens);
            QCOMPARE(w.settings.readInt(QStringLiteral("Image"), QStringLiteral("BorderWidth"), -1), opens ? 0 : 19);
        }
        for (const QKeyCombination& pressed : keys)
            w.press(pressed);

        QCOMPARE(w.picture(), pictures[picture]);
        for (const auto& [id, text, name] : { std::tuple(ID_EDIT_UNDO, "&Undo %1\tCtrl+Z", undoName),
                 { ID_EDIT_REDO, "&Redo %1\tCtrl+Y", redoName } }) {
            QCOMPARE(w.enabled(id), !name.isEmpty());
            QCOMPARE(
                w.text(id), QString::fromLatin1(text).arg(name).replace(QLatin1String(" \t"), QLatin1String("\t")));
        }
        QCOMPARE(w.doc().ImageChanged(), picture == 1 || picture == 2);
    }

    void burnInComesBackExactly_data()
    {
        // A tool laid by its key and the pointer, in a bold, italic, underlined large label, then burnt in by B, by
        // another tool's key (answered Yes), by saving or by printing.
        columns<int, Points, QString>("toolKey", "at", "burnt by");
        const auto row = [](const char* name, Qt::Key key, Points at, const char* by = "B") {
            QTest::newRow(name) << int(key) << at << by;
        };
        row("line across", Qt::Key_L, { { 3, 2 }, { 636, 470 } });
        row("rectangle", Qt::Key_R, { { 50, 60 }, { 500, 300 } });
        row("circle", Qt::Key_C, { { 320, 240 }, { 420, 300 } });
        row("polygon", Qt::Key_P, { { 10, 10 }, { 600, 40 }, { 300, 470 } });
        row("text", Qt::Key_T, { { 500, 400 } });
        row("arrow", Qt::Key_W, { { 5, 5 } });
        row("line replaced by a rectangle", Qt::Key_L, { { 100, 50 }, { 200, 50 } }, "R");
        // Output composes the picture with no tool drawn over the burnt copy, and counts as a step.
        row("polygon saved", Qt::Key_P, { { 50, 50 }, { 150, 50 }, { 100, 150 } }, "save");
        row("polygon printed", Qt::Key_P, { { 50, 50 }, { 150, 50 }, { 100, 150 } }, "print");
    }
    void burnInComesBackExactly()
    {
        const auto [toolKey, at, by] = fetch<int, Points, QString>("toolKey", "at", "burnt by");
        Window w(iniPath());
        for (const auto& [key, value] :
            { std::pair("TextStyle", 0x77), { "FontSize", 7 }, { "FontFace", 2 }, { "ToolColor", 0x0000ff } })
            w.settings.writeInt(QStringLiteral("Tool"), QLatin1String(key), value);
        w.prompts.toolDialogChange = [](CTool& text) { text.label = QStringLiteral("Wfj_\ng|Q"); };
        w.prompts.burnAnswer = { true, false };
        w.prompts.saveFileAnswer = dir.filePath(QStringLiteral("saved.png"));
        const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
        w.prompts.printerSetup = [pdf](QPrinter& printer) { return printer.setOutputFileName(pdf), true; };
        // Every pixel differs from every other: a pixel put back in the wrong place would show.
        const QImage original = TestImages::pattern(640, 480);
        w.doc().FrameBuffer.image() = original;
        w.place(Qt::Key(toolKey), at);
        const auto [kind, points] = std::pair(w.tool()->kind, w.tool()->points);

        const bool output = by == "save" || by == "print";
        if (output)
            w.frame.action(by == "save" ? ID_FILE_SAVE : ID_FILE_PRINT)->trigger();
        else
            w.key(by == "R" ? Qt::Key_R : Qt::Key_B);
        const QImage burnt = w.picture();
        QVERIFY(burnt != original);
        // After output the tool is still on screen as it was.
        QCOMPARE(w.tool()->kind, by == "R" ? int(KindRectangle) : kind);
        QCOMPARE(w.tool()->placed, output);
        QCOMPARE(w.text(ID_EDIT_UNDO), QStringLiteral("&Undo Burn On\tCtrl+Z"));
        QCOMPARE(w.doc().ImageChanged(), by != "save"); // a saved picture counts as unchanged
        QCOMPARE(w.prompts.asked.count(QStringLiteral("burnNow")), by == "R" ? 1 : 0);
        if (by == "save")
            QCOMPARE(
                QImage(w.prompts.saveFileAnswer).convertToFormat(QImage::Format_RGB32).copy(20, 20, 640, 480), burnt);
        w.press(undo);
        QCOMPARE(w.picture(), original);
        QVERIFY(w.tool()->kind == kind && w.tool()->placed && w.tool()->points == points);
        QCOMPARE(w.doc().ImageChanged(), by == "save"); // unchanged as opened, changed from the saved file
        // The burn-in was all of the figure: the tool drawn without handles.
        QImage drawn = original.copy();
        QPainter painter(&drawn);
        w.tool()->showHandles = false;
        w.tool()->Draw(painter);
        painter.end();
        QCOMPARE(burnt, drawn);
        w.press(redo);
        QCOMPARE(w.picture(), burnt);
        QCOMPARE(w.tool()->placed, output);
        // The history holds the pixels the tool drew on, not the picture.
        QVERIFY(w.doc().historyBytes() < original.sizeInBytes() / 4);
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
