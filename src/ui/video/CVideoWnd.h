// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

#include <QPointer>
#include <QWidget>

#include "core/capture/FrameSource.h"

class CCalibrateDlg;
class ImageDocument;

// The "Video Window": shows the document's composed view (border, image,
// tool, title block) pixel for pixel and hands pointer input to it. Every
// paint composes the whole view in the document's BackBuffer and copies it
// to the screen in one go, so saving and printing find exactly what was
// shown.
//
// Coordinates: client pixels of this window; image pixels are client pixels
// minus the border width in x and y.
class CVideoWnd : public QWidget {
    Q_OBJECT

public:
    explicit CVideoWnd(ImageDocument& document, QWidget* parent = nullptr);

    ImageDocument& document() const { return doc; }
    // Takes the cameras (none when null), frozen; each frame is copied into
    // the document's FrameBuffer. The program starts with the first camera
    // Qt finds.
    void setFrameSource(std::unique_ptr<FrameSource> source);
    // Client pixels of this window to image pixels.
    QPoint toImage(QPoint client) const;
    // The open Calibrate dialog, if any.
    CCalibrateDlg* calibrateDialog() const;

signals:
    // The window's size changed (or may have): the pane places it anew.
    void viewSizeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
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
};
