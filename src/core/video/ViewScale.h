// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QList>
#include <QSize>

// The scales at which the composed view is shown on screen: the zoom steps,
// the scale that fits a pane, and the screen size a scale gives a view. A
// scale is screen pixels per view pixel; the view itself stays 1:1.
namespace ViewScale {

// The zoom steps, smallest first: 1/16 up to 32.
const QList<double>& steps();
// The nearest step above (below) `scale`; `scale` itself when none is left.
double stepAbove(double scale);
double stepBelow(double scale);
// The largest scale at which the whole of `view` fits into `pane`, never
// above 1: a small picture is shown pixel for pixel.
double fit(const QSize& view, const QSize& pane);
// The screen pixels that `view` covers at `scale`; a pixel partly covered
// counts, so that no part of the view is cut off.
QSize shownSize(const QSize& view, double scale);
// The scale as a whole percentage, rounded: 6 for 1/16.
int percent(double scale);

} // namespace ViewScale
