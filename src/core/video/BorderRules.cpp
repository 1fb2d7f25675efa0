// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/BorderRules.h"

#include <limits>

namespace {

// Whether a band of b pixels on every side of a w x h picture leaves some of it.
bool leavesPicture(qint64 b, int w, int h)
{
    return b > 0 && 2 * b < w && 2 * b < h;
}

} // namespace

int BorderRules::fromWidth(int w)
{
    switch (w) {
    case 322:
    case 642:
    case 802:
    case 1026:
    case 1282:
        return 1;
    case 358:
    case 678:
    case 838:
    case 1062:
    case 1318:
        return 19;
    case 360:
    case 680:
    case 840:
    case 1064:
    case 1320:
        return 20;
    default:
        return 0;
    }
}

int BorderRules::forImage(const ImageTags& tags, int w, int h)
{
    if (tags.software && *tags.software == QLatin1String("Scopique") && tags.make) {
        const qint64 b = atoiText(*tags.make);
        // A border that would leave no picture is not one this program saved.
        if (leavesPicture(b, w, h))
            return int(b);
    }
    // A 680 x 30 strip is not a bordered 640 x -10 picture: show it whole.
    const int b = fromWidth(w);
    return leavesPicture(b, w, h) ? b : 0;
}

int BorderRules::atoiText(const QString& text)
{
    const auto isBlank
        = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r'; };
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // Accumulate the magnitude up to one past INT_MAX, so that INT_MIN still fits.
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < n && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        if (magnitude < limit)
            magnitude = qMin(limit, magnitude * 10 + (text.at(i).unicode() - u'0'));
    }
    const qint64 value = negative ? -magnitude : magnitude;
    return int(qBound(qint64(std::numeric_limits<int>::min()), value, qint64(std::numeric_limits<int>::max())));
}
