// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QAbstractScrollArea>

#include "core/base/CommandTarget.h"
#include "core/document/ImageDocument.h"
#include "ui/video/CVideoWnd.h"

class AppMessageSink;
class SettingsStore;
class UserPrompts;

// The frame's client area: a hatched background with the Video Window
// centred on it. A Video Window larger than the pane overhangs it on both
// sides, and the pane then scrolls so that every pixel can be reached; the
// scroll bars start at the centre, which is the centred placement.
//
// The pane also owns the view's zoom: the View menu's zoom commands, Ctrl
// with the mouse wheel, and whether a large picture opens fitted ("View"
// "FitLarge").
class CImagePane : public QAbstractScrollArea, public CommandTarget {
    Q_OBJECT

public:
    CImagePane(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent = nullptr);

    ImageDocument& imageDocument() { return document; }
    const ImageDocument& imageDocument() const { return document; }
    CVideoWnd& videoWnd() { return video; }
    const CVideoWnd& videoWnd() const { return video; }

    // Loads a picture and, when it opened, names it in the caption. Returns
    // the result of the caption message, 0 when the file did not open.
    qintptr OpenImage(const QString& path);
    // Centres the Video Window (and the scroll bars).
    void recentre();
    // Shows the view at `scale`, keeping the view point under `anchor`
    // (viewport pixels) where it is, as far as the scroll range allows.
    void zoomTo(double scale, QPointF anchor);
    // The scale at which the whole view fits the pane, never above 1.
    double fitScale() const;

    // The filter of the Open dialog.
    static QString openFilter();

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void placeVideoWindow();
    void printCommand();
    // A new view size: fitted again when the view follows the pane, then centred.
    void viewSizeChanged();
    void zoomCommand(int id);
    // Zooms keeping the view point in the middle of the pane there, also
    // when the pane changes size later.
    void zoomAboutMiddle(double scale);

    SettingsStore& settings;
    UserPrompts& prompts;
    AppMessageSink& mainWindow;
    // A picture larger than the pane opens fitted.
    bool fitLarge = true;
    // Set by Fit to Window (and a fitted opening) until another zoom: the
    // view follows the pane's size.
    bool fitted = false;
    // The view point (view pixels) that stays at `anchorPort` when the pane
    // or the view change size: the middle of the pane, or the point zoomed
    // about. `anchorPort` is a fraction of the viewport's size when
    // `anchorRelative`, else viewport pixels.
    QPointF anchorView;
    QPointF anchorPort { 0.5, 0.5 };
    bool anchorRelative = true;
    // Set while the pane moves the scroll bars itself.
    bool placing = false;
    // Wheel turns below one notch, kept for the next.
    int wheelRest = 0;
    // The picture; destroyed after the window that shows it.
    ImageDocument document;
    CVideoWnd video;
};
