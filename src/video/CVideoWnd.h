// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>

#include <QImage>
#include <QString>
#include <QWidget>

#include "app/CommandTarget.h"
#include "calibration/CalibrationState.h"
#include "tools/CTool.h"
#include "video/PixelBuffer.h"

class AppMessageSink;
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

    // Composes border, image, the active tool and the title block into the
    // BackBuffer.
    void composeView();

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
    // The one measurement or annotation over the image, if any.
    std::unique_ptr<CTool> activeTool;

signals:
    // The window's size changed (or may have): the pane places it anew.
    void viewSizeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void resizeBackBuffer(const QSize& size);

    SettingsStore& settings;
    UserPrompts& prompts;
    // Decoding target, kept so that same-size loads reuse its memory.
    QImage decodeScratch;
};
