// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "MessageLog.h"
#include "ScriptedPrompts.h"
#include "ShownFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "calibration/CCalibrateDlg.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/CVideoWnd.h"

using Points = QVector<QPoint>;

class TestInteraction : public QObject {
    Q_OBJECT

private:
    QString iniPath() const { return dir.filePath(QStringLiteral("Scopique.conf")); }

    // The shown frame, with keys and pointer moves.
    struct Window : ShownFrame {
        using ShownFrame::ShownFrame;
        void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
        {
            QTest::keyClick(&frame, key, modifiers);
        }
        void move(QPoint image, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
        {
            QMouseEvent event(QEvent::MouseMove, at(image), video().mapToGlobal(at(image)), Qt::NoButton,
                              Qt::LeftButton, modifiers);
            QApplication::sendEvent(&video(), &event);
        }
    };

    QTemporaryDir dir;

private slots:
    void init() { QFile::remove(iniPath()); }

    void toolKeyTogglesItsTool()
    {
        Window w(iniPath());
        w.key(Qt::Key_L);
        QVERIFY(w.tool());
        QCOMPARE(w.tool()->kind, int(KindLine));
        QCOMPARE(w.prompts.asked, (QStringList {"calibrateNow", "magnification+check"}));
        QVERIFY(w.frame.action(ID_LINE)->isChecked());
        // Both answers said "Don't show me this again".
        w.key(Qt::Key_L);
        QVERIFY(!w.tool());
        w.key(Qt::Key_R);
        QCOMPARE(w.tool()->kind, int(KindRectangle));
        QCOMPARE(w.prompts.asked.size(), 2);
    }

    void pointerDrivesTheTool()
    {
        Window w(iniPath());
        w.frame.dispatch(ID_LINE);
        QTest::mousePress(&w.video(), Qt::LeftButton, {}, QPoint(120, 70));
        QCOMPARE(w.tool()->points, (Points {{100, 60}, {100, 50}, {100, 50}}));
        w.move({130, 90});
        QTest::mouseRelease(&w.video(), Qt::LeftButton, {}, w.at({130, 90}));
        QCOMPARE(w.tool()->points[2], QPoint(130, 90));
        QCOMPARE(w.tool()->current, -1);
        QCOMPARE(w.frame.statusPane(59142)->text(), QStringLiteral("X=130"));

        // Grab end 2; Shift mid-drag moves everything, released it moves the end alone.
        QTest::mousePress(&w.video(), Qt::LeftButton, {}, w.at({130, 90}));
        w.move({140, 90}, Qt::ShiftModifier);
        QCOMPARE(w.tool()->points, (Points {{110, 60}, {110, 50}, {140, 90}}));
        w.move({150, 95});
        QCOMPARE(w.tool()->points, (Points {{110, 60}, {110, 50}, {150, 95}}));
        QTest::mouseRelease(&w.video(), Qt::LeftButton, {}, w.at({150, 95}));

        // A double-click acts as one press: the second press reaches no tool.
        QTest::mouseDClick(&w.video(), Qt::LeftButton, {}, w.at({300, 300}));
        QCOMPARE(w.tool()->points[2], QPoint(150, 95));
    }

    void polygonEndsOnDoubleClick()
    {
        Window w(iniPath());
        w.frame.dispatch(ID_POLYGON);
        const QPoint a(50, 50), b(150, 60), c(100, 150);
        QTest::mouseClick(&w.video(), Qt::LeftButton, {}, w.at(a));
        w.move(b);
        QTest::mouseClick(&w.video(), Qt::LeftButton, {}, w.at(b));
        w.move(c);
        QVERIFY(!w.tool()->placed);
        QTest::mouseDClick(&w.video(), Qt::LeftButton, {}, w.at(c));
        QVERIFY(w.tool()->placed);
        QCOMPARE(w.tool()->points, (Points {{50, 60}, a, b, c}));
    }

    void arrowKeysNudge_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<Points>("expected");
        const Points line {{100, 60}, {100, 50}, {130, 90}};
        QTest::newRow("whole tool") << int(Qt::NoModifier) << Points {{99, 60}, {99, 50}, {129, 90}};
        QTest::newRow("Ctrl: end 2") << int(Qt::ControlModifier) << Points {{100, 60}, {100, 50}, {129, 90}};
        QTest::newRow("Shift: end 1") << int(Qt::ShiftModifier) << Points {{100, 60}, {99, 50}, {130, 90}};
        QTest::newRow("Ctrl+Shift: label") << int(Qt::ControlModifier | Qt::ShiftModifier)
                                           << Points {{99, 60}, {100, 50}, {130, 90}};
    }
    void arrowKeysNudge()
    {
        QFETCH(int, modifiers);
        QFETCH(Points, expected);
        Window w(iniPath());
        w.frame.dispatch(ID_LINE);
        w.tool()->Press({100, 50});
        w.tool()->Drag({130, 90}, false);
        w.tool()->current = -1;
        w.key(Qt::Key_Left, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.tool()->points, expected);
        QCOMPARE(w.tool()->current, -1);
    }

    void replacingAPlacedToolOffersToBurnIt()
    {
        Window w(iniPath());
        w.prompts.burnAnswer = {true, false};
        w.frame.dispatch(ID_LINE);
        w.tool()->Press({100, 50});
        w.tool()->Drag({200, 50}, false);
        w.frame.dispatch(ID_RECTANGLE);
        QCOMPARE(w.prompts.asked.count(QStringLiteral("burnNow")), 1);
        QVERIFY(w.video().ImageChanged);
        const QImage& image = w.video().FrameBuffer.image();
        QCOMPARE(image.pixel(150, 50), qRgb(0, 0, 0));
        // Burnt without handles.
        QCOMPARE(image.pixel(97, 50), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(103, 47), qRgb(255, 255, 255));

        // "Don't show me this again" lasts: the next replacement asks nothing.
        w.prompts.burnAnswer = {false, true};
        w.tool()->Press({10, 10});
        w.frame.dispatch(ID_ARROW);
        w.tool()->Press({10, 10});
        w.frame.dispatch(ID_TEXT);
        QCOMPARE(w.prompts.asked.count(QStringLiteral("burnNow")), 2);
    }

    void burnOnWithoutAPlacedToolChangesNoPixel()
    {
        Window w(iniPath());
        w.frame.dispatch(ID_RETICULE);
        const QImage before = w.video().FrameBuffer.image().copy();
        w.video().onCommand(ID_BURN_ON);
        QVERIFY(w.video().ImageChanged);
        QCOMPARE(w.video().FrameBuffer.image(), before);
    }

    void calibrationToolGoesWithoutAsking()
    {
        Window w(iniPath());
        w.prompts.calibrateAnswer = {true, false};
        w.frame.dispatch(ID_LINE);
        // Yes starts a calibration and makes no Line.
        QCOMPARE(w.tool()->kind, int(KindCalibrate));
        QCOMPARE(w.tool()->points[1], QPoint(320, 240));
        QCOMPARE(w.tool()->points[2], QPoint(330, 240));
        QVERIFY(w.video().calibrateDialog());
        w.frame.updateCommandUI();
        QVERIFY(!w.frame.action(ID_LINE)->isEnabled());
        // A vertical calibration replaces it: no burn prompt, one dialog.
        w.frame.dispatch(ID_CALIBRATE_VERTICAL);
        QCOMPARE(w.tool()->kind, int(KindCalibrateVertical));
        QVERIFY(!w.prompts.asked.contains(QStringLiteral("burnNow")));
        QCOMPARE(w.video().calibrateDialog()->windowTitle(), QStringLiteral("Calibrate Vertical"));
        w.video().calibrateDialog()->reject();
        QVERIFY(!w.tool());
    }

    void magnificationReachesTheActiveTool()
    {
        Window w(iniPath());
        w.video().calibration.SetScale(0.01);
        w.frame.dispatch(ID_LINE);
        w.prompts.magnificationAnswer = 200;
        w.frame.dispatch(ID_SET_MAGNIFICATION);
        QCOMPARE(w.prompts.asked.last(), QStringLiteral("magnification"));
        QCOMPARE(w.tool()->scaleX, 0.005);
        QCOMPARE(w.tool()->scaleY, 0.005);
        QCOMPARE(w.frame.statusPane(59144)->text(), QStringLiteral("Mag=200"));
    }

    void commandStates_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<QList<int>>("enabled");
        QTest::addColumn<QList<int>>("checked");
        const QList<int> tools {ID_HORIZONTAL, ID_VERTICAL, ID_LINE, ID_ANGLE, ID_RECTANGLE, ID_CIRCLE,
                                ID_POLYGON, ID_RETICULE, ID_TEXT, ID_ARROW};
        const QList<int> always {ID_CALIBRATE, ID_CALIBRATE_VERTICAL, ID_SET_MAGNIFICATION, ID_NUDGE_LEFT};
        QTest::newRow("no tool") << 0 << tools + always << QList<int> {};
        QTest::newRow("placed line") << int(KindLine)
                                     << tools + always + QList<int> {ID_RESET_TOOL, ID_BURN_ON, ID_TOOL_OPTIONS}
                                     << QList<int> {ID_LINE};
        QTest::newRow("calibration") << int(KindCalibrate) << always + QList<int> {ID_TOOL_OPTIONS}
                                     << QList<int> {};
    }
    void commandStates()
    {
        QFETCH(int, tool);
        QFETCH(QList<int>, enabled);
        QFETCH(QList<int>, checked);
        Window w(iniPath());
        MessageLog log;
        if (tool) {
            w.video().activeTool = ToolFactory::create(tool, w.settings, log);
            w.video().activeTool->Press({100, 100});
        }
        w.frame.updateCommandUI();
        for (int id : {ID_HORIZONTAL, ID_VERTICAL, ID_LINE, ID_ANGLE, ID_RECTANGLE, ID_CIRCLE, ID_POLYGON,
                       ID_RETICULE, ID_TEXT, ID_ARROW, ID_RESET_TOOL, ID_BURN_ON, ID_TOOL_OPTIONS, ID_CALIBRATE,
                       ID_CALIBRATE_VERTICAL, ID_SET_MAGNIFICATION, ID_NUDGE_LEFT}) {
            QVERIFY2(w.frame.action(id)->isEnabled() == enabled.contains(id), qPrintable(QString::number(id)));
            QVERIFY2(w.frame.action(id)->isChecked() == checked.contains(id), qPrintable(QString::number(id)));
        }
        w.video().activeTool.reset();
    }

    void rightPressInTheTitleBlock_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("inside") << QPoint(421, 421) << "titleBlock";
        QTest::newRow("left of it") << QPoint(420, 421) << "tool";
        QTest::newRow("above it") << QPoint(421, 420) << "tool";
    }
    void rightPressInTheTitleBlock()
    {
        QFETCH(QPoint, at);
        QFETCH(QString, dialog);
        Window w(iniPath());
        w.frame.dispatch(ID_BORDER_NONE);
        w.video().TitleBlock = true;
        w.frame.dispatch(ID_LINE);
        w.prompts.asked.clear();
        QTest::mousePress(&w.video(), Qt::RightButton, {}, at);
        QCOMPARE(w.prompts.asked, QStringList {dialog});
    }

    void textDialogComesFirst()
    {
        Window w(iniPath());
        w.prompts.toolDialogAccept = false;
        w.frame.dispatch(ID_TEXT);
        QCOMPARE(w.prompts.asked, QStringList {"text"});
        QCOMPARE(w.tool()->kind, int(KindText));
        QVERIFY(w.tool()->label.isEmpty());
    }

    void closingWithAPlacedToolAsksToBurnFirst()
    {
        Window w(iniPath());
        w.prompts.burnAnswer = {true, false};
        w.frame.dispatch(ID_LINE);
        w.tool()->Press({100, 50});
        w.frame.close();
        QCOMPARE(w.prompts.asked.mid(2), (QStringList {"burnNow", "saveChanges"}));
    }
};

QTEST_MAIN(TestInteraction)
#include "tst_interaction.moc"
