// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <vector>

#include <QByteArray>

// libjpeg-turbo on its own, the reference the benchmarks compare with: a
// file decoded at 1/denominator scale straight into 32-bit pixels in the
// program's byte order, into a reused buffer, on the calling thread.
bool decodeLibjpeg(
    const QByteArray& nativePath, unsigned denominator, std::vector<unsigned char>& pixels, int& width, int& height);
