// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <functional>

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QtGlobal>

// What the title block shows.
struct TitleBlockText {
    bool shown = false;
    bool useDate = true;
    QString title1;
    QString title2;
    QString title3;
    unsigned magnification = 100;
};

// Composes the Video Window's view: the border band (ANSI zone marks at
// border 20), the image, the active tool's overlay and the title block.
class ViewComposer {
public:
    // Draws into the painter in image coordinates (origin at the image's
    // top-left pixel), clipped to the image.
    using Overlay = std::function<void(QPainter&)>;

    // Composes into `back`, which is (W + 2b) x (H + 2b) for a W x H `frame`.
    // `now` is the time the date line shows. Returns the third title line as
    // drawn: the date, time and magnification when useDate is set, else title3.
    static QString compose(QImage& back, const QImage& frame, int borderWidth, const TitleBlockText& title,
        const Overlay& overlay, qint64 now);

    // The steps, in client coordinates of a view `client` (0, 0, W+2b, H+2b).
    static void DrawBorder(QPainter& painter, const QRect& client, int borderWidth, int imageWidth, int imageHeight);
    static void AnsiZoneMarks(QPainter& painter, const QRect& client, int imageWidth, int imageHeight);
    // Painter already in image coordinates and clipped to the image.
    static QString DrawTitleBlock(
        QPainter& painter, int imageWidth, int imageHeight, int borderWidth, const TitleBlockText& title, qint64 now);

    // The zone pitches of the ANSI marks.
    static int columnPitch(int imageWidth);
    static int rowPitch(int imageHeight);
};
