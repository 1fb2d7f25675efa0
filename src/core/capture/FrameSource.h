// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class QVideoFrame;

// The cameras as the Video Window sees them: one chosen camera that delivers
// frames to a handler (on any thread) while started. Kept free of Qt
// Multimedia types other than the frame so that tests can stand in for it.
class FrameSource {
public:
    // A picture format of the chosen camera.
    struct Format {
        QSize size;
        double framesPerSecond = 0;
    };
    // One adjustable camera setting, its range and current value.
    struct Control {
        QString name;
        double minimum = 0;
        double maximum = 1;
        double value = 0;
    };
    using FrameHandler = std::function<void(const QVideoFrame&)>;
    using ChangeHandler = std::function<void()>;

    virtual ~FrameSource() = default;

    virtual QStringList cameras() const = 0;
    virtual int currentCamera() const = 0;
    // Switches to another camera; it starts stopped.
    virtual void selectCamera(int index) = 0;
    virtual void setFrameHandler(FrameHandler handler) = 0;
    virtual void start() = 0;
    // No frame reaches the handler once this returns.
    virtual void stop() = 0;
    virtual QList<Format> formats() const = 0;
    virtual int currentFormat() const = 0;
    // Makes `index` the camera's format; the frame size it gives.
    virtual QSize applyFormat(int index) = 0;
    virtual QList<Control> controls() const = 0;
    virtual void applyControls(const QList<Control>& controls) = 0;

    // The chosen camera's name.
    virtual QString cameraName() const { return cameras().value(currentCamera()); }
    // False once the chosen camera has been disconnected; it stays false
    // until another camera is selected.
    virtual bool cameraPresent() const { return true; }
    // Called on the UI thread when cameras come or go, or the chosen one
    // is found disconnected.
    virtual void setChangeHandler(ChangeHandler) { }
};
