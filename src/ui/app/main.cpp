// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <QStringList>

#include "ui/app/CImagingApp.h"

int main(int argc, char* argv[])
{
    CImagingApp app(argc, argv);
    QStringList files = CImagingApp::arguments();
    files.removeFirst();
    app.start(files);
    return CImagingApp::exec();
}
