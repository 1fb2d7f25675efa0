// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/app/CImagingApp.h"

#include <QDir>
#include <QFileInfo>
#include <QScreen>

#include "ui/app/CMainFrame.h"

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
