// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/histogram/ProfileSurface.h"

#include <QtGlobal>

namespace {

constexpr QRgb ground = 0xffc0c0c0;
constexpr QRgb bar = 0xff000000;
// Inverts the colour bits and leaves the unused byte alone.
constexpr QRgb invertMask = 0x00ffffff;

} // namespace

ProfileSurface::ProfileSurface(bool horizontal)
    : isHorizontal(horizontal)
{
    setThickness(barThickness);
}

int ProfileSurface::validThickness(int stored)
{
    return stored == 64 || stored == 128 || stored == 256 ? stored : 64;
}

QSize ProfileSurface::size() const
{
    return isHorizontal ? QSize(length, barThickness) : QSize(barThickness, length);
}

void ProfileSurface::setThickness(int value)
{
    barThickness = validThickness(value);
    if (surface.size() != size())
        surface = QImage(size(), QImage::Format_RGB32);
    draw();
}

void ProfileSurface::draw()
{
    surface.fill(ground);
    const int divisor = 256 / barThickness;
    const int height = surface.height();
    for (int i = 0; i < length; ++i) {
        // A line from the base to base + value leaves its end point
        // unpainted; the horizontal profile's base row lies just below the
        // surface, so its bars show one pixel less.
        const int value = qBound(0, sampleBuffer[i] / divisor, barThickness);
        if (isHorizontal) {
            for (int y = qMax(0, height - value + 1); y < height; ++y)
                reinterpret_cast<QRgb*>(surface.scanLine(y))[i] = bar;
        } else {
            QRgb* row = reinterpret_cast<QRgb*>(surface.scanLine(i));
            for (int x = 0; x < value; ++x)
                row[x] = bar;
        }
    }
    for (int k = 0; k < 2; ++k) {
        const int position = marks[k];
        marks[k] = unplaced;
        setMark(k, position);
    }
}

void ProfileSurface::setMark(int index, int position)
{
    if (index < 0 || index > 1)
        return;
    invertBand(marks[index]);
    marks[index] = position;
    invertBand(position);
}

void ProfileSurface::invertBand(int position)
{
    if (position < 0 || position >= length)
        return;
    if (isHorizontal) {
        for (int y = 0; y < barThickness; ++y)
            reinterpret_cast<QRgb*>(surface.scanLine(y))[position] ^= invertMask;
    } else {
        QRgb* row = reinterpret_cast<QRgb*>(surface.scanLine(position));
        for (int x = 0; x < barThickness; ++x)
            row[x] ^= invertMask;
    }
}
