// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ViewComposer.h"

#include <cstring>

#include <QRegion>

#include "core/base/TimeFormat.h"
#include "core/video/GdiPainter.h"

namespace {

// The band width that carries the ANSI zone marks.
constexpr int kAnsiBorder = 20;

struct Pitch {
    int size;
    int pitch;
};

// Zone pitches of the common camera and screen sizes.
constexpr Pitch kColumnPitches[] = { { 320, 160 }, { 352, 176 }, { 640, 160 }, { 720, 144 }, { 800, 160 },
    { 1024, 256 }, { 1280, 160 }, { 1600, 160 }, { 1920, 160 }, { 2048, 256 } };
constexpr Pitch kRowPitches[] = { { 240, 120 }, { 288, 144 }, { 480, 160 }, { 600, 150 }, { 768, 192 }, { 900, 100 },
    { 960, 160 }, { 1024, 128 }, { 1200, 120 } };

// A size missing from the table gets one zone when it is below `small`,
// else zones of 128 pixels.
template <size_t N> int pitchFor(const Pitch (&table)[N], int size, int small)
{
    for (const Pitch& entry : table) {
        if (entry.size == size)
            return entry.pitch;
    }
    return size < small ? size : 128;
}

// The third line as the title block shows it; title3 itself when hidden.
QString thirdLine(const TitleBlockText& title, qint64 now)
{
    if (!title.shown || !title.useDate)
        return title.title3;
    return FormatLocalTime(now, "%Y/%m/%d %H:%M:%S") + QString::asprintf("   %uX", title.magnification);
}

// Everything of `client` except the image, which no band drawing may reach.
QRegion bandRegion(const QRect& client, const QRect& image)
{
    return QRegion(client).subtracted(QRegion(image));
}

} // namespace

QString ViewComposer::compose(
    QImage& back, const QImage& frame, int borderWidth, const TitleBlockText& title, const Overlay& overlay, qint64 now)
{
    const int b = qMax(0, borderWidth);
    const QImage source = frame.format() == QImage::Format_RGB32 ? frame : frame.convertToFormat(QImage::Format_RGB32);
    const int w = source.width();
    const int h = source.height();
    const QSize size(w + 2 * b, h + 2 * b);
    if (back.size() != size || back.format() != QImage::Format_RGB32)
        back = QImage(size, QImage::Format_RGB32);
    if (back.isNull())
        return thirdLine(title, now);

    // Row by row: the view's rows are wider than the image's.
    if (w > 0 && h > 0) {
        const qsizetype rowBytes = qsizetype(w) * 4;
        const qsizetype backStride = back.bytesPerLine();
        const qsizetype frameStride = source.bytesPerLine();
        uchar* to = back.bits() + qsizetype(b) * backStride + qsizetype(b) * 4;
        const uchar* from = source.constBits();
        for (int y = 0; y < h; ++y) {
            std::memcpy(to, from, size_t(rowBytes));
            to += backStride;
            from += frameStride;
        }
    }

    const bool imageLayer = w > 0 && h > 0 && (overlay || title.shown);
    if (b == 0 && !imageLayer)
        return thirdLine(title, now);

    QPainter painter(&back);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawBorder(painter, back.rect(), b, w, h);
    if (!imageLayer)
        return thirdLine(title, now);

    painter.translate(b, b);
    painter.setClipRect(QRect(0, 0, w, h));
    if (overlay) {
        // The tool may leave any pen, brush or hint behind.
        painter.save();
        overlay(painter);
        painter.restore();
    }
    return DrawTitleBlock(painter, w, h, b, title, now);
}

void ViewComposer::DrawBorder(QPainter& painter, const QRect& client, int borderWidth, int imageWidth, int imageHeight)
{
    // With no band every pixel belongs to the image.
    if (borderWidth <= 0)
        return;
    const QRect image(client.left() + borderWidth, client.top() + borderWidth, imageWidth, imageHeight);
    // The band is white: four strips around the image, which is never touched.
    for (const QRect& strip : bandRegion(client, image))
        painter.fillRect(strip, Qt::white);
    // Both outlines lie in the band.
    GdiPainter::rectangle(painter, client.left(), client.top(), client.left() + client.width(),
        client.top() + client.height(), Qt::black, Qt::NoBrush);
    GdiPainter::rectangle(painter, image.left() - 1, image.top() - 1, image.left() + imageWidth + 1,
        image.top() + imageHeight + 1, Qt::black, Qt::NoBrush);
    if (borderWidth == kAnsiBorder)
        AnsiZoneMarks(painter, client, imageWidth, imageHeight);
}

void ViewComposer::AnsiZoneMarks(QPainter& painter, const QRect& client, int imageWidth, int imageHeight)
{
    // An empty image has no zones to mark.
    if (imageWidth <= 0 || imageHeight <= 0)
        return;
    const int hs = columnPitch(imageWidth);
    const int vs = rowPitch(imageHeight);
    const int ox = hs / 2 - 4;
    const int oy = vs / 2 - 4;
    const int n = imageWidth / hs + 1;
    const int left = client.left();
    const int top = client.top();
    const int right = left + client.width();
    const int bottom = top + client.height();
    const QRect image(
        left + (client.width() - imageWidth) / 2, top + (client.height() - imageHeight) / 2, imageWidth, imageHeight);

    painter.save();
    painter.setClipRegion(bandRegion(client, image), Qt::IntersectClip);
    painter.setFont(GdiPainter::defaultFont());
    for (int i = 0; i < n; ++i) {
        // The first mark sits on the ring around the image.
        const int x = left + i * hs + kAnsiBorder - (i == 0 ? 1 : 0);
        GdiPainter::line(painter, x, top, x, top + kAnsiBorder, Qt::black);
        GdiPainter::line(painter, x, bottom - kAnsiBorder, x, bottom, Qt::black);
        const QString column(QChar(char16_t(u'1' + i)));
        GdiPainter::textOut(painter, x + ox, top + 2, column, Qt::black, Qt::white);
        GdiPainter::textOut(painter, x + ox, bottom - 18, column, Qt::black, Qt::white);

        const int y = top + i * vs + kAnsiBorder - (i == 0 ? 1 : 0);
        GdiPainter::line(painter, left, y, left + kAnsiBorder, y, Qt::black);
        GdiPainter::line(painter, right - kAnsiBorder, y, right, y, Qt::black);
        const QString row(QChar(char16_t(u'A' + i)));
        GdiPainter::textOut(painter, left + 6, y + oy, row, Qt::black, Qt::white);
        GdiPainter::textOut(painter, right - 14, y + oy, row, Qt::black, Qt::white);
    }
    painter.restore();
}

QString ViewComposer::DrawTitleBlock(
    QPainter& painter, int imageWidth, int imageHeight, int borderWidth, const TitleBlockText& title, qint64 now)
{
    if (!title.shown)
        return title.title3;
    const QString third = thirdLine(title, now);
    const int w = imageWidth;
    const int h = imageHeight;
    painter.save();
    // The box reaches into the band, so with a band only its left and top
    // edges show within the image.
    GdiPainter::rectangle(painter, w - 220, h - 60, w + 2 * borderWidth, h + 2 * borderWidth, Qt::black, Qt::white);
    painter.setFont(GdiPainter::defaultFont());
    GdiPainter::textOut(painter, w - 214, h - 56, title.title1, Qt::black);
    GdiPainter::textOut(painter, w - 214, h - 38, title.title2, Qt::black);
    GdiPainter::textOut(painter, w - 214, h - 20, third, Qt::black);
    painter.restore();
    return third;
}

int ViewComposer::columnPitch(int imageWidth)
{
    return pitchFor(kColumnPitches, imageWidth, 320);
}

int ViewComposer::rowPitch(int imageHeight)
{
    return pitchFor(kRowPitches, imageHeight, 240);
}
