// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

// The sample values that span the screen's grey levels: `minimum` and below
// show black, `maximum` and above white, the values between in proportion.
// Equal limits show that one value mid-grey (below black, above white).
struct DisplayRange {
    int minimum = 0;
    int maximum = 65535;

    static constexpr int lowest = 0;
    static constexpr int highest = 65535;

    bool operator==(const DisplayRange& other) const { return minimum == other.minimum && maximum == other.maximum; }
    bool operator!=(const DisplayRange& other) const { return !(*this == other); }
};
