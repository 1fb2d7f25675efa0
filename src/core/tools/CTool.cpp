// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/tools/CTool.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>

#include "core/base/AppMessageSink.h"
#include "core/base/ToolDialogs.h"
#include "core/tools/ToolKind.h"
#include "core/tools/ToolStyle.h"
#include "core/video/GdiPainter.h"

namespace {

const char* const faceNames[] = { "Arial", "Times New Roman", "Comic Sans MS" };
const char* const unitNames[] = { "mm", "um", "mil" };

// Text cell height (ascent + descent) asked of the label font.
int labelHeight(int fontSize)
{
    return 14 + 2 * fontSize;
}

// Faces come in whole pixel sizes, and some cell heights fall between two of
// them: take the largest size whose cell is not taller and scale the rest.
// Found once per face, size and weight: labels are drawn on every repaint.
CTool::LabelFont fitCellHeight(QFont font, int height)
{
    static QHash<QString, CTool::LabelFont> known;
    const QString key = font.key() + QLatin1Char('/') + QString::number(height);
    const auto found = known.constFind(key);
    if (found != known.cend())
        return *found;
    int size = height;
    int cell = height;
    for (; size > 1; --size) {
        font.setPixelSize(size);
        cell = QFontMetrics(font).height();
        if (cell <= height)
            break;
    }
    const CTool::LabelFont fitted { font, cell > 0 ? qreal(height) / cell : 1.0 };
    known.insert(key, fitted);
    return fitted;
}

} // namespace

CTool::CTool(const SettingsStore& settings, AppMessageSink& mainWindow)
    : mainWindow(mainWindow)
{
    ToolStyle::readShared(settings, *this);
}

void CTool::Reset()
{
    current = -1;
    placed = false;
    label.clear();
}

void CTool::AddPoint(QPoint p)
{
    points.append(p);
    current = int(points.size()) - 1;
}

void CTool::PushPoint(QPoint p)
{
    AddPoint(p);
}

void CTool::AddBlankPoint()
{
    points.append(QPoint(0, 0));
}

void CTool::RemoveCurrentPoint()
{
    if (current >= 0 && current < points.size())
        points.remove(current);
}

void CTool::Drag(QPoint p, bool moveAll)
{
    if (current < 0)
        return;
    send(WM_APP_SET_XY, p.x(), p.y());
    if (moveAll) {
        const QPoint shift = p - points[current];
        for (QPoint& point : points)
            point += shift;
    } else {
        points[current] = p;
    }
}

int CTool::Press(QPoint p)
{
    if (!placed) {
        points[0] = QPoint(p.x(), p.y() + 10);
        for (int i = 1; i < points.size(); ++i)
            points[i] = p;
        placed = true;
        current = int(points.size()) - 1;
        return current;
    }
    // Left and top inclusive, right and bottom exclusive; the lowest index
    // wins, so the label anchor beats an end point under it.
    const int reach = qMax(3, hitTolerance);
    const QRect hit(QPoint(p.x() - reach, p.y() - reach), QPoint(p.x() + reach - 1, p.y() + reach - 1));
    current = -1;
    for (int i = 0; i < points.size(); ++i) {
        if (hit.contains(points[i])) {
            current = i;
            break;
        }
    }
    return current;
}

void CTool::Nudge(int handle, QPoint step, bool moveAll)
{
    if (handle < 0 || handle >= points.size())
        return;
    current = handle;
    Drag(points[handle] + step, moveAll);
    current = -1;
}

void CTool::Draw(QPainter& painter)
{
    int first = 1;
    if (kind > KindCalibrateVertical) {
        DrawLabel(painter);
        first = 0;
    }
    if (!showHandles)
        return;
    const QColor color = GdiPainter::fromColorRef(handleColor);
    for (int i = first; i < points.size(); ++i) {
        if (i == current)
            continue;
        GdiPainter::handle(painter, points[i], color);
    }
}

void CTool::DrawLabel(QPainter& painter)
{
    UpdateLabel();
    if (label.isEmpty())
        return;
    drawLabelAt(painter, points[0]);
}

void CTool::drawLabelAt(QPainter& painter, QPoint at) const
{
    const LabelFont fitted = labelFont();
    painter.save();
    painter.setFont(fitted.font);
    const auto pass = [&](QPoint topLeft, quint32 colour) {
        painter.save();
        // Scaled about the cell's corner, which stays on its pixel, so the
        // passes still outline each other.
        painter.translate(topLeft);
        painter.scale(fitted.scale, fitted.scale);
        GdiPainter::drawText(painter, QPoint(0, 0), label, GdiPainter::fromColorRef(colour));
        painter.restore();
    };
    // Highlight up and left, shadow down and right, the text on top.
    if (textStyle & HighlightPass)
        pass(at + QPoint(-1, -1), textHighlite);
    if (textStyle & ShadowPass)
        pass(at + QPoint(1, 1), textShadow);
    if (textStyle & TextPass)
        pass(at, textColor);
    painter.restore();
}

void CTool::UpdateLabel()
{
    label.clear();
}

double CTool::GetPixelLength() const
{
    return 0.0;
}

double CTool::GetDistance(QString*) const
{
    return 0.0;
}

double CTool::GetAngle(QString*) const
{
    return 0.0;
}

double CTool::GetArea(QString*) const
{
    return 0.0;
}

double CTool::GetPerimeter() const
{
    return 0.0;
}

int CTool::EditOptions(ToolDialogs& dialogs, SettingsStore& settings)
{
    if (!dialogs.editToolOptions(*this))
        return 0;
    ToolStyle::writeToolOptions(settings, *this);
    return 1;
}

CTool::LabelFont CTool::labelFont() const
{
    QFont font(QString::fromLatin1(faceNames[fontFace >= 0 && fontFace < 3 ? fontFace : 0]));
    font.setBold(textStyle & Bold);
    font.setItalic(textStyle & Italic);
    font.setUnderline(textStyle & Underline);
    // Hard-edged text: the three passes are meant to outline each other
    // pixel for pixel, also once burnt into the image.
    font.setStyleStrategy(QFont::NoAntialias);
    return fitCellHeight(font, labelHeight(fontSize >= 0 && fontSize < 8 ? fontSize : 0));
}

QString CTool::unitName() const
{
    return QString::fromLatin1(unitNames[units >= 0 && units < 3 ? units : 0]);
}

void CTool::send(unsigned message, qintptr wParam, qintptr lParam) const
{
    mainWindow.send(AppMessage(message), wParam, lParam);
}
