// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <array>

#include <QString>
#include <QtGlobal>

#include "core/video/DisplayRange.h"

class ImageDocument;
class UserPrompts;

// What the "Display Range" dialog does with a picture of 16 bits per
// sample: shows the histogram of its samples, lets the picture follow the
// fields, and applies the chosen range on OK or goes back on Cancel.
class DisplayRangeEditor {
public:
    static constexpr int binCount = 256;

    // The document must hold samples.
    DisplayRangeEditor(ImageDocument& document, UserPrompts& prompts);

    // The range the picture had when the dialog opened.
    DisplayRange opened() const { return original; }
    // Auto's range for these samples, and the whole scale.
    DisplayRange autoRange() const { return automatic; }
    static DisplayRange fullRange() { return DisplayRange(); }

    // The samples' own lowest and highest value, and how many samples fall
    // into each of binCount equal bins across them (all in the first bin
    // when they are all equal).
    int lowestSample() const { return lowest; }
    int highestSample() const { return highest; }
    const std::array<quint64, binCount>& bins() const { return counts; }
    // The bin that `sample` falls into, limited to the bins.
    int binOf(int sample) const;

    // Why minimum..maximum cannot be applied; empty when it can. Limits
    // must lie in 0..65535 with the minimum below the maximum; equal limits
    // are taken only as Auto's range for samples that are all equal.
    QString problem(int minimum, int maximum) const;

    // The fields changed: the picture shows minimum..maximum when that can
    // be applied, and the result says whether it could.
    bool show(int minimum, int maximum);
    // OK: applies minimum..maximum as one step and returns true; otherwise
    // tells the user why, changes nothing and returns false.
    bool accept(int minimum, int maximum);
    // Cancel: the picture as it was when the dialog opened.
    void cancel();

private:
    ImageDocument& document;
    UserPrompts& prompts;
    DisplayRange original;
    DisplayRange automatic;
    int lowest = 0;
    int highest = 0;
    std::array<quint64, binCount> counts {};
};
