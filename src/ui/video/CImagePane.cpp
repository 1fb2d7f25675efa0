// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CImagePane.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtMath>

#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/base/UserPrompts.h"
#include "core/document/ImageDocument.h"
#include "core/video/GdiPainter.h"
#include "core/video/ViewScale.h"

namespace {

const QString viewSection = QStringLiteral("View");
const QString fitLargeEntry = QStringLiteral("FitLarge");

// One notch of a mouse wheel.
constexpr int wheelNotch = 120;

} // namespace

CImagePane::CImagePane(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent)
    : QAbstractScrollArea(parent)
    , settings(settings)
    , prompts(prompts)
    , mainWindow(mainWindow)
    , document(settings, prompts, mainWindow)
    , video(document, viewport())
{
    fitLarge = settings.readInt(viewSection, fitLargeEntry, 1) != 0;
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::ArrowCursor);
    connect(&video, &CVideoWnd::viewSizeChanged, this, &CImagePane::viewSizeChanged);
    recentre();
}

qintptr CImagePane::OpenImage(const QString& path)
{
    if (!document.LoadImageFile(path))
        return 0;
    // Every picture opens afresh: fitted when it is too large for the pane
    // and the user wants that, else pixel for pixel.
    const QSize view = document.viewSize();
    const QSize port = maximumViewportSize();
    fitted = fitLarge && (view.width() > port.width() || view.height() > port.height());
    video.setScale(fitted ? fitScale() : 1.0);
    recentre();
    const QString name = QFileInfo(path).fileName();
    return mainWindow.send(WM_APP_SET_TITLE, AppMessageSink::textArg(name), 0);
}

void CImagePane::recentre()
{
    anchorView = QPointF(document.viewSize().width(), document.viewSize().height()) / 2;
    anchorPort = { 0.5, 0.5 };
    anchorRelative = true;
    placeVideoWindow();
}

void CImagePane::viewSizeChanged()
{
    if (fitted)
        video.setScale(fitScale());
    recentre();
}

double CImagePane::fitScale() const
{
    // The room the pane has without scroll bars: a fitted view needs none.
    return ViewScale::fit(document.viewSize(), maximumViewportSize());
}

void CImagePane::zoomTo(double scale, QPointF anchor)
{
    anchorView = (anchor - QPointF(video.pos())) / video.scale();
    anchorPort = anchor;
    anchorRelative = false;
    video.setScale(scale);
    placeVideoWindow();
}

void CImagePane::zoomAboutMiddle(double scale)
{
    const QPointF middle = QPointF(viewport()->width(), viewport()->height()) / 2;
    anchorView = (middle - QPointF(video.pos())) / video.scale();
    anchorPort = { 0.5, 0.5 };
    anchorRelative = true;
    video.setScale(scale);
    placeVideoWindow();
}

void CImagePane::placeVideoWindow()
{
    // Centred where it fits; where it does not, the scroll position decides,
    // and the anchor decides the scroll position.
    const QSize view = video.size();
    const QSize port = viewport()->size();
    const QPointF at
        = anchorRelative ? QPointF(anchorPort.x() * port.width(), anchorPort.y() * port.height()) : anchorPort;
    const QPointF scroll = anchorView * video.scale() - at;
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    // Scroll bars take room from the viewport: a range change shows or hides
    // them, which resizes the viewport and brings us back here.
    placing = true;
    h->setRange(0, qMax(0, view.width() - port.width()));
    v->setRange(0, qMax(0, view.height() - port.height()));
    h->setPageStep(port.width());
    v->setPageStep(port.height());
    h->setSingleStep(20);
    v->setSingleStep(20);
    // Rounded, halves down: a centred view overhangs the same on both sides
    // or one pixel more on the right, and a point zoomed about stays within
    // half a screen pixel.
    h->setValue(qCeil(scroll.x() - 0.5 - 1e-9));
    v->setValue(qCeil(scroll.y() - 0.5 - 1e-9));
    placing = false;
    const int x = view.width() <= port.width() ? (port.width() - view.width()) / 2 : -h->value();
    const int y = view.height() <= port.height() ? (port.height() - view.height()) / 2 : -v->value();
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
    case ID_VIEW_ZOOM_IN:
    case ID_VIEW_ZOOM_OUT:
    case ID_VIEW_FIT_WINDOW:
    case ID_VIEW_ACTUAL_PIXELS:
    case ID_VIEW_FIT_LARGE:
        zoomCommand(id);
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
    case ID_VIEW_FIT_WINDOW:
    case ID_VIEW_ACTUAL_PIXELS:
        state.enabled = true;
        return true;
    case ID_VIEW_ZOOM_IN:
        state.enabled = ViewScale::stepAbove(video.scale()) != video.scale();
        return true;
    case ID_VIEW_ZOOM_OUT:
        state.enabled = ViewScale::stepBelow(video.scale()) != video.scale();
        return true;
    case ID_VIEW_FIT_LARGE:
        state = { true, fitLarge, {} };
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
    if (fitted)
        video.setScale(fitScale());
    placeVideoWindow();
}

void CImagePane::scrollContentsBy(int, int)
{
    // The pane's own scroll moves are placed when it has set both bars.
    if (placing)
        return;
    // The user scrolled: the middle of the pane now holds the point to keep.
    const QPointF middle = QPointF(viewport()->width(), viewport()->height()) / 2;
    anchorView = (middle + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value())) / video.scale();
    anchorPort = { 0.5, 0.5 };
    anchorRelative = true;
    placeVideoWindow();
}

void CImagePane::wheelEvent(QWheelEvent* event)
{
    // The wheel scrolls; with Ctrl it zooms about the point under the pointer.
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    wheelRest += event->angleDelta().y();
    while (qAbs(wheelRest) >= wheelNotch) {
        const bool in = wheelRest > 0;
        wheelRest -= in ? wheelNotch : -wheelNotch;
        const double scale = in ? ViewScale::stepAbove(video.scale()) : ViewScale::stepBelow(video.scale());
        fitted = false;
        // The middle of the pixel under the pointer.
        zoomTo(scale, event->position().toPoint() + QPointF(0.5, 0.5));
    }
}

void CImagePane::zoomCommand(int id)
{
    const double scale = video.scale();
    switch (id) {
    case ID_VIEW_ZOOM_IN:
        fitted = false;
        zoomAboutMiddle(ViewScale::stepAbove(scale));
        break;
    case ID_VIEW_ZOOM_OUT:
        fitted = false;
        zoomAboutMiddle(ViewScale::stepBelow(scale));
        break;
    case ID_VIEW_FIT_WINDOW:
        fitted = true;
        video.setScale(fitScale());
        recentre();
        break;
    case ID_VIEW_ACTUAL_PIXELS:
        fitted = false;
        zoomAboutMiddle(1.0);
        break;
    case ID_VIEW_FIT_LARGE:
        fitLarge = !fitLarge;
        settings.writeInt(viewSection, fitLargeEntry, fitLarge ? 1 : 0);
        break;
    default:
        break;
    }
}
