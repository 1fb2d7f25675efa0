// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "video/CImagePane.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include "app/AppMessageSink.h"
#include "app/CommandIds.h"
#include "app/UserPrompts.h"
#include "favorites/FavoriteName.h"
#include "output/TimeFormat.h"
#include "video/GdiPainter.h"

CImagePane::CImagePane(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow,
                       QWidget* parent)
    : QAbstractScrollArea(parent)
    , prompts(prompts)
    , mainWindow(mainWindow)
    , video(settings, prompts, mainWindow, viewport())
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::ArrowCursor);
    connect(&video, &CVideoWnd::viewSizeChanged, this, &CImagePane::recentre);
    recentre();
}

qintptr CImagePane::OpenImage(const QString& path)
{
    if (!video.LoadImageFile(path))
        return 0;
    recentre();
    const QString name = QFileInfo(path).fileName();
    return mainWindow.send(WM_APP_SET_TITLE, AppMessageSink::textArg(name), 0);
}

void CImagePane::recentre()
{
    const QSize view = video.size();
    // Scroll bars take room from the viewport: a range change shows or hides
    // them, which resizes the viewport and brings us back here.
    const QSize port = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, qMax(0, view.width() - port.width()));
    v->setRange(0, qMax(0, view.height() - port.height()));
    h->setPageStep(port.width());
    v->setPageStep(port.height());
    h->setSingleStep(20);
    v->setSingleStep(20);
    h->setValue(h->maximum() / 2);
    v->setValue(v->maximum() / 2);
    placeVideoWindow();
}

void CImagePane::placeVideoWindow()
{
    // Centred where it fits; where it does not, the scroll position decides,
    // and at the centre position this is the same centred (negative) place.
    const QSize view = video.size();
    const QSize port = viewport()->size();
    const int x = view.width() <= port.width() ? (port.width() - view.width()) / 2 : -horizontalScrollBar()->value();
    const int y = view.height() <= port.height() ? (port.height() - view.height()) / 2 : -verticalScrollBar()->value();
    video.move(x, y);
}

QString CImagePane::openFilter()
{
    // Camera files are often named in capitals (IMG_0001.JPG); the patterns
    // carry both cases because file names are case-sensitive here.
    return QStringLiteral("jpg, gif, bmp, png (*.jpg *.bmp *.gif *.png *.JPG *.BMP *.GIF *.PNG);;"
                          "jpg (*.jpg *.JPG);;gif (*.gif *.GIF);;bmp (*.bmp *.BMP);;png (*.png *.PNG)");
}

QString CImagePane::saveFilter()
{
    return QStringLiteral("jpg (*.jpg);;gif (*.gif);;tif (*.tif);;bmp (*.bmp);;png (*.png)");
}

void CImagePane::saveCommand()
{
    const QString path = prompts.saveImageFileName(TimestampName(), saveFilter());
    if (path.isEmpty())
        return;
    whileFrozen([&] { video.SaveImageFile(path); });
}

void CImagePane::whileFrozen(const std::function<void()>& output)
{
    // A camera frame arriving mid-write would mix two pictures.
    const bool live = video.IsLive();
    video.SetFrozen(true);
    output();
    if (live)
        video.SetFrozen(false);
}

void CImagePane::addFavoriteCommand()
{
    const QString folder = AppMessageSink::textOf(mainWindow.send(WM_APP_GET_FAVORITES_FOLDER, 0, 0));
    if (folder.isEmpty()) {
        prompts.showMessage(QStringLiteral("Scopique cannot add a favorite: there is no favorites folder."));
        return;
    }
    QString name = TimestampName();
    QString description;
    if (!prompts.addFavorite(folder, name, description))
        return;
    // The name is one file name inside the folder, never a way out of it.
    const QString suffix = QStringLiteral(".jpg");
    const QString problem = FavoriteName::problem(name, suffix);
    if (!problem.isEmpty()) {
        prompts.showMessage(problem);
        return;
    }
    const QString path = folder + u'/' + name + suffix;
    bool written = false;
    whileFrozen([&] { written = video.SaveImageFile(path, description); });
    // The list shows files, so it hears only of one that exists.
    if (written)
        mainWindow.send(WM_APP_FAVORITE_ADDED, AppMessageSink::textArg(path), 0);
}

void CImagePane::printCommand()
{
    QPrinter printer(QPrinter::HighResolution);
    if (prompts.choosePrinter(printer))
        whileFrozen([&] { video.PrintImage(printer); });
}

namespace {

// The border commands and the width each sets.
int borderOf(int id)
{
    switch (id) {
    case ID_BORDER_NONE:
        return 0;
    case ID_BORDER_THIN:
        return 1;
    case ID_BORDER_PHOTO:
        return 19;
    case ID_BORDER_ANSI:
        return 20;
    default:
        return -1;
    }
}

} // namespace

bool CImagePane::onCommand(int id)
{
    if (video.onCommand(id))
        return true;
    if (borderOf(id) >= 0) {
        video.SetBorderWidth(borderOf(id));
        return true;
    }
    switch (id) {
    case ID_FILE_OPEN: {
        const QString path = prompts.openImageFileName(openFilter());
        if (!path.isEmpty())
            OpenImage(path);
        return true;
    }
    case ID_TITLE_BLOCK:
        video.ToggleTitleBlock();
        return true;
    case ID_FILE_SAVE:
        saveCommand();
        return true;
    case ID_FAVORITES_ADD:
        addFavoriteCommand();
        return true;
    case ID_FILE_PRINT:
        printCommand();
        return true;
    default:
        return false;
    }
}

bool CImagePane::updateCommand(int id, CommandState& state) const
{
    if (video.updateCommand(id, state))
        return true;
    if (borderOf(id) >= 0) {
        state = {true, video.BorderWidth == borderOf(id), {}};
        return true;
    }
    switch (id) {
    case ID_FILE_OPEN:
    case ID_FILE_SAVE:
    case ID_FAVORITES_ADD:
    case ID_FILE_PRINT:
        state.enabled = true;
        return true;
    case ID_TITLE_BLOCK:
        state = {true, video.TitleBlock, {}};
        return true;
    default:
        return false;
    }
}

void CImagePane::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    // Grey cross hatch on a light grey ground, outlined in black; the Video
    // Window covers the middle.
    painter.fillRect(client, QColor(192, 192, 192));
    GdiPainter::rectangle(painter, client.left(), client.top(), client.right() + 1, client.bottom() + 1,
                          Qt::black, QBrush(QColor(128, 128, 128), Qt::CrossPattern));
}

void CImagePane::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    recentre();
}

void CImagePane::scrollContentsBy(int, int)
{
    placeVideoWindow();
}
