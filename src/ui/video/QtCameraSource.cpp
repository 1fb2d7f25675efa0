// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/QtCameraSource.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QTimer>
#include <QVideoSink>

namespace {

const QString exposureName = QStringLiteral("Exposure");
const QString exposureTimeName = QStringLiteral("Exposure time");
const QString whiteBalanceName = QStringLiteral("White balance");
const QString zoomName = QStringLiteral("Zoom");
const QString focusName = QStringLiteral("Focus");

// Long enough for a frame of any camera that streams at all.
constexpr int frameGapMs = 1000;

bool listed(const QList<QCameraDevice>& list, const QCameraDevice& device)
{
    for (const QCameraDevice& d : list) {
        if (d.id() == device.id())
            return true;
    }
    return false;
}

} // namespace

std::unique_ptr<FrameSource> QtCameraSource::openDefault()
{
    if (QMediaDevices::videoInputs().isEmpty())
        return nullptr;
    return std::make_unique<QtCameraSource>();
}

QtCameraSource::QtCameraSource()
    : devices(std::make_unique<QMediaDevices>())
    , session(std::make_unique<QMediaCaptureSession>())
    , sink(std::make_unique<QVideoSink>())
{
    session->setVideoSink(sink.get());
    // The sink may signal on the streaming thread: hand the frame on there.
    QObject::connect(
        sink.get(), &QVideoSink::videoFrameChanged, sink.get(),
        [this](const QVideoFrame& frame) {
            ++frameCount;
            std::lock_guard<std::mutex> hold(handlerLock);
            if (running && handler)
                handler(frame);
        },
        Qt::DirectConnection);
    // Queued: the signal comes from inside the media backend's device
    // watch, which a message box shown by the handler must not stall.
    QObject::connect(
        devices.get(), &QMediaDevices::videoInputsChanged, sink.get(), [this] { devicesChanged(); },
        Qt::QueuedConnection);
    known = QMediaDevices::videoInputs();
    selectCamera(0);
}

QtCameraSource::~QtCameraSource()
{
    stop();
    session->setCamera(nullptr);
    camera.reset();
}

QStringList QtCameraSource::cameras() const
{
    QStringList names;
    for (const QCameraDevice& device : QMediaDevices::videoInputs())
        names << device.description();
    return names;
}

int QtCameraSource::currentCamera() const
{
    const QList<QCameraDevice> list = QMediaDevices::videoInputs();
    for (int i = 0; i < list.size(); ++i) {
        if (present && list[i].id() == device.id())
            return i;
    }
    return -1;
}

void QtCameraSource::selectCamera(int i)
{
    const QList<QCameraDevice> list = QMediaDevices::videoInputs();
    if (i < 0 || i >= list.size())
        return;
    stop();
    session->setCamera(nullptr);
    device = list[i];
    present = true;
    camera = std::make_unique<QCamera>(device);
    session->setCamera(camera.get());
}

QString QtCameraSource::cameraName() const
{
    return device.description();
}

bool QtCameraSource::cameraPresent() const
{
    return present;
}

void QtCameraSource::setChangeHandler(ChangeHandler h)
{
    changed = std::move(h);
}

void QtCameraSource::announce()
{
    if (changed)
        changed();
}

void QtCameraSource::devicesChanged()
{
    const QList<QCameraDevice> now = QMediaDevices::videoInputs();
    bool sameNameWent = false;
    for (const QCameraDevice& d : known)
        sameNameWent |= d.description() == device.description() && !listed(now, d);
    known = now;
    if (present && !listed(now, device)) {
        present = false;
    } else if (present && running && sameNameWent) {
        // PipeWire's device provider can list one camera twice and drop
        // only one copy when it goes, so the chosen copy may outlive its
        // camera. A camera that still streams delivers a frame soon.
        const quint64 seen = frameCount;
        QTimer::singleShot(frameGapMs, sink.get(), [this, seen] {
            if (present && running && frameCount == seen) {
                present = false;
                announce();
            }
        });
    }
    announce();
}

void QtCameraSource::setFrameHandler(FrameHandler h)
{
    std::lock_guard<std::mutex> hold(handlerLock);
    handler = std::move(h);
}

void QtCameraSource::start()
{
    {
        std::lock_guard<std::mutex> hold(handlerLock);
        running = true;
    }
    if (camera)
        camera->start();
}

void QtCameraSource::stop()
{
    {
        std::lock_guard<std::mutex> hold(handlerLock);
        running = false;
    }
    if (camera)
        camera->stop();
}

QList<FrameSource::Format> QtCameraSource::formats() const
{
    QList<Format> list;
    if (camera) {
        for (const QCameraFormat& format : camera->cameraDevice().videoFormats())
            list << Format { format.resolution(), format.maxFrameRate() };
    }
    return list;
}

int QtCameraSource::currentFormat() const
{
    if (!camera)
        return -1;
    return camera->cameraDevice().videoFormats().indexOf(camera->cameraFormat());
}

QSize QtCameraSource::applyFormat(int i)
{
    if (!camera)
        return {};
    const QList<QCameraFormat> list = camera->cameraDevice().videoFormats();
    if (i < 0 || i >= list.size())
        return {};
    // A new format restarts the camera's stream (and PipeWire's GStreamer
    // source then drops the memory of frames still queued): not for the
    // format it already streams, nor when it has but one.
    if (list.size() > 1 && !(list[i] == camera->cameraFormat()))
        camera->setCameraFormat(list[i]);
    return list[i].resolution();
}

QList<FrameSource::Control> QtCameraSource::controls() const
{
    QList<Control> list;
    if (!camera)
        return list;
    const QCamera::Features features = camera->supportedFeatures();
    if (features & QCamera::Feature::ExposureCompensation)
        list << Control { exposureName, -2, 2, camera->exposureCompensation() };
    if ((features & QCamera::Feature::ManualExposureTime)
        && camera->maximumExposureTime() > camera->minimumExposureTime())
        list << Control { exposureTimeName, camera->minimumExposureTime(), camera->maximumExposureTime(),
            camera->exposureTime() };
    if (features & QCamera::Feature::ColorTemperature)
        list << Control { whiteBalanceName, 2000, 10000, double(camera->colorTemperature()) };
    if (camera->maximumZoomFactor() > camera->minimumZoomFactor())
        list << Control { zoomName, camera->minimumZoomFactor(), camera->maximumZoomFactor(), camera->zoomFactor() };
    if (features & QCamera::Feature::FocusDistance)
        list << Control { focusName, 0, 1, camera->focusDistance() };
    return list;
}

void QtCameraSource::applyControls(const QList<Control>& list)
{
    if (!camera)
        return;
    for (const Control& control : list) {
        if (control.name == exposureName) {
            camera->setExposureCompensation(float(control.value));
        } else if (control.name == exposureTimeName) {
            camera->setExposureMode(QCamera::ExposureManual);
            camera->setManualExposureTime(float(control.value));
        } else if (control.name == whiteBalanceName) {
            camera->setWhiteBalanceMode(QCamera::WhiteBalanceManual);
            camera->setColorTemperature(int(control.value));
        } else if (control.name == zoomName) {
            camera->setZoomFactor(float(control.value));
        } else if (control.name == focusName) {
            camera->setFocusMode(QCamera::FocusModeManual);
            camera->setFocusDistance(float(control.value));
        }
    }
}
