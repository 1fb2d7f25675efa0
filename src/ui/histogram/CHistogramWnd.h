// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QPoint>
#include <QWidget>

#include "core/histogram/ProfileSurface.h"

class CVideoWnd;
class SettingsStore;

// A "Histogram" window: a small captioned tool window floating over the
// image inside the image pane, showing the brightness profile along the
// current Horizontal (wide window) or Vertical (tall window) measurement.
// It draws its own caption with a close box and moves by its caption within
// the pane. Both windows share the "Histogram" settings "Size" and "Show".
//
// The window belongs beside the picture as shown: its bars take the
// picture's pixel pitch at any zoom, and it moves with the picture when the
// picture is zoomed or scrolled.
class CHistogramWnd : public QWidget {
    Q_OBJECT

public:
    // Width of the window's frame on every side, and height of its caption.
    static constexpr int frameWidth = 3;
    static constexpr int captionHeight = 18;

    CHistogramWnd(SettingsStore& settings, bool horizontal);

    // Becomes a hidden child of the pane's client area, over the Video
    // Window, and takes the stored size and the user's choice to show it.
    void Create(QWidget* paneClient, const CVideoWnd& video);

    // Shows (when the user allows it) or hides the window; `remember` makes
    // `show` the user's choice and stores it. Every show fits the window to
    // the image's length; the first show also places it beside the image.
    void Show(bool show, bool remember);
    // Rebuilds the surface with a new thickness (stored), or with the
    // current one for 0, keeping the edge opposite the bars' growth in place.
    void SetThickness(int value);
    // Draws the samples and marks anew and repaints at once.
    void Draw();
    // Moves mark 0 or 1 to a position along the profile and repaints.
    void SetMark(int index, int position);

    int* samples() { return surface.samples(); }
    const ProfileSurface& profile() const { return surface; }
    bool horizontal() const { return surface.horizontal(); }
    int thickness() const { return surface.thickness(); }
    bool shownByUser() const { return userShown; }
    // Where the surface shows, in the window's own coordinates.
    QRect clientRect() const;
    QRect captionRect() const;
    QRect closeBoxRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToImage();
    void placeFirstTime();
    // Keeps `topLeft` (pane pixels) as the window's place relative to the picture.
    void anchorAt(QPoint topLeft);
    // The picture was zoomed, scrolled or moved: the window goes with it.
    void followPicture();
    // Where, in pane pixels, the picture's image starts, and its scale.
    QPointF imageOrigin() const;
    double pictureScale() const;
    // Pane pixels from the client area's edge to where the picture puts the
    // first bar: not 0 only where the pane's edge stopped the window.
    int barShift() const;
    // Keeps the window's top-left inside the pane so its caption stays in reach.
    QPoint clampedToPane(QPoint topLeft) const;

    SettingsStore& settings;
    const CVideoWnd* video = nullptr;
    ProfileSurface surface;
    bool userShown = true;
    bool firstPlacementPending = true;
    bool dragging = false;
    bool closePressed = false;
    QPoint dragOffset;
    // The place relative to the picture, once placed: along the profile in
    // image pixels from the image's first pixel to the first bar, across it
    // in pane pixels from the picture's top (or left) edge.
    QPointF anchor;
    bool anchored = false;
    // The scale the window's length was fitted at.
    double fittedScale = 1.0;
};
