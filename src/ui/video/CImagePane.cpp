// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CImagePane.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"
#include "core/base/UserPrompts.h"
#include "core/document/ImageDocument.h"
#include "core/video/GdiPainter.h"

CImagePane::CImagePane(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent)
    : QAbstractScrollArea(parent)
    , prompts(prompts)
    , mainWindow(mainWindow)
    , document(settings, prompts, mainWindow)
    , video(document, viewport())
{
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::ArrowCursor);
    connect(&video, &CVideoWnd::viewSizeChanged, this, &CImagePane::recentre);
    recentre();
}

qintptr CImagePane::OpenImage(const QString& path)
{
    if (!document.LoadImageFile(path))
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

void CImagePane::printCommand()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!prompts.choosePrinter(printer))
        return;
    printer.setDocName(QStringLiteral("Scopique Picture"));
    document.whileFrozen([&] { document.PrintImage(printer); });
}

bool CImagePane::onCommand(int id)
{
    if (document.onCommand(id))
        return true;
    switch (id) {
    case ID_FILE_OPEN: {
        const QString path = prompts.openImageFileName(openFilter());
        if (!path.isEmpty())
            OpenImage(path);
        return true;
    }
    case ID_FILE_PRINT:
        printCommand();
        return true;
    default:
        return false;
    }
}

bool CImagePane::updateCommand(int id, CommandState& state) const
{
    if (document.updateCommand(id, state))
        return true;
    switch (id) {
    case ID_FILE_OPEN:
    case ID_FILE_PRINT:
        state.enabled = true;
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
    GdiPainter::rectangle(painter, client.left(), client.top(), client.right() + 1, client.bottom() + 1, Qt::black,
        QBrush(QColor(128, 128, 128), Qt::CrossPattern));
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
