// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

class QPaintDevice;

// One picture on one page: as large as the printable area allows, its aspect
// kept, at the top-left corner. Sizes are device pixels of the printable area.
class PrintLayout {
public:
    // Where `source` lands on `page`. With sx = page width / source width and
    // sy = page height / source height, the picture fills the page's width
    // when sx <= sy and its height otherwise; the other side is truncated,
    // but never to less than one pixel.
    static QRect fit(QSize source, QSize page);

    // Starts the job on `device`, draws `picture` into fit() of the device's
    // size and ends the job. False when the job cannot start.
    static bool print(QPaintDevice& device, const QImage& picture);
};
