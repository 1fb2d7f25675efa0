// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include <QCameraDevice>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>

#include <signal.h>
#include <sys/prctl.h>

// A process of the camera stack, ended by its id with this object, and with
// the test process even when that dies without running a destructor. A
// camera ended is one pulled out.
struct StackProcess : QProcess {
    StackProcess()
    {
        setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    }
    ~StackProcess() override { end(); }
    void end()
    {
        kill();
        waitForFinished();
    }
};

// A private camera stack for this process: a session bus, PipeWire and
// WirePlumber in an empty runtime folder of their own (mode 700), with no
// network. It points this process's XDG_RUNTIME_DIR and
// DBUS_SESSION_BUS_ADDRESS at itself, so it must be made before Qt
// Multimedia first looks for devices. Its processes end newest first.
class VirtualCameraStack {
public:
    // SMPTE colour bars with a patch of snow at the bottom right that changes
    // with every frame, or a format negotiated but never a frame.
    enum class Picture { Bars, Silent };

    // The programs the stack needs that this machine lacks.
    static QStringList missing()
    {
        QStringList absent;
        for (const char* program : { "dbus-daemon", "pipewire", "wireplumber", "pw-cli", "gst-launch-1.0" })
            if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
                absent << QLatin1String(program);
        return absent;
    }

    VirtualCameraStack()
    {
        const QString bus = "unix:path=" + runtime.filePath("bus");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("DBUS_SESSION_BUS_ADDRESS", QFile::encodeName(bus));
        // State and configuration of the daemons stay in the private folder.
        qputenv("XDG_STATE_HOME", QFile::encodeName(runtime.filePath("state")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(runtime.filePath("config")));
        qunsetenv("PIPEWIRE_REMOTE");
        qunsetenv("PIPEWIRE_RUNTIME_DIR");
        const auto made = [this](const char* file) { return [=] { return QFile::exists(runtime.filePath(file)); }; };
        // WirePlumber links a camera to its consumer: ready once it is one of PipeWire's clients.
        const auto linking = [] {
            QProcess list;
            list.start("pw-cli", { "ls", "Client" });
            return list.waitForFinished(2000) && list.readAllStandardOutput().contains("WirePlumber");
        };
        const std::tuple<QString, QStringList, std::function<bool()>> daemons[]
            = { { "dbus-daemon", { "--session", "--nofork", "--nopidfile", "--address=" + bus }, made("bus") },
                  { "pipewire", {}, made("pipewire-0") }, { "wireplumber", {}, linking } };
        for (const auto& [program, arguments, ready] : daemons) {
            processes.push_back(start(program, arguments, program));
            if (!QTest::qWaitFor(ready, 5000)) {
                error = program + " did not start: " + logTail(program);
                return;
            }
        }
        // Qt's device list starts empty: PipeWire's device provider lists a
        // camera already there when the list starts twice (Qt 6.4), and one
        // copy stays listed after the camera goes.
        QMediaDevices::videoInputs();
        running = true;
    }
    ~VirtualCameraStack()
    {
        while (!processes.empty())
            processes.pop_back();
    }
    // Empty when the stack runs, else why it does not.
    const QString& failure() const { return error; }

    // Starts a camera of that name, pixel format (GStreamer's name: BGRx,
    // YUY2, NV12, I420), size and frame rate, and waits until Qt lists it.
    // Null, with failure() set, when it did not appear.
    std::unique_ptr<StackProcess> plugIn(const QString& name, const QString& format = "BGRx", QSize size = { 640, 480 },
        Picture picture = Picture::Bars, int framesPerSecond = 15)
    {
        if (!running)
            return nullptr;
        // The valve passes the format on but drops every frame.
        const QString valve = picture == Picture::Silent ? "valve drop=true drop-mode=forward-sticky-events ! " : "";
        const QString pipeline = "videotestsrc is-live=true pattern=smpte ! video/x-raw,format=%1,width=%2,height=%3,"
                                 "framerate=%4/1 ! %5pipewiresink mode=provide "
                                 "stream-properties=\"props,media.class=Video/Source,node.description=%6\"";
        auto camera = start("gst-launch-1.0",
            pipeline
                .arg(format, QString::number(size.width()), QString::number(size.height()),
                    QString::number(framesPerSecond), valve, name)
                .split(u' '),
            "camera-" + name);
        const auto listed = [&] {
            const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
            return std::any_of(devices.begin(), devices.end(), [&](auto& d) { return d.description() == name; });
        };
        if (QTest::qWaitFor(listed, 5000))
            return camera;
        error = "camera " + name + " was not listed: " + logTail("camera-" + name);
        return nullptr;
    }

private:
    std::unique_ptr<StackProcess> start(const QString& program, const QStringList& arguments, const QString& log)
    {
        auto process = std::make_unique<StackProcess>();
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(runtime.filePath(log + ".log"));
        process->start(program, arguments);
        return process;
    }
    QString logTail(const QString& log)
    {
        QFile file(runtime.filePath(log + ".log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(600)) : QString();
    }

    QTemporaryDir runtime;
    std::vector<std::unique_ptr<StackProcess>> processes;
    QString error;
    bool running = false;
};
