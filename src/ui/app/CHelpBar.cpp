// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/app/CHelpBar.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextBrowser>

CHelpBar::CHelpBar(QWidget* parent)
    : CSizingControlBar(QStringLiteral("Help"), QSize(300, 600), parent)
    , view(new QTextBrowser(this))
    , helpFolder(locateFolder())
{
    setObjectName(QStringLiteral("helpBar"));
    view->setObjectName(QStringLiteral("helpBrowser"));
    // Pages of the manual open in the pane, web addresses in the desktop's browser.
    view->setOpenExternalLinks(true);
    setWidget(view);
}

QString CHelpBar::locateFolder()
{
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
    if (QDir(besideProgram).exists())
        return besideProgram;
#ifdef SCOPIQUE_HELP_DIR
    const QString installed = QStringLiteral(SCOPIQUE_HELP_DIR);
    if (QDir(installed).exists())
        return installed;
#endif
    return besideProgram;
}

QUrl CHelpBar::indexUrl() const
{
    return QUrl::fromLocalFile(QDir(helpFolder).filePath(QStringLiteral("index.htm")));
}

void CHelpBar::showIndex()
{
    const QUrl index = indexUrl();
    // The browser skips loading a page it already shows; reload reads the file again.
    if (view->source() == index)
        view->reload();
    else
        view->setSource(index);
}
