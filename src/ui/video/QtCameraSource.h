// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>
#include <mutex>

#include "core/capture/FrameSource.h"

class QCamera;
class QMediaCaptureSession;
class QVideoSink;

// The cameras through Qt Multimedia: a QCamera in a capture session whose
// video sink hands every frame to the handler.
class QtCameraSource : public FrameSource {
public:
    // The first camera, or null when there is none.
    static std::unique_ptr<FrameSource> openDefault();

    QtCameraSource();
    ~QtCameraSource() override;

    QStringList cameras() const override;
    int currentCamera() const override;
    void selectCamera(int index) override;
    void setFrameHandler(FrameHandler handler) override;
    void start() override;
    void stop() override;
    QList<Format> formats() const override;
    int currentFormat() const override;
    QSize applyFormat(int index) override;
    QList<Control> controls() const override;
    void applyControls(const QList<Control>& controls) override;

private:
    int index = 0;
    std::unique_ptr<QMediaCaptureSession> session;
    std::unique_ptr<QVideoSink> sink;
    std::unique_ptr<QCamera> camera;
    // Held while a frame is handed on, so that once stop() returns no frame
    // is in the handler.
    std::mutex handlerLock;
    bool running = false;
    FrameHandler handler;
};
