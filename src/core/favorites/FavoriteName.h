// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QString>

// Whether a name the user typed can be one file or folder name inside the
// favourites folder, so that nothing is ever written elsewhere.
class FavoriteName {
public:
    // The longest name, in UTF-8 bytes, that file systems take.
    static constexpr int MaxBytes = 255;

    // Empty when `name` followed by `suffix` (".jpg" for a favourite) is a
    // usable name; otherwise a sentence for the user naming it and saying why.
    // Refused: an empty name, "." and "..", a separator ("/" or "\"), NUL and
    // other control characters, and more than MaxBytes bytes with the suffix.
    static QString problem(const QString& name, const QString& suffix = QString());
};
