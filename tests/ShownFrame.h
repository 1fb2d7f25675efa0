// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QAction>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>

#include "ScriptedPrompts.h"
#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "ui/app/CMainFrame.h"
#include "ui/video/CVideoWnd.h"

// The main window shown on screen with settings of its own and a white
// picture, past the measuring prompts (both answered "don't show again").
struct ShownFrame {
    explicit ShownFrame(const QString& ini)
        : settings(ini)
        , frame(settings, prompts)
    {
        prompts.calibrateAnswer = { false, true };
        prompts.magnificationDontShow = true;
        frame.resize(1000, 800);
        frame.show();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        doc().FrameBuffer.image().fill(Qt::white);
    }
    CVideoWnd& video() { return frame.imagePane().videoWnd(); }
    ImageDocument& doc() { return frame.imagePane().imageDocument(); }
    CTool* tool() { return doc().activeTool(); }
    // A command's action, its state refreshed as on the event loop's next turn.
    QAction* action(int id)
    {
        QCoreApplication::processEvents();
        return frame.action(id);
    }
    // Client coordinates of an image point (the default border is 20).
    static QPoint at(QPoint image) { return image + QPoint(20, 20); }

    // What the user does, through the window system. Between two inputs the
    // event loop has its turn, as it has between a user's key strokes.
    // The window point over the middle of an image pixel, at any zoom.
    QPoint onWindow(QPoint image) { return video().mapTo(&frame, video().toClient(image)); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QCoreApplication::processEvents();
        QTest::keyClick(frame.windowHandle(), key, modifiers);
    }
    void mouse(QTest::MouseAction action, QPoint image, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
        Qt::MouseButton button = Qt::LeftButton)
    {
        QCoreApplication::processEvents();
        mouseOnWindow(action, onWindow(image), modifiers, button);
    }
    void mouseOnWindow(QTest::MouseAction action, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
        Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseEvent(
            action, frame.windowHandle(), action == QTest::MouseMove ? Qt::NoButton : button, modifiers, at);
    }
    void click(QPoint image) { mouse(QTest::MouseClick, image); }
    // A press at one image point, a move to another and the release there.
    void drag(QPoint from, QPoint to)
    {
        mouse(QTest::MousePress, from);
        mouse(QTest::MouseMove, to);
        mouse(QTest::MouseRelease, to);
    }
    // The tool of `key`, laid from one image point to another.
    void lay(Qt::Key tool, QPoint from, QPoint to)
    {
        key(tool);
        drag(from, to);
    }
    // A command's state once the refresh the last input scheduled has run.
    bool enabled(int id)
    {
        QCoreApplication::processEvents();
        return frame.action(id)->isEnabled();
    }
    bool checked(int id)
    {
        QCoreApplication::processEvents();
        return frame.action(id)->isChecked();
    }
    // Turns the mouse wheel by `notches` (up when positive) over a window point.
    void wheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers)
    {
        QCoreApplication::processEvents();
        QWheelEvent event(
            at, frame.mapToGlobal(at), {}, QPoint(0, 120 * notches), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        // As the window system delivers it: a widget that ignores it passes it on to its parent.
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(frame.windowHandle(), &event);
        QCoreApplication::processEvents();
    }

    ScriptedPrompts prompts;
    SettingsStore settings;
    CMainFrame frame;
};
