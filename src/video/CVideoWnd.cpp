// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "video/CVideoWnd.h"

#include <ctime>

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>

#include "app/AppMessageSink.h"
#include "app/CommandIds.h"
#include "app/SettingsStore.h"
#include "app/UserPrompts.h"
#include "calibration/CCalibrateDlg.h"
#include "output/ImageSaver.h"
#include "output/PrintLayout.h"
#include "tools/ToolFactory.h"
#include "tools/ToolKind.h"
#include "video/ImageFilters.h"
#include "video/ImageLoader.h"
#include "video/ProfileSampler.h"
#include "video/QtCameraSource.h"
#include "video/ViewComposer.h"

namespace {

const QString imageSection = QStringLiteral("Image");

// No border the program draws is wider; a hand-edited value beyond this
// would make buffers of gigabytes at start.
constexpr int maxBorderWidth = 1000;
constexpr int defaultBorderWidth = 20;

// Where a calibration tool is laid when a calibration starts.
const QPoint calibrationStart(320, 240);

bool isToolCommand(int id)
{
    return id == ID_HORIZONTAL || id == ID_VERTICAL || (id >= ID_LINE && id <= ID_POLYGON) || id == ID_RETICULE
        || id == ID_TEXT || id == ID_ARROW;
}

// The seven kinds that measure and therefore need a known magnification.
bool isMeasuringKind(int kind)
{
    return kind == KindHorizontal || kind == KindVertical || (kind >= KindLine && kind <= KindPolygon);
}

bool isCalibrationKind(int kind)
{
    return kind == KindCalibrate || kind == KindCalibrateVertical;
}

bool isNudge(int id)
{
    return (id >= ID_NUDGE_LEFT && id <= ID_NUDGE_CTRL_DOWN) || (id >= ID_NUDGE_CTRL_SHIFT_LEFT && id <= ID_NUDGE_CTRL_SHIFT_DOWN);
}

} // namespace

CVideoWnd::CVideoWnd(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QWidget* parent)
    : QWidget(parent)
    , calibration(settings, mainWindow)
    , settings(settings)
    , prompts(prompts)
    , mainWindow(mainWindow)
{
    // The whole view is composed on every paint; nothing is to be erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // Moves arrive without a button too: the cursor follows the tool's
    // state, and a polygon's newest vertex follows the pointer between clicks.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

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
    setFrameSource(QtCameraSource::openDefault());
}

CVideoWnd::~CVideoWnd()
{
    // No frame may reach the buffers while they go: close the gate, then
    // stop and release the camera.
    SetFrozen(true);
    source.reset();
}

void CVideoWnd::setFrameSource(std::unique_ptr<FrameSource> newSource)
{
    SetFrozen(true);
    source = std::move(newSource);
    if (source)
        source->setFrameHandler([this](const QVideoFrame& frame) { grabber.SampleCB(frame); });
    emit commandStatesChanged();
}

void CVideoWnd::SetFrozen(bool frozen)
{
    if (!source)
        return;
    {
        std::lock_guard<std::mutex> hold(frameLock);
        live = !frozen;
    }
    if (frozen)
        source->stop();
    else
        source->start();
    emit commandStatesChanged();
}

void CVideoWnd::videoFormatCommand()
{
    SetActiveTool(nullptr);
    if (!source)
        return;
    const QList<FrameSource::Format> formats = source->formats();
    QStringList texts;
    for (const FrameSource::Format& format : formats)
        texts << QStringLiteral("%1 x %2, %3 fps")
                     .arg(format.size.width())
                     .arg(format.size.height())
                     .arg(format.framesPerSecond, 0, 'f', 1);
    const int chosen = prompts.videoFormat(texts, source->currentFormat());
    if (chosen >= 0 && chosen < formats.size()) {
        const QSize size = source->applyFormat(chosen);
        if (size.width() > 0 && size.height() > 0) {
            AllocateFrameBuffer(size.width(), size.height());
            SetBorderWidth(BorderWidth);
            settings.writeInt(imageSection, QStringLiteral("ImageWidth"), size.width());
            settings.writeInt(imageSection, QStringLiteral("ImageHeight"), size.height());
            // "VendorOffset" and "VendorBinning" stay unwritten: they come from
            // one vendor's driver property set, which no camera API here offers.
        }
    }
    SetFrozen(false);
}

void CVideoWnd::videoControlsCommand()
{
    if (!source)
        return;
    QList<FrameSource::Control> controls = source->controls();
    if (prompts.videoControls(controls))
        source->applyControls(controls);
}

void CVideoWnd::selectCameraCommand()
{
    if (!source)
        return;
    const QStringList cameras = source->cameras();
    const int chosen = prompts.selectCamera(cameras, source->currentCamera());
    if (chosen < 0 || chosen >= cameras.size() || chosen == source->currentCamera())
        return;
    const bool wasLive = IsLive();
    SetFrozen(true);
    source->selectCamera(chosen);
    SetFrozen(!wasLive);
}

bool CVideoWnd::LoadImageFile(const QString& path)
{
    // Decoded first: a file that cannot be opened must not cost the user the
    // tool on screen (nor ask whether to burn it).
    const LoadResult result = ImageLoader::decode(path, decodeScratch);
    if (!result.ok) {
        prompts.showMessage(result.error);
        return false;
    }
    SetActiveTool(nullptr);
    {
        std::lock_guard<std::mutex> hold(frameLock);
        FrameBuffer.adopt(decodeScratch, result.border);
    }
    SetBorderWidth(result.border);
    // The title block is switched off on screen only; its setting stays.
    TitleBlock = false;
    update();
    return true;
}

void CVideoWnd::AllocateFrameBuffer(int w, int h)
{
    {
        std::lock_guard<std::mutex> hold(frameLock);
        FrameBuffer.allocate(w, h);
    }
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
    std::lock_guard<std::mutex> hold(frameLock);
    const QImage& image = FrameBuffer.image();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return 0;
    return ImageFilters::luma(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
}

void CVideoWnd::SampleProfile(bool horizontal, int* samples) const
{
    Q_UNUSED(horizontal);
    if (!activeTool || activeTool->kind > KindVertical || activeTool->points.size() < 2)
        return;
    const bool alongRow = activeTool->kind == KindHorizontal || activeTool->kind == KindCalibrate;
    const QPoint& through = activeTool->points[1];
    std::lock_guard<std::mutex> hold(frameLock);
    ProfileSampler::sample(FrameBuffer.image(), alongRow, alongRow ? through.y() : through.x(), samples);
}

void CVideoWnd::NotifyHistogram()
{
    if (!activeTool)
        return;
    const int kind = activeTool->kind;
    if (kind == KindVertical || kind == KindCalibrateVertical)
        mainWindow.send(WM_APP_UPDATE_HISTOGRAM, 0, 0);
    else if (kind == KindHorizontal || kind == KindCalibrate)
        mainWindow.send(WM_APP_UPDATE_HISTOGRAM, 1, 1);
}

void CVideoWnd::postUpdateHistogram()
{
    QMetaObject::invokeMethod(this, [this] { NotifyHistogram(); }, Qt::QueuedConnection);
}

void CVideoWnd::monochromeCommand()
{
    {
        std::lock_guard<std::mutex> hold(frameLock);
        ImageFilters::monochrome(FrameBuffer.image());
    }
    repaintNow();
}

void CVideoWnd::edgeEnhanceCommand()
{
    // The edges are computed from the lumas that Monochrome would leave, so
    // the grey image itself never needs to be shown or kept: the old pixels
    // become the next run's scratch.
    {
        std::lock_guard<std::mutex> hold(frameLock);
        ImageFilters::edgeEnhance(FrameBuffer.image(), edgeScratch);
        FrameBuffer.image().swap(edgeScratch);
    }
    NotifyHistogram();
    repaintNow();
}

void CVideoWnd::composeView()
{
    const TitleBlockText title {TitleBlock, UseDate, Title1, Title2, Title3, calibration.Magnification};
    // A tool is drawn once placed; a polygon also while its vertices are laid.
    ViewComposer::Overlay overlay;
    if (activeTool && !hideToolOverlay && (activeTool->placed || activeTool->kind == KindPolygon))
        overlay = [this](QPainter& painter) { activeTool->Draw(painter); };
    // The date line is kept as drawn: the title block dialog shows it.
    std::lock_guard<std::mutex> hold(frameLock);
    Title3 = ViewComposer::compose(BackBuffer.image(), FrameBuffer.image(), BorderWidth, title, overlay,
                                   std::time(nullptr));
}

void CVideoWnd::repaintNow()
{
    if (isVisible())
        repaint();
    else
        composeView();
}

void CVideoWnd::SetActiveTool(std::unique_ptr<CTool> tool)
{
    mainWindow.send(WM_APP_SHOW_HISTOGRAM, 0, 0);
    if (activeTool) {
        if (!noBurnPrompt && !isCalibrationKind(activeTool->kind) && activeTool->placed) {
            const UserPrompts::Answer answer = prompts.burnNow();
            noBurnPrompt = answer.dontShowAgain;
            if (answer.yes)
                onCommand(ID_BURN_ON);
        }
        activeTool.reset();
    }
    activeTool = std::move(tool);
    pushScalesIntoTool();
    updateCursor();
    update();
    emit commandStatesChanged();
}

void CVideoWnd::pushScalesIntoTool()
{
    if (!activeTool)
        return;
    activeTool->SetScaleX(calibration.effectiveScale);
    activeTool->SetScaleY(calibration.effectiveScaleVertical);
    activeTool->SetUnits(calibration.Units);
}

bool CVideoWnd::burnToolPixels()
{
    if (!activeTool || !activeTool->placed)
        return false;
    // Image coordinates are the picture's own: no shift, no clip.
    std::lock_guard<std::mutex> hold(frameLock);
    if (!FrameBuffer.isEmpty()) {
        QPainter painter(&FrameBuffer.image());
        const bool showHandles = activeTool->showHandles;
        activeTool->showHandles = false;
        activeTool->Draw(painter);
        activeTool->showHandles = showHandles;
    }
    return true;
}

bool CVideoWnd::BurnIn()
{
    if (!burnToolPixels())
        return false;
    unplaceBurntTool();
    return true;
}

void CVideoWnd::unplaceBurntTool()
{
    activeTool->Reset();
    updateCursor();
    update();
    emit commandStatesChanged();
}

bool CVideoWnd::composeForOutput()
{
    const bool burnt = burnToolPixels();
    // The tool keeps its points, so that a successful write leaves it on
    // screen exactly as it was (a polygon's reset would empty it). Nothing
    // is drawn over the burnt copy, not even a polygon still being built.
    hideToolOverlay = true;
    // Composed here, not by a paint: a minimised or hidden window is not painted.
    composeView();
    hideToolOverlay = false;
    update();
    return burnt;
}

bool CVideoWnd::SaveImageFile(const QString& path, const std::optional<QString>& description)
{
    const bool burnt = composeForOutput();
    QString error;
    if (!ImageSaver::save(BackBuffer.image(), path, BorderWidth, description, error)) {
        // The tool stays burnt in, as Burn On leaves it.
        if (burnt)
            unplaceBurntTool();
        prompts.showMessage(error);
        return false;
    }
    return true;
}

void CVideoWnd::PrintImage(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Scopique Picture"));
    PrintImage(static_cast<QPaintDevice&>(printer));
}

bool CVideoWnd::PrintImage(QPaintDevice& device)
{
    const bool burnt = composeForOutput();
    if (!PrintLayout::print(device, BackBuffer.image())) {
        if (burnt)
            unplaceBurntTool();
        prompts.showMessage(QStringLiteral("Printer wouldn't initalize"));
        return false;
    }
    return true;
}

bool CVideoWnd::MeasurementCheck()
{
    SetActiveTool(nullptr);
    if (!noCalibrationPrompt && !calibration.calibrated) {
        const UserPrompts::Answer answer = prompts.calibrateNow();
        noCalibrationPrompt = answer.dontShowAgain;
        if (answer.yes) {
            StartCalibration(false);
            return true;
        }
    }
    if (!noMagnificationPrompt) {
        const UserPrompts::MagnificationAnswer answer = prompts.askMagnification(calibration.Magnification, true);
        noMagnificationPrompt = answer.dontShowAgain;
        // The dialog accepts no 0; a 0 from anywhere else keeps the current one.
        calibration.SetMagnification(answer.magnification != 0 ? answer.magnification : calibration.Magnification);
    }
    calibration.RecomputeEffectiveScales();
    return false;
}

void CVideoWnd::StartCalibration(bool vertical)
{
    // One calibration at a time: a new command cancels the open one (which
    // takes its tool away) and starts afresh.
    if (calibrate)
        calibrate->close();
    SetActiveTool(ToolFactory::create(vertical ? KindCalibrateVertical : KindCalibrate, settings, mainWindow));
    activeTool->Press(calibrationStart);
    activeTool->current = -1;
    calibrate = new CCalibrateDlg(vertical, *this, window());
    calibrate->show();
    // The arrow keys keep nudging the tool while the dialog is open.
    window()->activateWindow();
    setFocus();
    update();
}

CCalibrateDlg* CVideoWnd::calibrateDialog() const
{
    return calibrate;
}

void CVideoWnd::EditTitleBlock()
{
    UserPrompts::TitleBlockText text {Title1, Title2, Title3, UseDate};
    if (prompts.editTitleBlock(text)) {
        Title1 = text.title1;
        Title2 = text.title2;
        Title3 = text.title3;
        UseDate = text.useDate;
        settings.writeString(imageSection, QStringLiteral("Title1"), Title1);
        settings.writeString(imageSection, QStringLiteral("Title2"), Title2);
        settings.writeString(imageSection, QStringLiteral("Title3"), Title3);
        settings.writeInt(imageSection, QStringLiteral("UseDate"), UseDate ? 1 : 0);
    }
    repaintNow();
}

void CVideoWnd::ToggleTitleBlock()
{
    TitleBlock = !TitleBlock;
    if (TitleBlock)
        EditTitleBlock();
    settings.writeInt(imageSection, QStringLiteral("TitleBlock"), TitleBlock ? 1 : 0);
    repaintNow();
}

void CVideoWnd::toolCommand(int kind)
{
    // The tool commands toggle.
    if (activeTool && activeTool->kind == kind) {
        SetActiveTool(nullptr);
        return;
    }
    if (isMeasuringKind(kind) && MeasurementCheck())
        return;
    std::unique_ptr<CTool> tool = ToolFactory::create(kind, settings, mainWindow);
    // The text is typed before the tool appears; a cancelled dialog still
    // leaves an (empty) text tool to place.
    if (kind == KindText)
        tool->EditOptions(prompts, settings);
    SetActiveTool(std::move(tool));
}

void CVideoWnd::setMagnificationCommand()
{
    const UserPrompts::MagnificationAnswer answer = prompts.askMagnification(calibration.Magnification, false);
    calibration.SetMagnification(answer.magnification != 0 ? answer.magnification : calibration.Magnification);
    calibration.RecomputeEffectiveScales();
    if (activeTool) {
        pushScalesIntoTool();
        update();
    }
}

void CVideoWnd::nudge(int command)
{
    if (!activeTool)
        return;
    int group = 0;
    int direction = 0;
    if (command >= ID_NUDGE_CTRL_SHIFT_LEFT) {
        group = 3;
        direction = command - ID_NUDGE_CTRL_SHIFT_LEFT;
    } else {
        group = (command - ID_NUDGE_LEFT) / 4;
        direction = (command - ID_NUDGE_LEFT) % 4;
    }
    const int count = int(activeTool->points.size());
    int k = 0;
    bool moveAll = false;
    switch (group) {
    case 0: // the whole tool, by its tail or its label
        k = activeTool->kind <= KindVertical ? 3 : 0;
        moveAll = true;
        break;
    case 1: // Shift: top or left end
        k = count >= 2 ? 1 : 0;
        break;
    case 2: // Ctrl: bottom or right end
        k = count >= 3 ? 2 : 0;
        break;
    default: // Ctrl+Shift: the label
        k = 0;
        break;
    }
    if (k >= count)
        return;
    const QPoint steps[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    activeTool->current = k;
    activeTool->Drag(activeTool->points[k] + steps[direction], moveAll);
    activeTool->current = -1;
    repaintNow();
}

bool CVideoWnd::onCommand(int id)
{
    if (isToolCommand(id)) {
        toolCommand(id);
        return true;
    }
    if (isNudge(id)) {
        nudge(id);
        return true;
    }
    switch (id) {
    case ID_RESET_TOOL:
        SetActiveTool(nullptr);
        return true;
    case ID_BURN_ON:
        BurnIn();
        ImageChanged = true;
        return true;
    case ID_TOOL_OPTIONS:
        if (activeTool)
            activeTool->EditOptions(prompts, settings);
        update();
        return true;
    case ID_SET_MAGNIFICATION:
        setMagnificationCommand();
        return true;
    case ID_CALIBRATE:
        StartCalibration(false);
        return true;
    case ID_CALIBRATE_VERTICAL:
        StartCalibration(true);
        return true;
    case ID_MONOCHROME:
        monochromeCommand();
        return true;
    case ID_EDGE_ENHANCE:
        edgeEnhanceCommand();
        return true;
    case ID_FREEZE:
        SetFrozen(IsLive());
        return true;
    case ID_FREEZE_IMAGE:
        SetFrozen(true);
        return true;
    case ID_MAKE_IMAGE_LIVE:
    case ID_LIVE:
        SetFrozen(false);
        return true;
    case ID_VIDEO_FORMAT:
        videoFormatCommand();
        return true;
    case ID_VIDEO_CONTROLS:
        videoControlsCommand();
        return true;
    case ID_SELECT_CAMERA:
        selectCameraCommand();
        return true;
    default:
        return false;
    }
}

bool CVideoWnd::updateCommand(int id, CommandState& state) const
{
    // While a calibration tool is active, it stays until its dialog closes.
    const bool calibrating = activeTool && activeTool->kind <= KindCalibrateVertical;
    if (isToolCommand(id)) {
        state = {!calibrating, activeTool && activeTool->kind == id, {}};
        return true;
    }
    if (isNudge(id)) {
        state.enabled = true;
        return true;
    }
    switch (id) {
    case ID_RESET_TOOL:
        state.enabled = activeTool && !calibrating;
        return true;
    case ID_BURN_ON:
        state.enabled = activeTool && !calibrating && activeTool->placed;
        return true;
    case ID_TOOL_OPTIONS:
        state.enabled = activeTool != nullptr;
        return true;
    case ID_SET_MAGNIFICATION:
    case ID_CALIBRATE:
    case ID_CALIBRATE_VERTICAL:
    case ID_MONOCHROME:
    case ID_EDGE_ENHANCE:
        state.enabled = true;
        return true;
    case ID_FREEZE:
        state.enabled = true;
        state.text = IsLive() ? QStringLiteral("&Freeze!\tEsc") : QStringLiteral("Live!");
        return true;
    case ID_FREEZE_IMAGE:
    case ID_MAKE_IMAGE_LIVE:
    case ID_LIVE:
        state.enabled = true;
        return true;
    case ID_VIDEO_FORMAT:
    case ID_VIDEO_CONTROLS:
        state.enabled = source != nullptr;
        return true;
    case ID_SELECT_CAMERA:
        state.enabled = source && source->cameras().size() > 1;
        return true;
    default:
        return false;
    }
}

bool CVideoWnd::inTitleBlock(QPoint client) const
{
    return TitleBlock && client.x() > width() - BorderWidth - 220 && client.y() > height() - BorderWidth - 60;
}

void CVideoWnd::releaseCapture()
{
    if (captured && mouseGrabber() == this)
        releaseMouse();
    captured = false;
}

void CVideoWnd::updateCursor()
{
    setCursor(activeTool && !activeTool->placed ? Qt::CrossCursor : Qt::ArrowCursor);
}

void CVideoWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint client = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        if (inTitleBlock(client)) {
            EditTitleBlock();
            return;
        }
        if (activeTool)
            activeTool->EditOptions(prompts, settings);
        update();
        return;
    }
    if (event->button() != Qt::LeftButton || !activeTool)
        return;
    captured = true;
    activeTool->Press(toImage(client));
    updateCursor();
    update();
    emit commandStatesChanged();
}

void CVideoWnd::mouseMoveEvent(QMouseEvent* event)
{
    updateCursor();
    if (!captured || !activeTool)
        return;
    activeTool->Drag(toImage(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    update();
}

void CVideoWnd::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !captured)
        return;
    if (activeTool && activeTool->kind == KindPolygon && !activeTool->placed) {
        grabForPolygon();
        return;
    }
    releaseCapture();
    if (activeTool)
        activeTool->current = -1;
    update();
}

void CVideoWnd::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only a polygon still holds the pointer here: for every other tool the
    // double-click's second press reaches nothing.
    if (event->button() != Qt::LeftButton || !captured)
        return;
    releaseCapture();
    if (activeTool && activeTool->kind == KindPolygon) {
        activeTool->placed = true;
        QVector<QPoint>& points = activeTool->points;
        // The double-click's first press added a vertex where the second lands.
        if (points.size() >= 3 && points.last() == points[points.size() - 2])
            points.removeLast();
        emit commandStatesChanged();
    }
    repaintNow();
}

void CVideoWnd::grabForPolygon()
{
    // The polygon keeps the pointer between clicks, also outside the window.
    if (isVisible() && !blocked && mouseGrabber() != this)
        grabMouse();
}

void CVideoWnd::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Only the top-level window hears that a modal dialog blocks it.
    window()->installEventFilter(this);
}

bool CVideoWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window()) {
        if (event->type() == QEvent::WindowBlocked) {
            // A modal dialog (options, a prompt) needs the pointer for its
            // buttons; the polygon under construction keeps its state.
            blocked = true;
            if (mouseGrabber() == this)
                releaseMouse();
        } else if (event->type() == QEvent::WindowUnblocked) {
            blocked = false;
            if (captured && activeTool && activeTool->kind == KindPolygon && !activeTool->placed)
                grabForPolygon();
        }
    }
    return QWidget::eventFilter(watched, event);
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
