// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/app/CImagingApp.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

#include "core/document/ImageDocument.h"
#include "ui/app/CMainFrame.h"
#include "ui/video/CVideoWnd.h"
#include "ui/video/QtCameraSource.h"

namespace {

// Runs a job once, on the event-loop turn after the first paint of any
// widget: the whole window is painted in that pass and then shown, so the
// job comes after the first frame is on the screen.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QCoreApplication& app, std::function<void()> job)
        : QObject(&app)
        , job(std::move(job))
    {
        app.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && job) {
            QTimer::singleShot(0, this, [this, run = std::exchange(job, nullptr)] {
                run();
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> job;
};

// For the start-up benchmark (bench/startup.sh): prints the wall-clock time
// of the first frame in nanoseconds since 1970, "first-paint-ns N".
void printFirstPaint()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("first-paint-ns %lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stdout);
}

} // namespace

CImagingApp::CImagingApp(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setOrganizationName(QStringLiteral("Tallmere"));
    setApplicationName(QStringLiteral("Scopique"));
    setApplicationVersion(QStringLiteral("1.1"));
    setDesktopFileName(QStringLiteral("scopique"));
    settings = std::make_unique<SettingsStore>();
}

CImagingApp::~CImagingApp() = default;

void CImagingApp::start(const QStringList& files)
{
    frame = std::make_unique<CMainFrame>(*settings, prompts);
    prompts.setParentWindow(frame.get());
    // Asking the system for cameras takes longer than the rest of the start
    // without a picture: the window comes first, the camera commands follow.
    // SCOPIQUE_FIRST_PAINT_EXIT, for the start-up benchmark, quits instead.
    new AfterFirstPaint(*this, [this] {
        if (qEnvironmentVariableIsSet("SCOPIQUE_FIRST_PAINT_EXIT")) {
            printFirstPaint();
            QCoreApplication::exit(0);
            return;
        }
        CImagePane& pane = frame->imagePane();
        if (!pane.imageDocument().frameSource())
            pane.videoWnd().setFrameSource(QtCameraSource::openDefault());
    });
    // Without a window manager (a bare X server) maximising does nothing;
    // the frame then still covers the screen.
    frame->setGeometry(frame->screen()->availableGeometry());
    frame->showMaximized();
    for (const QString& file : files)
        frame->send(WM_APP_OPEN_IMAGE, AppMessageSink::textArg(QFileInfo(file).absoluteFilePath()), 0);
}

QString CImagingApp::moduleDirectory()
{
    return QDir::toNativeSeparators(applicationDirPath() + QLatin1Char('/'));
}
