// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>
#include <vector>

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

class QProcess;

// A camera that Qt Multimedia lists as a real device: a GStreamer test
// source published as a PipeWire video node. It serves one consumer; the
// process ends with the object, or earlier with unplug().
class VirtualCamera {
public:
    enum class Picture {
        // SMPTE colour bars with a patch of snow at the bottom right that
        // changes with every frame.
        Bars,
        // All green.
        Green,
        // Negotiates a format but never sends a frame.
        Silent,
    };

    ~VirtualCamera();
    const QString& name() const { return cameraName; }
    // Ends the provider, as when the camera is pulled out.
    void unplug();

private:
    friend class VirtualCameraStack;
    VirtualCamera(std::unique_ptr<QProcess> process, const QString& name);
    std::unique_ptr<QProcess> process;
    QString cameraName;
};

// A private camera stack for this process: a session bus, PipeWire and
// WirePlumber in an empty runtime folder of their own, with no network. It
// points this process's XDG_RUNTIME_DIR and DBUS_SESSION_BUS_ADDRESS at
// itself, so it must be made before Qt Multimedia first looks for devices.
// Every process it starts ends by its id when the stack (or the camera)
// goes, newest first, also when a test fails half-way.
class VirtualCameraStack {
public:
    VirtualCameraStack();
    ~VirtualCameraStack();
    VirtualCameraStack(const VirtualCameraStack&) = delete;
    VirtualCameraStack& operator=(const VirtualCameraStack&) = delete;

    // The programs and plugins the stack needs that this machine lacks
    // (empty when all are there).
    static QStringList missing();
    // Empty when the stack runs, else why it does not.
    const QString& failure() const { return error; }

    // Starts a camera of that name, pixel format (GStreamer's name: BGRx,
    // YUY2, NV12, I420), size and frame rate, and waits (at most five
    // seconds) until Qt lists it. Null, with failure() set, when it did not
    // appear.
    std::unique_ptr<VirtualCamera> plugIn(const QString& name, const QString& format = QStringLiteral("BGRx"),
        QSize size = { 640, 480 }, int framesPerSecond = 15,
        VirtualCamera::Picture picture = VirtualCamera::Picture::Bars);

    // Waits (at most `ms`) until Qt lists a camera of that name, or no
    // longer does; true when it came to pass.
    static bool waitForListing(const QString& name, bool listed, int ms = 5000);

private:
    QProcess* launch(const QString& program, const QStringList& arguments);
    bool waitForFile(const QString& name, int ms);

    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> daemons;
    QString error;
    bool running = false;
    QByteArray oldRuntimeDir;
    QByteArray oldBus;
};
