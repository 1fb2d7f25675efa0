// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <array>

#include <QImage>
#include <QSize>

// The drawing behind one brightness-profile window: 2048 positions along an
// image row (horizontal profile) or down an image column (vertical profile),
// each drawn as a black bar on light grey whose length is the sample divided
// by 256 / thickness, plus two inverted marker lines.
//
// The horizontal profile's surface is 2048 x thickness with bars growing up
// from the bottom edge; the vertical profile's is thickness x 2048 with bars
// growing right from the left edge.
class ProfileSurface {
public:
    static constexpr int length = 2048;
    // Where a mark sits while it is not placed: off the surface.
    static constexpr int unplaced = -10;

    explicit ProfileSurface(bool horizontal = false);

    // A stored size that is not one of the menu's three reads as Small.
    static int validThickness(int stored);

    bool horizontal() const { return isHorizontal; }
    int thickness() const { return barThickness; }
    QSize size() const;
    const QImage& image() const { return surface; }

    // The profile, one value 0..255 per position; the Video Window fills it.
    int* samples() { return sampleBuffer.data(); }
    const int* samples() const { return sampleBuffer.data(); }

    // Takes a new thickness (a valid one: 64, 128 or 256) and draws anew.
    void setThickness(int value);
    // Grey ground, one bar per sample, then both marks where they were.
    void draw();
    // Moves mark 0 or 1 by inverting its line at the old and the new place,
    // so that a mark moved onto its own place stays drawn.
    void setMark(int index, int position);
    int mark(int index) const { return marks[index]; }

private:
    void invertBand(int position);

    bool isHorizontal;
    int barThickness = 64;
    QImage surface;
    std::array<int, length> sampleBuffer {};
    std::array<int, 2> marks { unplaced, unplaced };
};
