// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QColor>
#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

// Figures on the pixels the classic GDI calls cover, so that positions given
// as GDI rectangles and lines land exactly. Antialiasing is off and pens are
// one pixel wide. On a painter that shows the picture reduced (a view zoomed
// out) lines and outlines keep at least one device pixel, so they stay
// visible.
namespace GdiPainter {

// Rectangle(l, t, r, b): outline in `pen` over columns l..r-1 and rows
// t..b-1, inside filled with `brush` (Qt::NoBrush leaves it). An invalid
// colour for the pen draws no outline.
void rectangle(QPainter& painter, int l, int t, int r, int b, const QColor& pen, const QBrush& brush);

// A tool's handle: the 7 x 7 outline Rectangle(x - 3, y - 3, x + 4, y + 4)
// around `at`; on a reducing painter it keeps that size in device pixels.
void handle(QPainter& painter, QPoint at, const QColor& pen);

// MoveTo(x1, y1) + LineTo(x2, y2): the last point is not drawn.
void line(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& pen);

// Many MoveTo/LineTo lines of one colour.
void lines(QPainter& painter, const QVector<QLine>& segments, const QColor& pen);

// TextOut(x, y): text with its cell's top-left corner at (x, y), in the
// painter's font; `background` fills the text cell when valid (opaque
// mode), otherwise the text is drawn transparently.
void textOut(
    QPainter& painter, int x, int y, const QString& text, const QColor& color, const QColor& background = QColor());

// DrawText into an empty rectangle at `topLeft`, no clipping, no prefix
// characters: the text's top-left corner at `topLeft`, each line break
// starting a new line; drawn transparently.
void drawText(QPainter& painter, QPoint topLeft, const QString& text, const QColor& color);

// A colour stored as 0x00BBGGRR (red in the low byte).
QColor fromColorRef(quint32 colorRef);

// The small sans-serif font that stands for the device context's default font.
QFont defaultFont();

} // namespace GdiPainter
