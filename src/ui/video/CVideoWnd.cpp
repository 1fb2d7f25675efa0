// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/video/CVideoWnd.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "core/document/ImageDocument.h"
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

    connect(&doc, &ImageDocument::pictureChanged, this, qOverload<>(&QWidget::update));
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
    resize(doc.viewSize());
    emit viewSizeChanged();
}

QPoint CVideoWnd::toImage(QPoint client) const
{
    return client - QPoint(doc.BorderWidth, doc.BorderWidth);
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
        if (doc.inTitleBlock(client))
            doc.EditTitleBlock();
        else
            doc.editToolOptions();
        return;
    }
    if (event->button() != Qt::LeftButton || !doc.activeTool())
        return;
    captured = true;
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
    doc.composeView();
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(dirty, doc.BackBuffer.image(), dirty);
}
