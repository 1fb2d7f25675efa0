// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/output/PrintLayout.h"

#include <QPaintDevice>
#include <QPainter>

QRect PrintLayout::fit(QSize source, QSize page)
{
    if (source.isEmpty() || page.isEmpty())
        return QRect();
    const double sx = double(page.width()) / source.width();
    const double sy = double(page.height()) / source.height();
    if (sx <= sy)
        return QRect(0, 0, page.width(), qMax(1, int(source.height() * sx)));
    return QRect(0, 0, qMax(1, int(source.width() * sy)), page.height());
}

bool PrintLayout::print(QPaintDevice& device, const QImage& picture)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Nearest pixels, as a printer's colour-on-colour stretch gives: scale
    // marks and labels stay crisp.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(fit(picture.size(), QSize(device.width(), device.height())), picture);
    painter.end();
    return true;
}
