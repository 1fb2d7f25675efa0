// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CVideoWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include "core/document/ImageDocument.h"
#include "core/video/ViewScale.h"
#include "ui/calibration/CCalibrateDlg.h"
#include "ui/video/CSampleGrabberCallback.h"

CVideoWnd::CVideoWnd(ImageDocument& document, QWidget* parent)
    : QWidget(parent)
    , doc(document)
{
    // The whole view is composed on every paint; nothing is to be erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Moves arrive without a button too: the cursor follows the tool's
    // state, and a polygon's newest vertex follows the pointer between clicks.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    connect(&doc, &ImageDocument::pictureChanged, this, [this] {
        scaled.invalidate();
        update();
    });
    connect(&doc, &ImageDocument::toolChanged, this, [this] {
        updateCursor();
        update();
    });
    connect(&doc, &ImageDocument::sizeChanged, this, &CVideoWnd::followSize);
    connect(&doc, &ImageDocument::calibrationStarted, this, &CVideoWnd::openCalibrateDialog);
    followSize();
}

void CVideoWnd::setFrameSource(std::unique_ptr<FrameSource> source)
{
    doc.setFrameSource(std::move(source), CSampleGrabberCallback(doc));
}

void CVideoWnd::followSize()
{
    scaled.invalidate();
    resize(ViewScale::shownSize(doc.viewSize(), viewScale));
    emit viewSizeChanged();
}

void CVideoWnd::setScale(double scale)
{
    if (scale <= 0 || scale == viewScale)
        return;
    viewScale = scale;
    scaled.invalidate();
    resize(ViewScale::shownSize(doc.viewSize(), viewScale));
    update();
    emit scaleChanged(viewScale);
}

QPoint CVideoWnd::toView(QPoint client) const
{
    // The middle of the client pixel decides which view pixel it shows.
    return { qFloor((client.x() + 0.5) / viewScale), qFloor((client.y() + 0.5) / viewScale) };
}

QPoint CVideoWnd::toImage(QPoint client) const
{
    return toView(client) - QPoint(doc.BorderWidth, doc.BorderWidth);
}

QPoint CVideoWnd::toClient(QPoint image) const
{
    const QPointF middle = QPointF(image + QPoint(doc.BorderWidth, doc.BorderWidth)) + QPointF(0.5, 0.5);
    return { qFloor(middle.x() * viewScale), qFloor(middle.y() * viewScale) };
}

void CVideoWnd::openCalibrateDialog(bool vertical)
{
    // One calibration at a time: the document has already replaced the old
    // calibration tool, so the old dialog goes without storing anything.
    if (calibrate)
        calibrate->abandon();
    calibrate = new CCalibrateDlg(vertical, doc, window());
    calibrate->show();
    // The arrow keys keep nudging the tool while the dialog is open.
    window()->activateWindow();
    setFocus();
}

CCalibrateDlg* CVideoWnd::calibrateDialog() const
{
    return calibrate;
}

void CVideoWnd::releaseCapture()
{
    if (captured && mouseGrabber() == this)
        releaseMouse();
    captured = false;
}

void CVideoWnd::grabForPolygon()
{
    // The polygon keeps the pointer between clicks, also outside the window.
    if (isVisible() && !blocked && mouseGrabber() != this)
        grabMouse();
}

void CVideoWnd::updateCursor()
{
    const CTool* tool = doc.activeTool();
    setCursor(tool && !tool->placed ? Qt::CrossCursor : Qt::ArrowCursor);
}

void CVideoWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint client = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (doc.inTitleBlock(toView(client)))
            doc.EditTitleBlock();
        else
            doc.editToolOptions();
        return;
    }
    if (event->button() != Qt::LeftButton || !doc.activeTool())
        return;
    captured = true;
    // A handle is in reach within 3 screen pixels, however small the
    // picture is shown.
    doc.activeTool()->hitTolerance = qMax(3, qCeil(3 / viewScale - 1e-9));
    doc.pressTool(toImage(client));
}

void CVideoWnd::mouseMoveEvent(QMouseEvent* event)
{
    updateCursor();
    if (!captured || !doc.activeTool())
        return;
    doc.dragTool(toImage(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void CVideoWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !captured)
        return;
    if (doc.buildingPolygon()) {
        grabForPolygon();
        return;
    }
    releaseCapture();
    doc.releaseTool();
}

void CVideoWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only a polygon still holds the pointer here: for every other tool the
    // double-click's second press reaches nothing.
    if (event->button() != Qt::LeftButton || !captured)
        return;
    releaseCapture();
    doc.finishTool();
    repaint();
}

void CVideoWnd::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit placeChanged();
}

void CVideoWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit placeChanged();
}

void CVideoWnd::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Only the top-level window hears that a modal dialog blocks it.
    window()->installEventFilter(this);
}

bool CVideoWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window()) {
        if (event->type() == QEvent::WindowBlocked) {
            // A modal dialog (options, a prompt) needs the pointer for its
            // buttons; the polygon under construction keeps its state.
            blocked = true;
            if (mouseGrabber() == this)
                releaseMouse();
        } else if (event->type() == QEvent::WindowUnblocked) {
            blocked = false;
            if (captured && doc.buildingPolygon())
                grabForPolygon();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVideoWnd::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect dirty = event->rect();
    if (viewScale >= 1) {
        doc.composeView();
        if (viewScale == 1)
            painter.drawImage(dirty, doc.BackBuffer.image(), dirty);
        else
            ScaledView::paintMagnified(painter, dirty, doc.BackBuffer.image(), viewScale);
        return;
    }
    // Reduced: the averaged copy is made anew only when the picture changed;
    // the tool is drawn over it at every paint.
    if (scaled.stale(doc.viewSize(), viewScale)) {
        doc.composeView(false);
        scaled.rebuild(doc.BackBuffer.image(), viewScale);
    }
    const QSize image = doc.FrameBuffer.size();
    QRegion toolClip(0, 0, image.width(), image.height());
    // The title block covers the tool, as in the composed view.
    if (doc.TitleBlock)
        toolClip -= QRect(image.width() - 220, image.height() - 60, 220, 60);
    scaled.paintReduced(painter, dirty, doc.BorderWidth, toolClip, doc.toolOverlay());
}
