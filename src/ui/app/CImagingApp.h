// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

#include <QApplication>
#include <QString>

#include "core/base/SettingsStore.h"
#include "ui/app/DialogPrompts.h"

class CMainFrame;

// The application: settings store, the main frame shown maximised, and the
// files named on the command line.
class CImagingApp : public QApplication {
    Q_OBJECT

public:
    CImagingApp(int& argc, char** argv);
    ~CImagingApp() override;

    // Creates and shows the main frame, then opens `files` in turn.
    void start(const QStringList& files);

    // The folder of the executable, ending with a separator.
    static QString moduleDirectory();

private:
    std::unique_ptr<SettingsStore> settings;
    DialogPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};
