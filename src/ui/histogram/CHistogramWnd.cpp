// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "ui/histogram/CHistogramWnd.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "core/video/ViewScale.h"
#include "ui/video/CVideoWnd.h"

namespace {

const QString section = QStringLiteral("Histogram");
const QString sizeEntry = QStringLiteral("Size");
const QString showEntry = QStringLiteral("Show");

} // namespace

CHistogramWnd::CHistogramWnd(SettingsStore& settings, bool horizontal)
    : settings(settings)
    , surface(horizontal)
{
    setWindowTitle(QStringLiteral("Histogram"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The keys belong to the picture, never to the profile.
    setFocusPolicy(Qt::NoFocus);
}

void CHistogramWnd::Create(QWidget* paneClient, const CVideoWnd& videoWnd)
{
    video = &videoWnd;
    connect(video, &CVideoWnd::placeChanged, this, &CHistogramWnd::followPicture);
    setParent(paneClient);
    hide();
    setGeometry(0, 0, 0, 0);
    surface.setThickness(ProfileSurface::validThickness(settings.readInt(section, sizeEntry, 64)));
    SetThickness(0);
    userShown = settings.readInt(section, showEntry, 1) != 0;
}

void CHistogramWnd::Show(bool show, bool remember)
{
    if (remember) {
        userShown = show;
        settings.writeInt(section, showEntry, show ? 1 : 0);
    }
    if (show && userShown) {
        fitToImage();
        if (firstPlacementPending)
            placeFirstTime();
        QWidget::show();
        raise();
    } else {
        hide();
    }
}

void CHistogramWnd::SetThickness(int value)
{
    if (value != 0) {
        surface.setThickness(value);
        settings.writeInt(section, sizeEntry, surface.thickness());
    }
    const QSize size = surface.size() + QSize(2 * frameWidth, 2 * frameWidth + captionHeight);
    // The bars grow away from the kept edge: right and top for the vertical
    // profile, left and bottom for the horizontal one.
    const QRect old = geometry();
    QPoint topLeft = old.topLeft();
    if (horizontal())
        topLeft.setY(qMax(0, old.y() + old.height() - size.height()));
    else
        topLeft.setX(qMax(0, old.x() + old.width() - size.width()));
    setGeometry(QRect(topLeft, size));
    if (anchored)
        anchorAt(topLeft);
    raise();
    Draw();
}

void CHistogramWnd::Draw()
{
    surface.draw();
    repaint();
}

void CHistogramWnd::SetMark(int index, int position)
{
    surface.setMark(index, position);
    repaint();
}

QRect CHistogramWnd::clientRect() const
{
    return rect().adjusted(frameWidth, frameWidth + captionHeight, -frameWidth, -frameWidth);
}

QRect CHistogramWnd::captionRect() const
{
    return QRect(frameWidth, frameWidth, width() - 2 * frameWidth, captionHeight);
}

QRect CHistogramWnd::closeBoxRect() const
{
    const QRect caption = captionRect();
    const int side = captionHeight - 4;
    return QRect(caption.right() - 1 - side, caption.top() + 2, side, side);
}

void CHistogramWnd::fitToImage()
{
    // The window spans the image's length, as shown, along the profile and
    // keeps its place.
    fittedScale = pictureScale();
    const QSize image = video ? ViewScale::shownSize(video->document().FrameBuffer.size(), fittedScale) : QSize();
    if (horizontal())
        resize(image.width() + 2 * frameWidth, height());
    else
        resize(width(), image.height() + captionHeight + 2 * frameWidth);
    raise();
}

void CHistogramWnd::placeFirstTime()
{
    // The pane's client area is the parent; the Video Window is a sibling.
    const QWidget* pane = parentWidget();
    if (!pane || !video)
        return;
    const QRect image = video->geometry();
    QPoint topLeft;
    if (horizontal())
        topLeft = QPoint((pane->width() - width()) / 2, image.top() - height());
    else
        topLeft = QPoint(image.left() - width(), (pane->height() - height() - captionHeight) / 2);
    move(qMax(0, topLeft.x()), qMax(0, topLeft.y()));
    // Beside the picture is where it belongs, also where the pane cuts it off.
    anchorAt(topLeft);
    firstPlacementPending = false;
}

double CHistogramWnd::pictureScale() const
{
    return video ? video->scale() : 1.0;
}

QPointF CHistogramWnd::imageOrigin() const
{
    const double border = video->document().BorderWidth * pictureScale();
    return QPointF(video->pos()) + QPointF(border, border);
}

void CHistogramWnd::anchorAt(QPoint topLeft)
{
    if (!video)
        return;
    const QPointF origin = imageOrigin();
    const double scale = pictureScale();
    if (horizontal())
        anchor = { (topLeft.x() + frameWidth - origin.x()) / scale, double(topLeft.y() - video->y()) };
    else
        anchor = { double(topLeft.x() - video->x()), (topLeft.y() + frameWidth + captionHeight - origin.y()) / scale };
    anchored = true;
}

void CHistogramWnd::followPicture()
{
    if (!anchored || !video)
        return;
    const double scale = pictureScale();
    if (scale != fittedScale)
        fitToImage();
    const QPointF origin = imageOrigin();
    QPoint topLeft;
    if (horizontal())
        topLeft = QPoint(qRound(origin.x() + anchor.x() * scale) - frameWidth, video->y() + qRound(anchor.y()));
    else
        topLeft = QPoint(
            video->x() + qRound(anchor.x()), qRound(origin.y() + anchor.y() * scale) - frameWidth - captionHeight);
    move(clampedToPane(topLeft));
}

QPoint CHistogramWnd::clampedToPane(QPoint topLeft) const
{
    const QWidget* pane = parentWidget();
    if (!pane)
        return topLeft;
    return QPoint(qBound(0, topLeft.x(), qMax(0, pane->width() - width())),
        qBound(0, topLeft.y(), qMax(0, pane->height() - height())));
}

void CHistogramWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colors = palette();
    const QRect whole = rect();

    // Dialog frame: a dark outline around a raised face.
    painter.fillRect(whole, colors.color(QPalette::Button));
    painter.setPen(colors.color(QPalette::Shadow));
    painter.drawRect(whole.adjusted(0, 0, -1, -1));
    painter.setPen(colors.color(QPalette::Light));
    painter.drawLine(1, 1, whole.width() - 2, 1);
    painter.drawLine(1, 1, 1, whole.height() - 2);

    const QRect caption = captionRect();
    painter.fillRect(caption, colors.color(QPalette::Active, QPalette::Highlight));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(captionHeight - 6);
    painter.setFont(font);
    painter.setPen(colors.color(QPalette::Active, QPalette::HighlightedText));
    const QRect titleRect = caption.adjusted(3, 0, -(captionHeight + 2), 0);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
        painter.fontMetrics().elidedText(windowTitle(), Qt::ElideRight, titleRect.width()));

    const QRect box = closeBoxRect();
    painter.fillRect(box, colors.color(QPalette::Button));
    painter.setPen(colors.color(QPalette::Shadow));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(colors.color(QPalette::ButtonText), 2));
    const QRect cross = box.adjusted(4, 4, -4, -4);
    painter.drawLine(cross.topLeft(), cross.bottomRight() + QPoint(1, 1));
    painter.drawLine(cross.topRight() + QPoint(1, 0), cross.bottomLeft() + QPoint(0, 1));

    // One copy of the surface's top-left part; an image longer than the
    // surface leaves the rest of the client area light grey.
    const QRect client = clientRect();
    const QImage& image = surface.image();
    if (client.width() > image.width() || client.height() > image.height())
        painter.fillRect(client, QColor(192, 192, 192));
    painter.setClipRect(client);
    const double scale = pictureScale();
    const int shift = barShift();
    if (scale == 1 && shift == 0) {
        painter.drawImage(client.topLeft(), image,
            QRect(0, 0, qMin(client.width(), image.width()), qMin(client.height(), image.height())));
        return;
    }
    // Each bar stands over its pixel of the picture: the picture's pitch
    // along the profile, and moved with the picture where the pane's edge
    // keeps the window from following it.
    painter.fillRect(client, QColor(192, 192, 192));
    const int surfaceLength = horizontal() ? image.width() : image.height();
    const int clientLength = horizontal() ? client.width() : client.height();
    const int first = qMax(0, qFloor(-shift / scale));
    const int last = qMin(surfaceLength, qCeil((clientLength - shift) / scale));
    if (last <= first)
        return;
    const double start = shift + first * scale;
    const double length = (last - first) * scale;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);
    if (horizontal())
        painter.drawImage(QRectF(client.left() + start, client.top(), length, image.height()), image,
            QRectF(first, 0, last - first, image.height()));
    else
        painter.drawImage(QRectF(client.left(), client.top() + start, image.width(), length), image,
            QRectF(0, first, image.width(), last - first));
}

int CHistogramWnd::barShift() const
{
    if (!anchored || !video)
        return 0;
    const QPointF origin = imageOrigin();
    const double scale = pictureScale();
    if (horizontal())
        return qRound(origin.x() + anchor.x() * scale) - (x() + frameWidth);
    return qRound(origin.y() + anchor.y() * scale) - (y() + frameWidth + captionHeight);
}

void CHistogramWnd::closeEvent(QCloseEvent* event)
{
    // The close box is the user's choice: the profiles stay away until the
    // user turns one on from the menu.
    userShown = false;
    settings.writeInt(section, showEntry, 0);
    hide();
    event->accept();
}

void CHistogramWnd::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (closeBoxRect().contains(at)) {
        closePressed = true;
    } else if (captionRect().contains(at)) {
        dragging = true;
        dragOffset = event->globalPosition().toPoint() - pos();
    }
}

void CHistogramWnd::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (dragging) {
        move(clampedToPane(event->globalPosition().toPoint() - dragOffset));
        anchorAt(pos());
    }
}

void CHistogramWnd::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const bool clickedClose = closePressed && closeBoxRect().contains(event->position().toPoint());
    dragging = false;
    closePressed = false;
    if (clickedClose)
        close();
}
