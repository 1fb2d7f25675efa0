// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QObject>
#include <QRegion>
#include <QString>
#include <QUndoStack>

#include "core/video/DisplayRange.h"

class CTool;

// The changes made to the picture's pixels, each one step that can be
// undone and redone exactly: a burn-in keeps the pixels of the area it
// drew on and the tool it burnt, a filter the whole picture. A step holds
// one state at a time and exchanges it with the picture's, so undoing and
// redoing copy nothing but that area. A picture of 16 bits per sample gives
// its samples to the step that stopped them describing the pixels, and gets
// them back when that step is undone; a new display range is a step that
// holds only the range it replaced.
//
// The pixel data held stays within a budget: the oldest steps give theirs
// back first (and can no longer be undone); the newest is always kept.
// Whether the picture counts as changed follows the steps: back at the
// state it was opened or last saved in, it does not.
class PictureHistory : public QObject {
    Q_OBJECT

public:
    // What the steps exchange their state with: the document.
    class Picture {
    public:
        virtual ~Picture() = default;
        // Exchanges the whole image with `other`, which has its size.
        virtual void exchangeImage(QImage& other) = 0;
        // Exchanges the pixels of `area` with `pixels`: the area's
        // rectangles in order, each row by row.
        virtual void exchangePixels(const QRegion& area, std::vector<QRgb>& pixels) = 0;
        // Exchanges the active tool with `other`; either may be none.
        virtual void exchangeTool(std::unique_ptr<CTool>& other) = 0;
        // Exchanges the 16-bit samples with `other`; either may be null.
        virtual void exchangeSamples(QImage& other) = 0;
        // Exchanges the display range with `other` and shows the samples
        // through the range it takes.
        virtual void exchangeDisplayRange(DisplayRange& other) = 0;
        // Takes the memory of a picture no step needs any more, to use it
        // for the next: fresh memory costs far more than writing to it.
        virtual void reuse(QImage& pixels) = 0;
    };

    static constexpr qint64 defaultBudget = qint64(1) << 30;

    explicit PictureHistory(Picture& picture, QObject* parent = nullptr);
    ~PictureHistory() override;

    // A filter called `name` has changed the picture, which was `before`;
    // `samples` are the 16-bit samples it showed (null for none).
    void recordFilter(const QString& name, QImage before, QImage samples);
    // A tool was burnt into `area`, whose pixels were `before`; `tool` is
    // the tool as it was placed, to come back when the step is undone.
    void recordBurn(const QRegion& area, std::vector<QRgb> before, std::unique_ptr<CTool> tool, QImage samples);
    // The samples are shown through a new range; they were shown through `before`.
    void recordDisplayRange(DisplayRange before);

    bool canUndo() const;
    bool canRedo() const;
    // The step that Undo or Redo would take back or do again; empty when none.
    QString undoName() const;
    QString redoName() const;
    void undo();
    void redo();

    // A new picture: nothing before it can be undone, and it is unchanged.
    void clear();
    // The picture as it is now has been saved.
    void markSaved();
    // Whether the picture differs from the state it was opened or last saved in.
    bool changed() const;

    // Bytes of pixel data that the steps may hold together.
    void setBudget(qint64 bytes);
    // Bytes of pixel data held now.
    qint64 bytes() const;

signals:
    // What Undo and Redo would do, or whether the picture counts as
    // changed, may be different now.
    void stateChanged();

private:
    class Step;
    class FilterStep;
    class BurnStep;
    class RangeStep;

    void push(Step* step);
    void keepWithinBudget();

    Picture& picture;
    QUndoStack stack;
    // The stack's steps in its order (it owns them).
    std::vector<Step*> steps;
    // The steps below this index gave their pixels back: the picture
    // cannot go back past them.
    int kept = 0;
    qint64 budget = defaultBudget;
    // Bytes of pixel data the steps hold.
    qint64 held = 0;
};
