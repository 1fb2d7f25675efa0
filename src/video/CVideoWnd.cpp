// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "video/CVideoWnd.h"

#include <ctime>

#include <QPaintEvent>
#include <QPainter>

#include "app/SettingsStore.h"
#include "app/UserPrompts.h"
#include "tools/ToolKind.h"
#include "video/ImageLoader.h"
#include "video/ViewComposer.h"

namespace {

const QString imageSection = QStringLiteral("Image");

// No border the program draws is wider; a hand-edited value beyond this
// would make buffers of gigabytes at start.
constexpr int maxBorderWidth = 1000;
constexpr int defaultBorderWidth = 20;

} // namespace

CVideoWnd::CVideoWnd(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent)
    : QWidget(parent)
    , calibration(settings, mainWindow)
    , settings(settings)
    , prompts(prompts)
{
    // The whole view is composed on every paint; nothing is to be erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);

    BorderWidth = settings.readInt(imageSection, QStringLiteral("BorderWidth"), defaultBorderWidth);
    if (BorderWidth < 0 || BorderWidth > maxBorderWidth)
        BorderWidth = defaultBorderWidth;
    Title1 = settings.readString(imageSection, QStringLiteral("Title1"), QStringLiteral("Your Company Name Here"));
    Title2 = settings.readString(imageSection, QStringLiteral("Title2"), QStringLiteral("Captured Image"));
    Title3 = settings.readString(imageSection, QStringLiteral("Title3"), QStringLiteral("0000-00-00-00-00-00"));
    UseDate = settings.readInt(imageSection, QStringLiteral("UseDate"), 1) != 0;
    TitleBlock = settings.readInt(imageSection, QStringLiteral("TitleBlock"), 0) != 0;
    calibration.load();

    AllocateFrameBuffer(640, 480);
}

bool CVideoWnd::LoadImageFile(const QString& path)
{
    const LoadResult result = ImageLoader::decode(path, decodeScratch);
    if (!result.ok) {
        prompts.showMessage(result.error);
        return false;
    }
    FrameBuffer.adopt(decodeScratch, result.border);
    SetBorderWidth(result.border);
    // The title block is switched off on screen only; its setting stays.
    TitleBlock = false;
    update();
    return true;
}

void CVideoWnd::AllocateFrameBuffer(int w, int h)
{
    FrameBuffer.allocate(w, h);
    SetBorderWidth(BorderWidth);
}

void CVideoWnd::SetBorderWidth(int b)
{
    if (b != BorderWidth)
        settings.writeInt(imageSection, QStringLiteral("BorderWidth"), b);
    BorderWidth = b;
    const QSize viewSize(FrameBuffer.width() + 2 * b, FrameBuffer.height() + 2 * b);
    resize(viewSize);
    // A hidden window gets its resize event only when shown; the buffer must
    // fit the window now, because saving composes without showing.
    resizeBackBuffer(viewSize);
    emit viewSizeChanged();
}

int CVideoWnd::GetLuma(int x, int y) const
{
    const QImage& image = FrameBuffer.image();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return 0;
    const QRgb pixel = reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
    return (qBlue(pixel) + qGreen(pixel) + qRed(pixel)) / 3;
}

void CVideoWnd::composeView()
{
    const TitleBlockText title {TitleBlock, UseDate, Title1, Title2, Title3, calibration.Magnification};
    // A tool is drawn once placed; a polygon also while its vertices are laid.
    ViewComposer::Overlay overlay;
    if (activeTool && (activeTool->placed || activeTool->kind == KindPolygon))
        overlay = [this](QPainter& painter) { activeTool->Draw(painter); };
    // The date line is kept as drawn: the title block dialog shows it.
    Title3 = ViewComposer::compose(BackBuffer.image(), FrameBuffer.image(), BorderWidth, title, overlay,
                                   std::time(nullptr));
}

bool CVideoWnd::onCommand(int)
{
    return false;
}

bool CVideoWnd::updateCommand(int, CommandState&) const
{
    return false;
}

void CVideoWnd::paintEvent(QPaintEvent* event)
{
    composeView();
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(dirty, BackBuffer.image(), dirty);
}

void CVideoWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    resizeBackBuffer(size());
}

void CVideoWnd::resizeBackBuffer(const QSize& size)
{
    // The view is recomposed in full before every use, so an unchanged size
    // needs no new (or cleared) buffer.
    if (BackBuffer.size() != size || BackBuffer.isEmpty())
        BackBuffer.allocate(size.width(), size.height());
}
