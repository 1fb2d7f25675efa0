// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include "core/video/ImageTags.h"

// How wide a border a picture file carries around its image.
class BorderRules {
public:
    // The border a picture of width w was saved with, judged from the width
    // alone: 320, 640, 800, 1024 and 1280 with a Thin (1), Photo (19) or
    // ANSI (20) band on both sides; 0 for every other width.
    static int fromWidth(int w);

    // The border of a w x h picture with these tags: the Make tag of a file
    // this program saved (Software "Scopique"), read as atoi reads it, when it
    // leaves a picture; otherwise, and when it is 0, the width rule when that
    // leaves a picture; else 0, and the whole picture is shown.
    static int forImage(const ImageTags& tags, int w, int h);

    // atoi on a tag's text: leading blanks, a sign, digits; 0 without digits.
    // Clamped to the int range instead of overflowing.
    static int atoiText(const QString& text);
};
