// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/document/ImageDocument.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <utility>

#include <QFileInfo>
#include <QPainter>

#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/base/TimeFormat.h"
#include "core/base/UserPrompts.h"
#include "core/document/DisplayRangeEditor.h"
#include "core/favorites/FavoriteName.h"
#include "core/output/ImageSaver.h"
#include "core/output/PrintLayout.h"
#include "core/tools/CPolygonTool.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "core/video/ImageFilters.h"
#include "core/video/ImageLoader.h"
#include "core/video/PaintFootprint.h"
#include "core/video/ProfileSampler.h"
#include "core/video/SampleMapper.h"
#include "core/video/ViewComposer.h"

namespace {

const QString imageSection = QStringLiteral("Image");

// No border the program draws is wider; a hand-edited value beyond this
// would make buffers of gigabytes at start.
constexpr int maxBorderWidth = 1000;
constexpr int defaultBorderWidth = 20;

// How long a live camera may send nothing before the user is told.
constexpr int silenceLimitMs = 3000;

// Where a calibration tool is laid when a calibration starts.
const QPoint calibrationStart(320, 240);

bool isToolCommand(int id)
{
    return id == ID_HORIZONTAL || id == ID_VERTICAL || (id >= ID_LINE && id <= ID_POLYGON) || id == ID_RETICULE
        || id == ID_TEXT || id == ID_ARROW || id == ID_SCALE_BAR;
}

// The seven kinds that measure and therefore need a known magnification.
bool isMeasuringKind(int kind)
{
    return kind == KindHorizontal || kind == KindVertical || (kind >= KindLine && kind <= KindPolygon);
}

// The measuring kinds, and the scale bar, whose length is a calibrated one.
bool needsCalibration(int kind)
{
    return isMeasuringKind(kind) || kind == KindScaleBar;
}

bool isCalibrationKind(int kind)
{
    return kind == KindCalibrate || kind == KindCalibrateVertical;
}

bool isNudge(int id)
{
    return (id >= ID_NUDGE_LEFT && id <= ID_NUDGE_CTRL_DOWN)
        || (id >= ID_NUDGE_CTRL_SHIFT_LEFT && id <= ID_NUDGE_CTRL_SHIFT_DOWN);
}

// The pixels of `area`, its rectangles in order, each row by row.
std::vector<QRgb> pixelsOf(const QImage& image, const QRegion& area)
{
    size_t count = 0;
    for (const QRect& rect : area)
        count += size_t(rect.width()) * size_t(rect.height());
    std::vector<QRgb> pixels(count);
    QRgb* to = pixels.data();
    for (const QRect& rect : area) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            std::memcpy(to, image.constScanLine(y) + size_t(rect.left()) * sizeof(QRgb), rect.width() * sizeof(QRgb));
            to += rect.width();
        }
    }
    return pixels;
}

// The border commands and the width each sets.
int borderOf(int id)
{
    switch (id) {
    case ID_BORDER_NONE:
        return 0;
    case ID_BORDER_THIN:
        return 1;
    case ID_BORDER_PHOTO:
        return 19;
    case ID_BORDER_ANSI:
        return 20;
    default:
        return -1;
    }
}

} // namespace

ImageDocument::ImageDocument(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QObject* parent)
    : QObject(parent)
    , calibration(settings, mainWindow)
    , settings(settings)
    , prompts(prompts)
    , mainWindow(mainWindow)
{
    // The whole "Image" section is read here and written only below.
    BorderWidth = settings.readInt(imageSection, QStringLiteral("BorderWidth"), defaultBorderWidth);
    if (BorderWidth < 0 || BorderWidth > maxBorderWidth)
        BorderWidth = defaultBorderWidth;
    Title1 = settings.readString(imageSection, QStringLiteral("Title1"), QStringLiteral("Your Company Name Here"));
    Title2 = settings.readString(imageSection, QStringLiteral("Title2"), QStringLiteral("Captured Image"));
    Title3 = settings.readString(imageSection, QStringLiteral("Title3"), QStringLiteral("0000-00-00-00-00-00"));
    UseDate = settings.readInt(imageSection, QStringLiteral("UseDate"), 1) != 0;
    TitleBlock = settings.readInt(imageSection, QStringLiteral("TitleBlock"), 0) != 0;
    calibration.load();
    // A tool laid out against the picture follows its size.
    connect(this, &ImageDocument::sizeChanged, this, &ImageDocument::pushScalesIntoTool);
    AllocateFrameBuffer(640, 480);
    // A live picture is no file's.
    connect(this, &ImageDocument::stateChanged, this, [this] {
        if (IsLive())
            imageName.clear();
    });
    connect(&history, &PictureHistory::stateChanged, this, &ImageDocument::stateChanged);
    silence.setSingleShot(true);
    silence.setTimerType(Qt::PreciseTimer);
    silence.setInterval(silenceLimitMs);
    connect(&silence, &QTimer::timeout, this, &ImageDocument::cameraSilent);
}

ImageDocument::~ImageDocument()
{
    // No frame may reach the buffers while they go: close the gate, then
    // stop and release the camera.
    SetFrozen(true);
    source.reset();
}

void ImageDocument::setFrameSource(std::unique_ptr<FrameSource> newSource, FrameSource::FrameHandler handler)
{
    SetFrozen(true);
    source = std::move(newSource);
    if (source) {
        source->setFrameHandler(std::move(handler));
        source->setChangeHandler([this] { camerasChanged(); });
    }
    emit stateChanged();
}

void ImageDocument::frameArrived()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            followFrames();
            if (live)
                silence.start();
            NotifyHistogram();
            emit pictureChanged();
        },
        Qt::QueuedConnection);
}

void ImageDocument::liveCommand()
{
    if (!source || !source->cameraPresent()) {
        prompts.showMessage(QStringLiteral("No camera is available."));
        return;
    }
    SetFrozen(false);
}

void ImageDocument::camerasChanged()
{
    const bool lost = live && !source->cameraPresent();
    if (lost)
        SetFrozen(true);
    emit stateChanged();
    if (lost)
        prompts.showMessage(QStringLiteral("The camera \"%1\" was disconnected.").arg(source->cameraName()));
}

void ImageDocument::cameraSilent()
{
    if (live)
        prompts.showMessage(
            QStringLiteral("The camera \"%1\" has sent no picture for three seconds.").arg(source->cameraName()));
}

void ImageDocument::SetFrozen(bool frozen)
{
    if (!source)
        return;
    {
        std::lock_guard<std::mutex> hold(frameLock);
        live = !frozen;
        // Camera frames overwrite the pixels from now on.
        if (!frozen)
            dropSamples();
    }
    if (frozen) {
        silence.stop();
        source->stop();
    } else {
        silence.start();
        source->start();
    }
    emit stateChanged();
}

void ImageDocument::whileFrozen(const std::function<void()>& output)
{
    const bool wasLive = IsLive();
    SetFrozen(true);
    output();
    if (wasLive)
        SetFrozen(false);
}

void ImageDocument::videoFormatCommand()
{
    SetActiveTool(nullptr);
    if (!source || !source->cameraPresent())
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
            settings.writeInt(imageSection, QStringLiteral("ImageWidth"), size.width());
            settings.writeInt(imageSection, QStringLiteral("ImageHeight"), size.height());
            // "VendorOffset" and "VendorBinning" stay unwritten: they come from
            // one vendor's driver property set, which no camera API here offers.
        }
    }
    SetFrozen(false);
}

void ImageDocument::videoControlsCommand()
{
    if (!source || !source->cameraPresent())
        return;
    QList<FrameSource::Control> controls = source->controls();
    if (prompts.videoControls(controls))
        source->applyControls(controls);
}

void ImageDocument::selectCameraCommand()
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

bool ImageDocument::LoadImageFile(const QString& path)
{
    // Decoded first: a file that cannot be opened must not cost the user the
    // tool on screen (nor ask whether to burn it).
    const LoadResult result = ImageLoader::decodeSamples(path, decodeScratch);
    if (!result.ok) {
        // Memory decoded into for nothing is not kept.
        decodeScratch = QImage();
        prompts.showMessage(result.error);
        return false;
    }
    SetActiveTool(nullptr);
    {
        std::lock_guard<std::mutex> hold(frameLock);
        if (result.samples) {
            takeSamples(result.border);
        } else {
            dropSamples();
            FrameBuffer.adopt(decodeScratch, result.border);
        }
    }
    history.clear();
    // The title block is switched off on screen only; its setting stays.
    TitleBlock = false;
    SetBorderWidth(result.border);
    imageName = QFileInfo(path).fileName();
    return true;
}

void ImageDocument::AllocateFrameBuffer(int w, int h)
{
    {
        std::lock_guard<std::mutex> hold(frameLock);
        dropSamples();
        FrameBuffer.allocate(w, h);
    }
    history.clear();
    SetBorderWidth(BorderWidth);
}

void ImageDocument::SetBorderWidth(int b)
{
    if (b != BorderWidth)
        settings.writeInt(imageSection, QStringLiteral("BorderWidth"), b);
    BorderWidth = b;
    // Saving composes without a paint: the buffer must fit the view now.
    resizeBackBuffer();
    emit sizeChanged();
    emit pictureChanged();
}

QSize ImageDocument::viewSize() const
{
    return { FrameBuffer.width() + 2 * BorderWidth, FrameBuffer.height() + 2 * BorderWidth };
}

void ImageDocument::resizeBackBuffer()
{
    // The view is recomposed in full before every use, so an unchanged size
    // needs no new (or cleared) buffer.
    const QSize size = viewSize();
    if (BackBuffer.size() != size || BackBuffer.isEmpty())
        BackBuffer.allocate(size.width(), size.height());
}

int ImageDocument::GetLuma(int x, int y) const
{
    std::lock_guard<std::mutex> hold(frameLock);
    const QImage& image = FrameBuffer.image();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return 0;
    if (!samples.isNull())
        return SampleMapper::rawValue(samples, x, y);
    return ImageFilters::luma(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
}

void ImageDocument::SampleProfile(bool horizontal, int* samples) const
{
    Q_UNUSED(horizontal);
    if (!tool || tool->kind > KindVertical || tool->points.size() < 2)
        return;
    const bool alongRow = tool->kind == KindHorizontal || tool->kind == KindCalibrate;
    const QPoint& through = tool->points[1];
    std::lock_guard<std::mutex> hold(frameLock);
    ProfileSampler::sample(FrameBuffer.image(), alongRow, alongRow ? through.y() : through.x(), samples);
}

void ImageDocument::NotifyHistogram()
{
    if (!tool)
        return;
    const int kind = tool->kind;
    if (kind == KindVertical || kind == KindCalibrateVertical)
        mainWindow.send(WM_APP_UPDATE_HISTOGRAM, 0, 0);
    else if (kind == KindHorizontal || kind == KindCalibrate)
        mainWindow.send(WM_APP_UPDATE_HISTOGRAM, 1, 1);
}

void ImageDocument::monochromeCommand()
{
    followFrames();
    // The grey picture is written beside the old one, which goes to the
    // history as it is, with the samples it showed.
    QImage shown;
    {
        std::lock_guard<std::mutex> hold(frameLock);
        shown = dropSamples();
        ImageFilters::monochrome(FrameBuffer.image(), spare);
        FrameBuffer.image().swap(spare);
    }
    history.recordFilter(QStringLiteral("Monochrome"), std::move(spare), std::move(shown));
    emit pictureChanged();
}

void ImageDocument::edgeEnhanceCommand()
{
    // The edges are computed from the lumas that Monochrome would leave, so
    // the grey image itself never needs to be shown or kept: the old pixels
    // go to the history as they are.
    followFrames();
    QImage shown;
    {
        std::lock_guard<std::mutex> hold(frameLock);
        shown = dropSamples();
        ImageFilters::edgeEnhance(FrameBuffer.image(), spare);
        FrameBuffer.image().swap(spare);
    }
    history.recordFilter(QStringLiteral("Edge Enhance"), std::move(spare), std::move(shown));
    NotifyHistogram();
    emit pictureChanged();
}

void ImageDocument::takeSamples(int border)
{
    if (border == 0) {
        samples.swap(decodeScratch);
    } else {
        const QRect inside(border, border, decodeScratch.width() - 2 * border, decodeScratch.height() - 2 * border);
        samples = decodeScratch.copy(inside);
    }
    // The samples and the FrameBuffer are all that a picture keeps: the
    // memory decoded into, or the previous picture's samples, goes.
    decodeScratch = QImage();
    range = SampleMapper::autoRange(samples);
    SampleMapper::map(samples, range, FrameBuffer.image());
}

QImage ImageDocument::dropSamples()
{
    return std::exchange(samples, QImage());
}

bool ImageDocument::setDisplayRange(int minimum, int maximum)
{
    if (minimum < DisplayRange::lowest || maximum > DisplayRange::highest || minimum > maximum)
        return false;
    followFrames();
    DisplayRange before;
    {
        std::lock_guard<std::mutex> hold(frameLock);
        if (samples.isNull())
            return false;
        before = std::exchange(range, DisplayRange { minimum, maximum });
        // Mapped also when the range stays: a preview may be showing.
        SampleMapper::map(samples, range, FrameBuffer.image());
    }
    if (range != before)
        history.recordDisplayRange(before);
    emit pictureChanged();
    return true;
}

void ImageDocument::previewDisplayRange(DisplayRange shown)
{
    {
        std::lock_guard<std::mutex> hold(frameLock);
        if (samples.isNull())
            return;
        SampleMapper::map(samples, shown, FrameBuffer.image());
    }
    emit pictureChanged();
}

void ImageDocument::displayRangeCommand()
{
    if (!hasSamples())
        return;
    DisplayRangeEditor editor(*this, prompts);
    if (!prompts.editDisplayRange(editor))
        editor.cancel();
}

std::function<void(QPainter&)> ImageDocument::toolOverlay() const
{
    // A tool is drawn once placed; a polygon also while its vertices are laid.
    if (tool && !hideToolOverlay && (tool->placed || tool->kind == KindPolygon))
        return [this](QPainter& painter) { tool->Draw(painter); };
    return {};
}

void ImageDocument::composeView(bool withTool)
{
    const TitleBlockText title { TitleBlock, UseDate, Title1, Title2, Title3, calibration.Magnification };
    const ViewComposer::Overlay overlay = withTool ? toolOverlay() : ViewComposer::Overlay();
    // The date line is kept as drawn: the title block dialog shows it.
    std::lock_guard<std::mutex> hold(frameLock);
    Title3 = ViewComposer::compose(
        BackBuffer.image(), FrameBuffer.image(), BorderWidth, title, overlay, std::time(nullptr));
}

void ImageDocument::SetActiveTool(std::unique_ptr<CTool> newTool)
{
    mainWindow.send(WM_APP_SHOW_HISTOGRAM, 0, 0);
    if (tool) {
        if (!noBurnPrompt && !isCalibrationKind(tool->kind) && tool->placed) {
            const UserPrompts::Answer answer = prompts.burnNow();
            noBurnPrompt = answer.dontShowAgain;
            if (answer.yes)
                onCommand(ID_BURN_ON);
        }
        tool.reset();
    }
    tool = std::move(newTool);
    pushScalesIntoTool();
    emit toolChanged();
}

void ImageDocument::pushScalesIntoTool()
{
    if (!tool)
        return;
    tool->SetScaleX(calibration.effectiveScale);
    tool->SetScaleY(calibration.effectiveScaleVertical);
    tool->SetUnits(calibration.Units);
    tool->SetPictureSize(FrameBuffer.size());
}

bool ImageDocument::burnToolPixels()
{
    if (!tool || !tool->placed)
        return false;
    followFrames();
    QRegion area;
    std::vector<QRgb> before;
    QImage shown;
    {
        // Image coordinates are the picture's own: no shift.
        std::lock_guard<std::mutex> hold(frameLock);
        QImage& image = FrameBuffer.image();
        if (image.isNull())
            return true;
        shown = dropSamples();
        const bool showHandles = tool->showHandles;
        tool->showHandles = false;
        // Where the tool lands, found first so that the history keeps only
        // those pixels; the drawing is held to that area, so that undoing
        // it gives back every pixel it changed.
        PaintFootprint footprint(image);
        {
            QPainter probe(&footprint);
            tool->Draw(probe);
        }
        area = footprint.region();
        before = pixelsOf(image, area);
        {
            QPainter painter(&image);
            painter.setClipRegion(area);
            tool->Draw(painter);
        }
        tool->showHandles = showHandles;
    }
    history.recordBurn(area, std::move(before), ToolFactory::copy(*tool), std::move(shown));
    return true;
}

bool ImageDocument::BurnIn()
{
    if (!burnToolPixels())
        return false;
    unplaceBurntTool();
    return true;
}

void ImageDocument::unplaceBurntTool()
{
    tool->Reset();
    emit toolChanged();
    emit pictureChanged();
}

bool ImageDocument::composeForOutput()
{
    const bool burnt = burnToolPixels();
    // The tool keeps its points, so that a successful write leaves it on
    // screen exactly as it was (a polygon's reset would empty it). Nothing
    // is drawn over the burnt copy, not even a polygon still being built.
    hideToolOverlay = true;
    composeView();
    hideToolOverlay = false;
    emit pictureChanged();
    return burnt;
}

bool ImageDocument::SaveImageFile(const QString& path, const std::optional<QString>& description)
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
    history.markSaved();
    return true;
}

bool ImageDocument::PrintImage(QPaintDevice& device)
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

QString ImageDocument::saveFilter()
{
    return QStringLiteral("jpg (*.jpg);;gif (*.gif);;tif (*.tif);;bmp (*.bmp);;png (*.png)");
}

void ImageDocument::saveCommand()
{
    const QString path = prompts.saveImageFileName(TimestampName(), saveFilter());
    if (!path.isEmpty())
        whileFrozen([&] { SaveImageFile(path); });
}

void ImageDocument::addFavoriteCommand()
{
    const QString folder = AppMessageSink::textOf(mainWindow.send(WM_APP_GET_FAVORITES_FOLDER, 0, 0));
    if (folder.isEmpty()) {
        prompts.showMessage(QStringLiteral("Scopique cannot add a favorite: there is no favorites folder."));
        return;
    }
    QString name = TimestampName();
    QString description;
    if (!prompts.addFavorite(folder, name, description))
        return;
    // The name is one file name inside the folder, never a way out of it.
    const QString suffix = QStringLiteral(".jpg");
    const QString problem = FavoriteName::problem(name, suffix);
    if (!problem.isEmpty()) {
        prompts.showMessage(problem);
        return;
    }
    const QString path = folder + u'/' + name + suffix;
    bool written = false;
    whileFrozen([&] { written = SaveImageFile(path, description); });
    // The list shows files, so it hears only of one that exists.
    if (written)
        mainWindow.send(WM_APP_FAVORITE_ADDED, AppMessageSink::textArg(path), 0);
}

bool ImageDocument::MeasurementCheck()
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

bool ImageDocument::RecordMeasurement()
{
    if (!tool)
        return false;
    const std::optional<MeasurementRecord> record = MeasurementRecord::fromTool(*tool, IsLive() ? QString() : imageName,
        calibration.Magnification, FormatLocalTime(std::time(nullptr), "%Y-%m-%dT%H:%M:%S"));
    if (!record)
        return false;
    lastRecorded = { tool.get(), tool->points, tool->scaleX, tool->scaleY, tool->units };
    emit measured(*record);
    return true;
}

void ImageDocument::recordBeforeBurn()
{
    if (!tool || !tool->placed)
        return;
    const RecordedPlacement now { tool.get(), tool->points, tool->scaleX, tool->scaleY, tool->units };
    if (!(now == lastRecorded))
        RecordMeasurement();
    // The burn ends this placement; the next one is recorded afresh.
    lastRecorded = {};
}

void ImageDocument::StartCalibration(bool vertical)
{
    SetActiveTool(ToolFactory::create(vertical ? KindCalibrateVertical : KindCalibrate, settings, mainWindow));
    tool->Press(calibrationStart);
    tool->Release();
    emit toolChanged();
    emit calibrationStarted(vertical);
}

void ImageDocument::EditTitleBlock()
{
    UserPrompts::TitleBlockText text { Title1, Title2, Title3, UseDate };
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
    emit pictureChanged();
}

void ImageDocument::ToggleTitleBlock()
{
    TitleBlock = !TitleBlock;
    if (TitleBlock)
        EditTitleBlock();
    settings.writeInt(imageSection, QStringLiteral("TitleBlock"), TitleBlock ? 1 : 0);
    emit pictureChanged();
}

bool ImageDocument::inTitleBlock(QPoint view) const
{
    const QSize size = viewSize();
    return TitleBlock && view.x() > size.width() - BorderWidth - 220 && view.y() > size.height() - BorderWidth - 60;
}

void ImageDocument::toolCommand(int kind)
{
    // The tool commands toggle.
    if (tool && tool->kind == kind) {
        SetActiveTool(nullptr);
        return;
    }
    if (needsCalibration(kind) && MeasurementCheck())
        return;
    std::unique_ptr<CTool> made = ToolFactory::create(kind, settings, mainWindow);
    // The text is typed before the tool appears; a cancelled dialog still
    // leaves an (empty) text tool to place.
    if (kind == KindText)
        made->EditOptions(prompts, settings);
    SetActiveTool(std::move(made));
}

void ImageDocument::setMagnificationCommand()
{
    const UserPrompts::MagnificationAnswer answer = prompts.askMagnification(calibration.Magnification, false);
    calibration.SetMagnification(answer.magnification != 0 ? answer.magnification : calibration.Magnification);
    calibration.RecomputeEffectiveScales();
    if (tool) {
        pushScalesIntoTool();
        emit toolChanged();
    }
}

void ImageDocument::nudge(int command)
{
    if (!tool)
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
    const int count = int(tool->points.size());
    int handle = 0;
    bool moveAll = false;
    switch (group) {
    case 0: // the whole tool, by its tail or its label
        handle = tool->kind <= KindVertical ? 3 : 0;
        moveAll = true;
        break;
    case 1: // Shift: top or left end
        handle = count >= 2 ? 1 : 0;
        break;
    case 2: // Ctrl: bottom or right end
        handle = count >= 3 ? 2 : 0;
        break;
    default: // Ctrl+Shift: the label
        handle = 0;
        break;
    }
    const QPoint steps[] = { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 } };
    tool->Nudge(handle, steps[direction], moveAll);
    emit toolChanged();
}

void ImageDocument::pressTool(QPoint image)
{
    if (!tool)
        return;
    tool->Press(image);
    emit toolChanged();
}

void ImageDocument::dragTool(QPoint image, bool moveAll)
{
    if (!tool)
        return;
    tool->Drag(image, moveAll);
    emit toolChanged();
}

void ImageDocument::releaseTool()
{
    if (!tool)
        return;
    tool->Release();
    emit toolChanged();
}

void ImageDocument::finishTool()
{
    if (tool && tool->kind == KindPolygon) {
        static_cast<CPolygonTool&>(*tool).Finish();
        emit toolChanged();
    }
}

bool ImageDocument::buildingPolygon() const
{
    return tool && tool->kind == KindPolygon && !tool->placed;
}

void ImageDocument::editToolOptions()
{
    if (tool)
        tool->EditOptions(prompts, settings);
    emit toolChanged();
}

bool ImageDocument::onCommand(int id)
{
    if (isToolCommand(id)) {
        toolCommand(id);
        return true;
    }
    if (isNudge(id)) {
        nudge(id);
        return true;
    }
    if (borderOf(id) >= 0) {
        SetBorderWidth(borderOf(id));
        return true;
    }
    switch (id) {
    case ID_RESET_TOOL:
        SetActiveTool(nullptr);
        return true;
    case ID_BURN_ON:
        recordBeforeBurn();
        BurnIn();
        return true;
    case ID_EDIT_UNDO:
        followFrames();
        if (!(tool && isCalibrationKind(tool->kind)) && history.canUndo()) {
            history.undo();
            historyMoved();
        }
        return true;
    case ID_EDIT_REDO:
        followFrames();
        if (!(tool && isCalibrationKind(tool->kind)) && history.canRedo()) {
            history.redo();
            historyMoved();
        }
        return true;
    case ID_TOOL_OPTIONS:
        editToolOptions();
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
        if (IsLive())
            SetFrozen(true);
        else
            liveCommand();
        return true;
    case ID_FREEZE_IMAGE:
        SetFrozen(true);
        return true;
    case ID_MAKE_IMAGE_LIVE:
    case ID_LIVE:
        liveCommand();
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
    case ID_TITLE_BLOCK:
        ToggleTitleBlock();
        return true;
    case ID_RECORD_MEASUREMENT:
        RecordMeasurement();
        return true;
    case ID_FILE_SAVE:
        saveCommand();
        return true;
    case ID_FAVORITES_ADD:
        addFavoriteCommand();
        return true;
    case ID_DISPLAY_RANGE:
        displayRangeCommand();
        return true;
    default:
        return false;
    }
}

bool ImageDocument::updateCommand(int id, CommandState& state) const
{
    // While a calibration tool is active, it stays until its dialog closes.
    const bool calibrating = tool && tool->kind <= KindCalibrateVertical;
    if (isToolCommand(id)) {
        state = { !calibrating, tool && tool->kind == id, {} };
        return true;
    }
    if (isNudge(id)) {
        state.enabled = true;
        return true;
    }
    if (borderOf(id) >= 0) {
        state = { true, BorderWidth == borderOf(id), {} };
        return true;
    }
    switch (id) {
    case ID_RESET_TOOL:
        state.enabled = tool && !calibrating;
        return true;
    case ID_BURN_ON:
        state.enabled = tool && !calibrating && tool->placed;
        return true;
    case ID_TOOL_OPTIONS:
        state.enabled = tool != nullptr;
        return true;
    case ID_FREEZE:
        state.enabled = true;
        state.text = IsLive() ? QStringLiteral("&Freeze!\tEsc") : QStringLiteral("Live!");
        return true;
    case ID_VIDEO_FORMAT:
    case ID_VIDEO_CONTROLS:
        state.enabled = source && source->cameraPresent();
        return true;
    case ID_SELECT_CAMERA:
        // A disconnected camera leaves the choice of any other.
        state.enabled = source && source->cameras().size() > (source->cameraPresent() ? 1 : 0);
        return true;
    case ID_TITLE_BLOCK:
        state = { true, TitleBlock, {} };
        return true;
    case ID_RECORD_MEASUREMENT:
        state.enabled = tool && tool->placed && isMeasuringKind(tool->kind);
        return true;
    case ID_EDIT_UNDO:
        state.enabled = !calibrating && history.canUndo();
        state.text = state.enabled ? QStringLiteral("&Undo %1\tCtrl+Z").arg(history.undoName())
                                   : QStringLiteral("&Undo\tCtrl+Z");
        return true;
    case ID_EDIT_REDO:
        state.enabled = !calibrating && history.canRedo();
        state.text = state.enabled ? QStringLiteral("&Redo %1\tCtrl+Y").arg(history.redoName())
                                   : QStringLiteral("&Redo\tCtrl+Y");
        return true;
    case ID_DISPLAY_RANGE:
        state.enabled = hasSamples();
        return true;
    case ID_SET_MAGNIFICATION:
    case ID_CALIBRATE:
    case ID_CALIBRATE_VERTICAL:
    case ID_MONOCHROME:
    case ID_EDGE_ENHANCE:
    case ID_FREEZE_IMAGE:
    case ID_MAKE_IMAGE_LIVE:
    case ID_LIVE:
    case ID_FILE_SAVE:
    case ID_FAVORITES_ADD:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

void ImageDocument::exchangeImage(QImage& other)
{
    std::lock_guard<std::mutex> hold(frameLock);
    // A step's picture never goes over a newer camera frame.
    if (other.size() == FrameBuffer.size() && !frameLandedUnseen())
        FrameBuffer.image().swap(other);
}

void ImageDocument::exchangePixels(const QRegion& area, std::vector<QRgb>& pixels)
{
    std::lock_guard<std::mutex> hold(frameLock);
    QImage& image = FrameBuffer.image();
    size_t count = 0;
    for (const QRect& rect : area)
        count += size_t(rect.width()) * size_t(rect.height());
    // Nor does a burnt area's: the two frames would show torn apart.
    if (count != pixels.size() || !image.rect().contains(area.boundingRect()) || frameLandedUnseen())
        return;
    QRgb* stored = pixels.data();
    for (const QRect& rect : area) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y)) + rect.left();
            std::swap_ranges(row, row + rect.width(), stored);
            stored += rect.width();
        }
    }
}

void ImageDocument::exchangeTool(std::unique_ptr<CTool>& other)
{
    // As for any replacement of the tool, its profile pane goes.
    mainWindow.send(WM_APP_SHOW_HISTOGRAM, 0, 0);
    tool.swap(other);
    pushScalesIntoTool();
    emit toolChanged();
}

void ImageDocument::exchangeSamples(QImage& other)
{
    std::lock_guard<std::mutex> hold(frameLock);
    samples.swap(other);
}

void ImageDocument::exchangeDisplayRange(DisplayRange& other)
{
    std::lock_guard<std::mutex> hold(frameLock);
    std::swap(range, other);
    if (!samples.isNull())
        SampleMapper::map(samples, range, FrameBuffer.image());
}

void ImageDocument::followFrames()
{
    // A frame overwrote the picture the steps were made on. Checked before
    // the history is used, since the frame's notice may still be queued
    // behind the user's keys.
    const quint64 copied = framesCopied;
    if (copied == framesSeen)
        return;
    framesSeen = copied;
    history.clear();
}

void ImageDocument::reuse(QImage& pixels)
{
    if (pixels.size() == FrameBuffer.size() && pixels.format() == FrameBuffer.image().format())
        spare.swap(pixels);
}

void ImageDocument::historyMoved()
{
    NotifyHistogram();
    emit pictureChanged();
}
