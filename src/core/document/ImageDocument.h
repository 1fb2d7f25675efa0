// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>

#include "core/base/CommandTarget.h"
#include "core/calibration/CalibrationState.h"
#include "core/capture/FrameSource.h"
#include "core/document/PictureHistory.h"
#include "core/measure/MeasurementRecord.h"
#include "core/tools/CTool.h"
#include "core/video/DisplayRange.h"
#include "core/video/PixelBuffer.h"

class AppMessageSink;
class QPaintDevice;
class QPainter;
class SettingsStore;
class UserPrompts;

// The picture and everything laid over it: the image (FrameBuffer) inside a
// border band, the title block, the calibration, the one active tool, and
// the camera that may fill the image. It runs the picture's commands and
// announces every change, so that views only show it and forward input.
//
// Coordinates: image pixels from the top-left of the image, y downwards;
// the composed view (BackBuffer) adds BorderWidth on every side.
//
// Every change to the pixels (a burn-in, a filter) is a step of its history,
// for Undo and Redo; a new picture (opened, reallocated, or a camera frame)
// starts a new history.
class ImageDocument : public QObject, public CommandTarget, private PictureHistory::Picture {
    Q_OBJECT

public:
    ImageDocument(SettingsStore& settings, UserPrompts& prompts, AppMessageSink& mainWindow, QObject* parent = nullptr);
    // Stops the camera and releases it before the buffers go.
    ~ImageDocument() override;

    // Takes the cameras (none when null), frozen, and has each frame handed
    // to `handler` on the camera's thread.
    void setFrameSource(std::unique_ptr<FrameSource> source, FrameSource::FrameHandler handler);
    FrameSource* frameSource() const { return source.get(); }
    // Safe from any thread: a camera frame was copied into the FrameBuffer
    // and counted in framesCopied.
    void frameArrived();

    // Decodes a picture file into the FrameBuffer and takes its border. A
    // file that cannot be opened leaves everything as it was and tells the
    // user why; the result is false then.
    bool LoadImageFile(const QString& path);
    // Makes the image w x h and black.
    void AllocateFrameBuffer(int w, int h);
    // Sets the border band's width (stored when it changes).
    void SetBorderWidth(int b);
    // The image plus the border band on every side.
    QSize viewSize() const;
    // The brightness of an image pixel, 0 outside the image; for a picture
    // of 16 bits per sample its raw value (see SampleMapper::rawValue).
    int GetLuma(int x, int y) const;

    // A picture of 16 bits per sample keeps them (Format_Grayscale16 or
    // Format_RGBX64) beside the FrameBuffer, which shows them through the
    // display range. 8-bit pictures have none, and a filter, a burn-in, a
    // new buffer or live frames drop them: the pixels are then the picture.
    bool hasSamples() const { return !samples.isNull(); }
    const QImage& sampleImage() const { return samples; }
    // The range the picture is shown through; Auto when it was opened.
    DisplayRange displayRange() const { return range; }
    // One step: shows the samples through minimum..maximum and keeps that
    // range. False, with nothing changed, without samples or for limits
    // outside 0..65535 or in the wrong order.
    bool setDisplayRange(int minimum, int maximum);
    // Shows the samples through `shown` while the range is being chosen,
    // keeping displayRange() as it is: setDisplayRange() ends it, and
    // previewDisplayRange(displayRange()) goes back.
    void previewDisplayRange(DisplayRange shown);
    // Fills `samples` (2048 values, the histogram pane's) with the profile
    // along the active Horizontal or Calibrate tool's row, or down the
    // Vertical or Calibrate Vertical tool's column, through its point 1; for
    // any other tool, or none, it changes nothing. `horizontal` names the
    // pane the buffer belongs to; the direction is the tool's own.
    void SampleProfile(bool horizontal, int* samples) const;
    // Asks the main window to refresh the profile pane of the active tool:
    // WM_APP_UPDATE_HISTOGRAM (0, 0) for a vertical one, (1, 1) for a
    // horizontal one, nothing for other tools.
    void NotifyHistogram();

    // Replaces the active tool (none when null). A placed annotation or
    // measurement may first be burnt into the image, if the user agrees.
    void SetActiveTool(std::unique_ptr<CTool> tool);
    CTool* activeTool() const { return tool.get(); }
    // Draws the placed active tool, without handles, into the image (a
    // step of the history), and leaves the tool unplaced. False when nothing
    // was placed.
    bool BurnIn();
    // Before a measuring tool is made: offers to calibrate and asks for the
    // magnification. True when the user chose to calibrate instead.
    bool MeasurementCheck();
    // Lays a calibration tool at (320, 240) and announces calibrationStarted.
    void StartCalibration(bool vertical);
    // Hands the effective scales, the unit and the picture's size to the
    // active tool.
    void pushScalesIntoTool();
    // Announces the placed measuring tool's values as a row of the results
    // (measured); nothing for other tools. False when nothing was recorded.
    bool RecordMeasurement();

    // Pointer input in image pixels, for the active tool.
    void pressTool(QPoint image);
    void dragTool(QPoint image, bool moveAll);
    void releaseTool();
    // A double-click: finishes a polygon being built.
    void finishTool();
    // The tool's options dialog (the right button, or Options && Colors).
    void editToolOptions();
    // True while a polygon gets a vertex per click and keeps the pointer.
    bool buildingPolygon() const;

    // Runs the Title Block dialog and stores what it returns on OK.
    void EditTitleBlock();
    // Shows or hides the title block, asking for its texts when shown.
    void ToggleTitleBlock();
    // Whether a point of the composed view lies in the title block's corner.
    bool inTitleBlock(QPoint view) const;

    // Composes border, image, the active tool (unless `withTool` is false)
    // and the title block into the BackBuffer.
    void composeView(bool withTool = true);
    // Draws the active tool in image coordinates; empty when no tool is to
    // be seen: none, or one not yet placed (a polygon shows while built).
    std::function<void(QPainter&)> toolOverlay() const;
    // Burns the placed tool in and writes the view (border, image, title
    // block) to `path`, in the format its extension names, tagged with the
    // border width and, when given, the description. When the file was
    // written the tool is on screen as before, over its burnt copy;
    // otherwise the user is told why and the result is false.
    bool SaveImageFile(const QString& path, const std::optional<QString>& description = std::nullopt);
    // The same for printing on one page of `device`. False, with "Printer
    // wouldn't initalize" shown and the tool left burnt, when the device
    // cannot start.
    bool PrintImage(QPaintDevice& device);
    // Runs an output with the camera frozen, live again afterwards if it
    // was: a frame arriving mid-write would mix two pictures.
    void whileFrozen(const std::function<void()>& output);
    // The filter of the Save As dialog, JPEG first.
    static QString saveFilter();

    // The capture bracket around saving: whether the camera is live, and
    // freezing it or making it live. Without a camera it is never live.
    bool IsLive() const { return live; }
    void SetFrozen(bool frozen);

    bool onCommand(int id) override;
    bool updateCommand(int id, CommandState& state) const override;

    bool noMagnificationPrompt = false;
    bool noCalibrationPrompt = false;
    bool noBurnPrompt = false;
    // Whether the pixels differ from the picture as it was opened or last
    // saved: closing then offers to save.
    bool ImageChanged() const { return history.changed(); }
    // Bytes of pixel data the history may keep (a gigabyte by default).
    void setHistoryBudget(qint64 bytes) { history.setBudget(bytes); }
    // Bytes of pixel data the history keeps now.
    qint64 historyBytes() const { return history.bytes(); }
    int BorderWidth = 20;
    QString Title1;
    QString Title2;
    QString Title3;
    bool UseDate = true;
    bool TitleBlock = false;
    // The file name the caption shows; empty for a new or live picture.
    QString imageName;
    PixelBuffer FrameBuffer;
    PixelBuffer BackBuffer;
    CalibrationState calibration;
    // Held by every reader and writer of the FrameBuffer's pixels or size
    // (composition, filters, burn-in, loading, reallocation) and by the
    // camera's frame copy, which runs on another thread.
    mutable std::mutex frameLock;
    // Frames are copied only while set; changed under frameLock.
    std::atomic<bool> live { false };
    // Camera frames copied into the FrameBuffer so far, counted by the copy
    // while it holds frameLock: a step undone under that lock can then tell
    // that the picture is no longer the one it was made on.
    std::atomic<quint64> framesCopied { 0 };

signals:
    // The pixels, the border band or the title block changed: repaint.
    void pictureChanged();
    // The composed view's size changed (or may have).
    void sizeChanged();
    // The active tool was replaced, placed, moved, finished or burnt in.
    void toolChanged();
    // Live or frozen, the cameras, or what Undo and Redo would do changed.
    void stateChanged();
    // A calibration tool was laid; its dialog is the view's to open.
    void calibrationStarted(bool vertical);
    // Record Measurement, or Burn On of a tool not recorded as it is.
    void measured(const MeasurementRecord& record);

private:
    // Draws the placed tool, without handles, into the FrameBuffer and
    // records the step; the tool itself is left as it is. False when
    // nothing was placed.
    bool burnToolPixels();
    // After a burn-in: the tool stays active, unplaced and invisible.
    void unplaceBurntTool();
    // Burns the placed tool in and composes the view without any tool over
    // it: what saving and printing output.
    bool composeForOutput();
    void resizeBackBuffer();
    void toolCommand(int kind);
    void nudge(int command);
    void setMagnificationCommand();
    void monochromeCommand();
    void edgeEnhanceCommand();
    void videoFormatCommand();
    void videoControlsCommand();
    void selectCameraCommand();
    // Live, or a message when no camera can go live.
    void liveCommand();
    // The cameras changed: a chosen camera that went while live freezes
    // the picture on its last frame, and the user is told.
    void camerasChanged();
    // Live, but no frame for a while: the user is told once.
    void cameraSilent();
    void saveCommand();
    void addFavoriteCommand();
    // Burn On keeps the measurement it burns, unless it was just recorded.
    void recordBeforeBurn();
    // The steps exchange their state with the picture's.
    void exchangeImage(QImage& other) override;
    void exchangePixels(const QRegion& area, std::vector<QRgb>& pixels) override;
    void exchangeTool(std::unique_ptr<CTool>& other) override;
    void exchangeSamples(QImage& other) override;
    void exchangeDisplayRange(DisplayRange& other) override;
    void reuse(QImage& pixels) override;
    // Starts a new history when a camera frame has landed since it was last used.
    void followFrames();
    // With frameLock held: a camera frame has replaced the picture since the
    // history last looked; its notice is on the way and starts a new history.
    bool frameLandedUnseen() const { return framesCopied != framesSeen; }
    // The picture changed back or forth: repaint, refresh the profile.
    void historyMoved();
    void displayRangeCommand();
    // With frameLock held: the decoded samples, less `border` pixels along
    // every edge, become the picture's, shown through Auto.
    void takeSamples(int border);
    // With frameLock held: the pixels no longer show the samples, which are
    // handed back for the history to keep.
    QImage dropSamples();

    SettingsStore& settings;
    UserPrompts& prompts;
    AppMessageSink& mainWindow;
    // The one measurement or annotation over the image, if any.
    std::unique_ptr<CTool> tool;
    // Decoding target, kept so that same-size loads reuse its memory.
    QImage decodeScratch;
    // Where the filters write the new picture: memory a forgotten step gave
    // back, else new.
    QImage spare;
    PictureHistory history { *this };
    // How many camera frames the history has seen: each new frame starts a
    // new history.
    quint64 framesSeen = 0;
    // Saving and printing compose the burnt picture with no tool over it.
    bool hideToolOverlay = false;
    // The picture's 16-bit samples, null for an 8-bit picture, and the range
    // the FrameBuffer shows them through. Read and written under frameLock.
    QImage samples;
    DisplayRange range;
    std::unique_ptr<FrameSource> source;
    // The tool as it was last recorded: recording and then burning it
    // gives one row, moving it in between gives two.
    struct RecordedPlacement {
        const CTool* tool = nullptr;
        QVector<QPoint> points;
        double scaleX = 0.0;
        double scaleY = 0.0;
        int units = 0;
        bool operator==(const RecordedPlacement& other) const
        {
            return tool == other.tool && points == other.points && scaleX == other.scaleX && scaleY == other.scaleY
                && units == other.units;
        }
    };
    RecordedPlacement lastRecorded;
    // Runs while live and is restarted by every frame.
    QTimer silence;
};
