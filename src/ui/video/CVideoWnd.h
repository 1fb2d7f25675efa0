// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

#include <QPointer>
#include <QWidget>

#include "core/capture/FrameSource.h"
#include "core/video/ScaledView.h"

class CCalibrateDlg;
class ImageDocument;

// The "Video Window": shows the document's composed view (border, image,
// tool, title block) and hands pointer input to it. At scale 1 every paint
// composes the whole view in the document's BackBuffer and copies it to the
// screen in one go, so saving and printing find exactly what was shown.
// Enlarged, the composed pixels are shown as squares; reduced, an averaged
// copy of the view is shown with the tool drawn over it on screen. The scale
// belongs to this window only: the document and its outputs stay 1:1.
//
// Coordinates: client pixels of this window are view pixels times the
// scale; image pixels are view pixels minus the border width in x and y.
class CVideoWnd : public QWidget {
    Q_OBJECT

public:
    explicit CVideoWnd(ImageDocument& document, QWidget* parent = nullptr);

    ImageDocument& document() const { return doc; }
    // Takes the cameras (none when null), frozen; each frame is copied into
    // the document's FrameBuffer. The program starts with the first camera
    // Qt finds.
    void setFrameSource(std::unique_ptr<FrameSource> source);
    // Screen pixels per view pixel; 1 shows the view pixel for pixel.
    double scale() const { return viewScale; }
    // Shows the view at `scale` and takes the size that needs.
    void setScale(double scale);
    // Client pixels of this window to the view pixel shown there, and to
    // image pixels: the one conversion every pointer position goes through.
    QPoint toView(QPoint client) const;
    QPoint toImage(QPoint client) const;
    // The client pixel that shows the middle of an image pixel.
    QPoint toClient(QPoint image) const;
    // The open Calibrate dialog, if any.
    CCalibrateDlg* calibrateDialog() const;

signals:
    // The window's size changed (or may have): the pane places it anew.
    void viewSizeChanged();
    void scaleChanged(double scale);
    // The window moved or changed its size within the pane.
    void placeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followSize();
    void openCalibrateDialog(bool vertical);
    void releaseCapture();
    // Takes the pointer for a polygon being built, when nothing modal blocks
    // this window.
    void grabForPolygon();
    void updateCursor();

    ImageDocument& doc;
    // The pointer belongs to the tool while it is placed, dragged or, for a
    // polygon, built point by point.
    bool captured = false;
    // Set while a modal dialog blocks this window: its buttons need the pointer.
    bool blocked = false;
    QPointer<CCalibrateDlg> calibrate;
    double viewScale = 1.0;
    // The reduced copy, for scales below 1.
    ScaledView scaled;
};
