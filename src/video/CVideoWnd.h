// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/CommandTarget.h"
#include "calibration/CalibrationState.h"
#include "tools/CTool.h"
#include "video/CSampleGrabberCallback.h"
#include "video/FrameSource.h"
#include "video/PixelBuffer.h"

class AppMessageSink;
class CCalibrateDlg;
class QPaintDevice;
class QPrinter;
class SettingsStore;
class UserPrompts;

// The "Video Window": the image (FrameBuffer) shown pixel for pixel inside a
// border band, with the title block over it. Every paint composes the whole
// view in the BackBuffer and copies it to the screen in one go, so saving and
// printing find exactly what was shown.
//
// Coordinates: client pixels of this window; image pixels are client pixels
// minus BorderWidth in x and y.
class CVideoWnd : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    CVideoWnd(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent = nullptr);
    // Stops the camera and releases it before the buffers go.
    ~CVideoWnd() override;

    // Takes the cameras (none when null), frozen; the program starts with
    // the first camera Qt finds.
    void setFrameSource(std::unique_ptr<FrameSource> source);
    FrameSource* frameSource() const { return source.get(); }

    // Decodes a picture file into the FrameBuffer and takes its border. A
    // file that cannot be opened leaves image, border and title block as
    // they were and tells the user why; the result is false then.
    bool LoadImageFile(const QString& path);
    // Makes the image w x h and black.
    void AllocateFrameBuffer(int w, int h);
    // Sets the border band's width (stored when it changes) and resizes the
    // window to the image plus the band.
    void SetBorderWidth(int b);
    // The brightness of an image pixel, 0 outside the image.
    int GetLuma(int x, int y) const;
    // Fills `samples` (2048 values, the histogram pane's) with the profile
    // along the active Horizontal or Calibrate tool's row, or down the
    // Vertical or Calibrate Vertical tool's column, through its point 1; for
    // any other tool, or none, it changes nothing. `horizontal` names the
    // pane the buffer belongs to; the direction is the tool's own.
    void SampleProfile(bool horizontal, int* samples) const;
    // Asks the main window to refresh the profile pane of the active tool:
    // WM_APP_UPDATE_HISTOGRAM (0, 0) for a vertical one, (1, 1) for a
    // horizontal one, nothing for other tools.
    void NotifyHistogram();
    // The Video Window's own WM_APP_UPDATE_HISTOGRAM: safe to call from any
    // thread (the capture path); NotifyHistogram() runs later on this
    // window's thread.
    void postUpdateHistogram();

    // Replaces the active tool (none when null). A placed annotation or
    // measurement may first be burnt into the image, if the user agrees.
    void SetActiveTool(std::unique_ptr<CTool> tool);
    // Draws the placed active tool, without handles, into the image for
    // good, and leaves the tool unplaced. False when nothing was placed.
    bool BurnIn();
    // Before a measuring tool is made: offers to calibrate and asks for the
    // magnification. True when it started a calibration instead.
    bool MeasurementCheck();
    // Lays a calibration tool at (320, 240) and opens the Calibrate dialog.
    void StartCalibration(bool vertical);
    // Runs the Title Block dialog and stores what it returns on OK.
    void EditTitleBlock();
    // Shows or hides the title block, asking for its texts when shown.
    void ToggleTitleBlock();
    // Hands the effective scales and the unit to the active tool.
    void pushScalesIntoTool();
    // Client pixels of this window to image pixels.
    QPoint toImage(QPoint client) const { return client - QPoint(BorderWidth, BorderWidth); }
    // The open Calibrate dialog, if any.
    CCalibrateDlg* calibrateDialog() const;

    // Burns the placed tool in and writes the view (border, image, title
    // block) to `path`, in the format its extension names, tagged with the
    // border width and, when given, the description. When the file was
    // written, the tool shows again over its burnt copy; otherwise the user
    // is told why and the result is false.
    bool SaveImageFile(const QString& path, const std::optional<QString>& description = std::nullopt);
    // Burns the placed tool in and prints the view on one page, as the job
    // "Scopique Picture".
    void PrintImage(QPrinter& printer);
    // The same on any paint device. False, with "Printer wouldn't initalize"
    // shown and the tool left burnt, when the device cannot start.
    bool PrintImage(QPaintDevice& device);
    // The capture bracket around saving: whether the camera is live, and
    // freezing it or making it live. Without a camera it is never live.
    bool IsLive() const { return live; }
    void SetFrozen(bool frozen);

    // Composes border, image, the active tool and the title block into the
    // BackBuffer.
    void composeView();
    // Composes and shows the view now (saving and printing need it current).
    void repaintNow();

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

    bool noMagnificationPrompt = false;
    bool noCalibrationPrompt = false;
    bool noBurnPrompt = false;
    // Set by Burn On and never cleared: closing offers to save.
    bool ImageChanged = false;
    int BorderWidth = 20;
    QString Title1;
    QString Title2;
    QString Title3;
    bool UseDate = true;
    bool TitleBlock = false;
    PixelBuffer FrameBuffer;
    PixelBuffer BackBuffer;
    CalibrationState calibration;
    // Held by every reader and writer of the FrameBuffer's pixels or size
    // (paint, filters, burn-in, loading, reallocation) and by the camera's
    // frame copy, which runs on another thread.
    mutable std::mutex frameLock;
    // Frames are copied only while set; changed under frameLock.
    std::atomic<bool> live {false};
    // The one measurement or annotation over the image, if any.
    std::unique_ptr<CTool> activeTool;

signals:
    // The window's size changed (or may have): the pane places it anew.
    void viewSizeChanged();
    // Something a command's enabled or checked state depends on changed: the
    // active tool or its placement, a finished polygon, live or frozen, the
    // cameras.
    void commandStatesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resizeBackBuffer(const QSize& size);
    // Draws the placed tool, without handles, into the FrameBuffer; the tool
    // itself is left as it is. False when nothing was placed.
    bool burnToolPixels();
    // Burns the placed tool in and composes the view without any tool over
    // it: what saving and printing output.
    bool composeForOutput();
    // After a burn-in: the tool stays active, unplaced and invisible.
    void unplaceBurntTool();
    void toolCommand(int kind);
    void nudge(int command);
    void setMagnificationCommand();
    bool inTitleBlock(QPoint client) const;
    void releaseCapture();
    // Takes the pointer for a polygon being built, when nothing modal blocks
    // this window.
    void grabForPolygon();
    void updateCursor();
    void monochromeCommand();
    void edgeEnhanceCommand();
    void videoFormatCommand();
    void videoControlsCommand();
    void selectCameraCommand();

    SettingsStore& settings;
    UserPrompts& prompts;
    AppMessageSink& mainWindow;
    // Decoding target, kept so that same-size loads reuse its memory.
    QImage decodeScratch;
    // Edge Enhance writes here and then exchanges it with the FrameBuffer,
    // so that repeated runs reuse both buffers.
    QImage edgeScratch;
    // The pointer belongs to the tool while it is placed, dragged or, for a
    // polygon, built point by point.
    bool captured = false;
    // Set while a modal dialog blocks this window: its buttons need the pointer.
    bool blocked = false;
    // Saving and printing compose the burnt picture with no tool over it.
    bool hideToolOverlay = false;
    QPointer<CCalibrateDlg> calibrate;
    CSampleGrabberCallback grabber {*this};
    std::unique_ptr<FrameSource> source;
};
