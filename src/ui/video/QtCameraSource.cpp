// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/QtCameraSource.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoSink>

namespace {

const QString exposureName = QStringLiteral("Exposure");
const QString exposureTimeName = QStringLiteral("Exposure time");
const QString whiteBalanceName = QStringLiteral("White balance");
const QString zoomName = QStringLiteral("Zoom");
const QString focusName = QStringLiteral("Focus");

} // namespace

std::unique_ptr<FrameSource> QtCameraSource::openDefault()
{
    if (QMediaDevices::videoInputs().isEmpty())
        return nullptr;
    return std::make_unique<QtCameraSource>();
}

QtCameraSource::QtCameraSource()
    : session(std::make_unique<QMediaCaptureSession>())
    , sink(std::make_unique<QVideoSink>())
{
    session->setVideoSink(sink.get());
    // The sink may signal on the streaming thread: hand the frame on there.
    QObject::connect(
        sink.get(), &QVideoSink::videoFrameChanged, sink.get(),
        [this](const QVideoFrame& frame) {
            std::lock_guard<std::mutex> hold(handlerLock);
            if (running && handler)
                handler(frame);
        },
        Qt::DirectConnection);
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
    return index;
}

void QtCameraSource::selectCamera(int i)
{
    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    if (i < 0 || i >= devices.size())
        return;
    stop();
    session->setCamera(nullptr);
    index = i;
    camera = std::make_unique<QCamera>(devices[i]);
    session->setCamera(camera.get());
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
