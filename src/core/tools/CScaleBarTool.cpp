// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CScaleBarTool.h"

#include <cmath>

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>

#include "core/base/AppMessage.h"
#include "core/base/ToolDialogs.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"
#include "core/video/GdiPainter.h"

namespace {

// No picture is this wide; a typed length far beyond the picture stays a
// number of pixels that the painter can take.
constexpr double longestBar = 1 << 20;
// Between the bar and the bottom of its label's text cell.
constexpr int labelGap = 2;

// Pixels for `length` at `scale` units per pixel, rounded; 0 for a scale
// that is not a positive number.
double pixelsFor(double length, double scale)
{
    if (!(scale > 0.0) || !std::isfinite(scale))
        return 0.0;
    return std::round(qMin(length / scale, longestBar));
}

} // namespace

CScaleBarTool::CScaleBarTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : CTool(settings, mainWindow)
{
    AddBlankPoint();
    kind = KindScaleBar;
    ToolStyle::readScaleBar(settings, *this);
}

double CScaleBarTool::automaticLength(int pictureWidth, double scale)
{
    if (pictureWidth < 4 || !(scale > 0.0) || !std::isfinite(scale))
        return 0.0;
    // 1 x 10^k of the longest length's decade always fits before rounding;
    // the decade above is tried too, for a length that fits once rounded.
    const double longest = pictureWidth / 4.0 * scale;
    const int decade = int(std::floor(std::log10(longest)));
    for (int k = decade + 1; k >= decade - 1; --k) {
        // Divided by an exact power of ten, so that 2 x 10^-3 is the double nearest 0.002.
        const double power = std::pow(10.0, std::abs(k));
        for (const double mantissa : { 5.0, 2.0, 1.0 }) {
            const double candidate = k >= 0 ? mantissa * power : mantissa / power;
            const double pixels = pixelsFor(candidate, scale);
            if (pixels >= 1.0 && pixels * 4.0 <= pictureWidth)
                return candidate;
        }
    }
    return 0.0;
}

double CScaleBarTool::barLength() const
{
    return length > 0.0 ? length : automaticLength(pictureSize.width(), scaleX);
}

int CScaleBarTool::barPixels() const
{
    return int(pixelsFor(barLength(), scaleX));
}

QRect CScaleBarTool::barRect() const
{
    const int pixels = barPixels();
    if (pixels <= 0)
        return QRect();
    const QPoint bottomLeft = points[0];
    return QRect(bottomLeft.x(), bottomLeft.y() - thickness + 1, pixels, thickness);
}

void CScaleBarTool::SetPictureSize(QSize size)
{
    if (size == pictureSize)
        return;
    const bool fresh = !pictureSize.isValid();
    pictureSize = size;
    // A new bar, or one on a picture that changed its size, goes to the
    // corner; a burnt one waits for a press.
    if (fresh || placed) {
        points[0] = QPoint(Margin, size.height() - 1 - Margin);
        points[1] = points[0];
        placed = true;
        current = -1;
    }
}

int CScaleBarTool::Press(QPoint p)
{
    if (!placed) {
        points[0] = p;
        points[1] = p;
        placed = true;
        current = 1;
        return current;
    }
    UpdateLabel();
    const QPoint corner = points[0];
    const QRect handle(corner - QPoint(3, 3), corner + QPoint(3, 3));
    const QRect held = barRect().united(labelRect()).united(handle).adjusted(-3, -3, 3, 3);
    if (held.contains(p)) {
        points[1] = p;
        current = 1;
    } else {
        current = -1;
    }
    return current;
}

void CScaleBarTool::Drag(QPoint p, bool)
{
    if (current < 0)
        return;
    send(WM_APP_SET_XY, p.x(), p.y());
    const QPoint shift = p - points[current];
    for (QPoint& point : points)
        point += shift;
}

void CScaleBarTool::Draw(QPainter& painter)
{
    const QRect bar = barRect();
    if (!bar.isEmpty())
        painter.fillRect(bar, GdiPainter::fromColorRef(toolColor));
    DrawLabel(painter);
    // One handle, at the bar's end; none while the bar is held.
    if (showHandles && current < 0) {
        const QPoint& p = points[0];
        GdiPainter::rectangle(
            painter, p.x() - 3, p.y() - 3, p.x() + 4, p.y() + 4, GdiPainter::fromColorRef(handleColor), Qt::NoBrush);
    }
}

void CScaleBarTool::DrawLabel(QPainter& painter)
{
    UpdateLabel();
    if (!label.isEmpty())
        drawLabelAt(painter, labelRect().topLeft());
}

void CScaleBarTool::UpdateLabel()
{
    const double shown = barLength();
    // The shortest text that reads back as the length, never in exponent
    // form: "0.5", "2000".
    label = shown > 0.0 ? QString::number(shown, 'f', QLocale::FloatingPointShortest) + QLatin1Char(' ') + unitName()
                        : QString();
}

QRect CScaleBarTool::labelRect() const
{
    if (label.isEmpty())
        return QRect();
    const LabelFont fitted = labelFont();
    const int width = qRound(QFontMetrics(fitted.font).horizontalAdvance(label) * fitted.scale);
    const int height = 14 + 2 * (fontSize >= 0 && fontSize < 8 ? fontSize : 0);
    const QPoint bottomLeft = points[0];
    const int barTop = bottomLeft.y() - thickness + 1;
    return QRect(bottomLeft.x() + (barPixels() - width) / 2, barTop - labelGap - height, width, height);
}

int CScaleBarTool::EditOptions(ToolDialogs& dialogs, SettingsStore& settings)
{
    if (!dialogs.editScaleBarOptions(*this))
        return 0;
    ToolStyle::writeScaleBarOptions(settings, *this);
    return 1;
}
