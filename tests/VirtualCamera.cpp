// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "VirtualCamera.h"

#include <QCameraDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <signal.h>
#include <sys/prctl.h>

namespace {

// A process that ends with the test, also when the test crashes and no
// destructor runs.
std::unique_ptr<QProcess> newProcess()
{
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    return process;
}

// Ends a process by its id: asked first, forced when it does not go.
void end(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

QString tail(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    return QString::fromLocal8Bit(text.right(600));
}

} // namespace

VirtualCamera::VirtualCamera(std::unique_ptr<QProcess> process, const QString& name)
    : process(std::move(process))
    , cameraName(name)
{
}

VirtualCamera::~VirtualCamera()
{
    unplug();
}

void VirtualCamera::unplug()
{
    end(*process);
}

QStringList VirtualCameraStack::missing()
{
    QStringList absent;
    for (const char* program : { "dbus-daemon", "pipewire", "wireplumber", "gst-launch-1.0", "gst-inspect-1.0" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
            absent << QString::fromLatin1(program);
    }
    if (!absent.isEmpty())
        return absent;
    for (const char* element : { "videotestsrc", "valve", "pipewiresink" }) {
        QProcess inspect;
        inspect.setStandardOutputFile(QProcess::nullDevice());
        inspect.start(QStringLiteral("gst-inspect-1.0"), { QString::fromLatin1(element) });
        if (!inspect.waitForFinished(10000) || inspect.exitStatus() != QProcess::NormalExit || inspect.exitCode() != 0)
            absent << QStringLiteral("GStreamer element %1").arg(QString::fromLatin1(element));
    }
    return absent;
}

VirtualCameraStack::VirtualCameraStack()
    : oldRuntimeDir(qgetenv("XDG_RUNTIME_DIR"))
    , oldBus(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
{
    if (!runtime.isValid()) {
        error = QStringLiteral("no temporary folder");
        return;
    }
    // QTemporaryDir makes the folder for its owner only (mode 700), as a
    // runtime folder must be.
    const QByteArray bus = "unix:path=" + QFile::encodeName(runtime.filePath(QStringLiteral("bus")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
    qunsetenv("PIPEWIRE_REMOTE");
    qunsetenv("PIPEWIRE_RUNTIME_DIR");

    launch(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
            QStringLiteral("--address=") + QString::fromLocal8Bit(bus) });
    if (!waitForFile(QStringLiteral("bus"), 5000)) {
        error
            = QStringLiteral("dbus-daemon did not start: ") + tail(runtime.filePath(QStringLiteral("dbus-daemon.log")));
        return;
    }
    launch(QStringLiteral("pipewire"), {});
    if (!waitForFile(QStringLiteral("pipewire-0"), 5000)) {
        error = QStringLiteral("pipewire did not start: ") + tail(runtime.filePath(QStringLiteral("pipewire.log")));
        return;
    }
    launch(QStringLiteral("wireplumber"), {});
    // WirePlumber links a camera to its consumer; it is ready once it is
    // one of PipeWire's clients.
    QElapsedTimer clock;
    clock.start();
    bool ready = false;
    while (!ready && clock.elapsed() < 5000) {
        QProcess list;
        list.start(QStringLiteral("pw-cli"), { QStringLiteral("ls"), QStringLiteral("Client") });
        list.waitForFinished(2000);
        ready = list.readAllStandardOutput().contains("WirePlumber");
        if (!ready)
            QThread::msleep(50);
    }
    if (!ready) {
        error
            = QStringLiteral("wireplumber did not start: ") + tail(runtime.filePath(QStringLiteral("wireplumber.log")));
        return;
    }
    running = true;
    // Qt's device list starts empty: PipeWire's device provider lists a
    // camera that is already there when the list starts twice (Qt 6.4),
    // and one copy stays listed after the camera goes.
    QMediaDevices::videoInputs();
}

VirtualCameraStack::~VirtualCameraStack()
{
    for (auto process = daemons.rbegin(); process != daemons.rend(); ++process)
        end(**process);
    qputenv("XDG_RUNTIME_DIR", oldRuntimeDir);
    qputenv("DBUS_SESSION_BUS_ADDRESS", oldBus);
}

QProcess* VirtualCameraStack::launch(const QString& program, const QStringList& arguments)
{
    auto process = newProcess();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // State and configuration of the daemons stay in the private folder.
    environment.insert(QStringLiteral("XDG_STATE_HOME"), runtime.filePath(QStringLiteral("state")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), runtime.filePath(QStringLiteral("config")));
    process->setProcessEnvironment(environment);
    const QString log = runtime.filePath(program + QStringLiteral(".log"));
    process->setStandardOutputFile(log, QIODevice::Append);
    process->setStandardErrorFile(log, QIODevice::Append);
    process->start(program, arguments);
    process->waitForStarted(5000);
    daemons.push_back(std::move(process));
    return daemons.back().get();
}

bool VirtualCameraStack::waitForFile(const QString& name, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(runtime.filePath(name))) {
        if (clock.elapsed() > ms || daemons.back()->state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    }
    return true;
}

bool VirtualCameraStack::waitForListing(const QString& name, bool listed, int ms)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool found = false;
        for (const QCameraDevice& device : QMediaDevices::videoInputs())
            found |= device.description() == name;
        if (found == listed)
            return true;
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

std::unique_ptr<VirtualCamera> VirtualCameraStack::plugIn(
    const QString& name, const QString& format, QSize size, int framesPerSecond, VirtualCamera::Picture picture)
{
    if (!running)
        return nullptr;
    const QString pattern
        = picture == VirtualCamera::Picture::Green ? QStringLiteral("green") : QStringLiteral("smpte");
    QStringList pipeline = { QStringLiteral("videotestsrc"), QStringLiteral("is-live=true"),
        QStringLiteral("pattern=") + pattern, QStringLiteral("!"),
        QStringLiteral("video/x-raw,format=%1,width=%2,height=%3,framerate=%4/1")
            .arg(format)
            .arg(size.width())
            .arg(size.height())
            .arg(framesPerSecond) };
    // The valve passes the format on but drops every frame.
    if (picture == VirtualCamera::Picture::Silent)
        pipeline << QStringLiteral("!") << QStringLiteral("valve") << QStringLiteral("drop=true")
                 << QStringLiteral("drop-mode=forward-sticky-events");
    pipeline << QStringLiteral("!") << QStringLiteral("pipewiresink") << QStringLiteral("mode=provide")
             << QStringLiteral("stream-properties=\"props,media.class=Video/Source,node.description=%1\"").arg(name);

    auto process = newProcess();
    const QString log = runtime.filePath(QStringLiteral("camera-%1.log").arg(name));
    process->setStandardOutputFile(log);
    process->setStandardErrorFile(log, QIODevice::Append);
    process->start(QStringLiteral("gst-launch-1.0"), pipeline);
    std::unique_ptr<VirtualCamera> camera(new VirtualCamera(std::move(process), name));
    if (!waitForListing(name, true)) {
        error = QStringLiteral("camera %1 was not listed: ").arg(name) + tail(log);
        return nullptr;
    }
    return camera;
}
