// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ViewScale.h"

#include <QtMath>

namespace ViewScale {

namespace {

// Steps are thirds and halves of each other; two scales this close are the same step.
constexpr double sameStep = 1e-9;

int shownLength(int length, double scale)
{
    if (length <= 0)
        return 0;
    // A fitted view computes to the pane's length give or take rounding:
    // that must not count as one more pixel.
    return qMax(1, qCeil(length * scale - 1e-6));
}

} // namespace

const QList<double>& steps()
{
    static const QList<double> table { 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4, 1.0 / 3, 1.0 / 2, 2.0 / 3, 1.0,
        1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0, 16.0, 24.0, 32.0 };
    return table;
}

double stepAbove(double scale)
{
    for (double step : steps()) {
        if (step > scale * (1 + sameStep))
            return step;
    }
    return scale;
}

double stepBelow(double scale)
{
    const QList<double>& table = steps();
    for (auto it = table.crbegin(); it != table.crend(); ++it) {
        if (*it < scale * (1 - sameStep))
            return *it;
    }
    return scale;
}

double fit(const QSize& view, const QSize& pane)
{
    if (view.isEmpty() || pane.isEmpty())
        return 1.0;
    return qMin(1.0, qMin(double(pane.width()) / view.width(), double(pane.height()) / view.height()));
}

QSize shownSize(const QSize& view, double scale)
{
    return { shownLength(view.width(), scale), shownLength(view.height(), scale) };
}

int percent(double scale)
{
    return qRound(scale * 100);
}

} // namespace ViewScale
