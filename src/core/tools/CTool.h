// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>
#include <QtGlobal>

class AppMessageSink;
class QPainter;
class SettingsStore;
class ToolDialogs;

// One measurement or annotation laid over the image: a few points, a label
// and a style. Points are image pixels from the top-left of the image, y
// downwards. Point 0 is the label's top-left corner; points 1 and 2, where
// they exist, are the measured ends.
//
// Subclasses set `kind` and add their points in the constructor; those that
// draw a figure draw it in Draw() and then call CTool::Draw() for the label
// and the handles.
class CTool {
public:
    // Bits of textStyle.
    enum TextStyleBit {
        HighlightPass = 0x01,
        ShadowPass = 0x02,
        TextPass = 0x04,
        Bold = 0x10,
        Italic = 0x20,
        Underline = 0x40,
    };

    // Reads the shared style of the "Tool" settings; reports pointer
    // positions and profile requests to `mainWindow`.
    CTool(const SettingsStore& settings, AppMessageSink& mainWindow);
    virtual ~CTool() = default;

    CTool& operator=(const CTool&) = delete;

    virtual void Reset();
    virtual void AddPoint(QPoint p);
    virtual void PushPoint(QPoint p);
    virtual void AddBlankPoint();
    virtual void RemoveCurrentPoint();
    virtual void Drag(QPoint p, bool moveAll);
    // Places the tool on its first press; later presses pick the handle
    // under the pointer. Returns the new `current`.
    virtual int Press(QPoint p);
    // The pointer lets go: no handle is held any more.
    void Release() { current = -1; }
    // Moves point `handle` by `step` as a drag of it would (the whole tool
    // when `moveAll`); nothing when the tool has no such point.
    void Nudge(int handle, QPoint step, bool moveAll);
    // Draws in image coordinates.
    virtual void Draw(QPainter& painter);
    virtual void DrawLabel(QPainter& painter);
    virtual void UpdateLabel();
    virtual double GetPixelLength() const;
    // The measured value; the formatted text goes to `text` when given.
    virtual double GetDistance(QString* text = nullptr) const;
    virtual double GetAngle(QString* text = nullptr) const;
    virtual double GetArea(QString* text = nullptr) const;
    // The length of the outline of a figure that encloses an area, in the
    // unit, with the formulas of the labels; 0 for the other tools.
    virtual double GetPerimeter() const;
    // Runs the kind's option dialog and, on OK, stores the edited style.
    // Returns 1 on OK, else 0.
    virtual int EditOptions(ToolDialogs& dialogs, SettingsStore& settings);

    void SetScaleX(double scale) { scaleX = scale; }
    void SetScaleY(double scale) { scaleY = scale; }
    void SetUnits(int unitIndex) { units = unitIndex; }
    // The picture's size in pixels, told when the tool becomes active and
    // whenever it changes; for tools laid out against the picture.
    virtual void SetPictureSize(QSize) { }

    // The label's font, face and size from the style, and the scale that
    // makes its text cell 14 + 2 x size pixels high.
    struct LabelFont {
        QFont font;
        qreal scale = 1.0;
    };
    LabelFont labelFont() const;
    // The name of `units`: "mm", "um" or "mil".
    QString unitName() const;

    int kind = 0;
    bool placed = false;
    bool showHandles = true;
    // Colours are 0x00BBGGRR, as stored in the settings.
    quint32 handleColor = 0x0000FFFF;
    quint32 textColor = 0x00C0C0C0;
    quint32 textShadow = 0x00000000;
    quint32 textHighlite = 0x00FFFFFF;
    quint32 toolColor = 0x00000000;
    int fontFace = 0;
    int fontSize = 0;
    int textStyle = 7;
    QString label;
    double scaleX = 1.0;
    double scaleY = 1.0;
    int units = 0;
    int current = -1;
    QVector<QPoint> points { QPoint(0, 0) };
    // How far, in image pixels, a press may lie from a handle and still take
    // it: 3, or more where the picture is shown reduced.
    int hitTolerance = 3;

protected:
    // The label's three passes, its text cell's top-left corner at `topLeft`.
    void drawLabelAt(QPainter& painter, QPoint topLeft) const;
    // Copies are made through ToolFactory::copy, which knows the kind's class.
    CTool(const CTool&) = default;

    // Sends an application message to the main window.
    void send(unsigned message, qintptr wParam, qintptr lParam) const;

    AppMessageSink& mainWindow;
};
