// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

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
    // Client coordinates of an image point (the default border is 20).
    static QPoint at(QPoint image) { return image + QPoint(20, 20); }

    // What the user does, through the window system. Between two inputs the
    // event loop has its turn, as it has between a user's key strokes.
    QPoint onWindow(QPoint image)
    {
        const int border = doc().BorderWidth;
        return video().mapTo(&frame, image + QPoint(border, border));
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QCoreApplication::processEvents();
        QTest::keyClick(frame.windowHandle(), key, modifiers);
    }
    void mouse(QTest::MouseAction action, QPoint image, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
        Qt::MouseButton button = Qt::LeftButton)
    {
        QCoreApplication::processEvents();
        QTest::mouseEvent(action, frame.windowHandle(), action == QTest::MouseMove ? Qt::NoButton : button, modifiers,
            onWindow(image));
    }

    ScriptedPrompts prompts;
    SettingsStore settings;
    CMainFrame frame;
};
