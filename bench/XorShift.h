// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QtGlobal>

// The benchmarks' pictures are the same in every run: their noise and
// layout come from this small generator with a fixed seed.
struct XorShift {
    quint32 state;

    quint32 operator()()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};
