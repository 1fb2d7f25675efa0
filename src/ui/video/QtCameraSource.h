// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include <QCameraDevice>

#include "core/capture/FrameSource.h"

class QCamera;
class QMediaCaptureSession;
class QMediaDevices;
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
    QString cameraName() const override;
    bool cameraPresent() const override;
    void setChangeHandler(ChangeHandler handler) override;

private:
    void devicesChanged();
    void announce();

    // The chosen camera, found again in the device list by its id.
    QCameraDevice device;
    bool present = false;
    // The device list as last seen, to tell which cameras went.
    QList<QCameraDevice> known;
    std::unique_ptr<QMediaDevices> devices;
    ChangeHandler changed;
    // Frames the sink has delivered, on any thread.
    std::atomic<quint64> frameCount { 0 };
    std::unique_ptr<QMediaCaptureSession> session;
    std::unique_ptr<QVideoSink> sink;
    std::unique_ptr<QCamera> camera;
    // Held while a frame is handed on, so that once stop() returns no frame
    // is in the handler.
    std::mutex handlerLock;
    bool running = false;
    FrameHandler handler;
};
