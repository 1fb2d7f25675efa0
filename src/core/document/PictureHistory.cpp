// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/document/PictureHistory.h"

#include <utility>

#include <QUndoCommand>

#include "core/tools/CTool.h"

// One change. It is already done when it is recorded; undoing and redoing
// both exchange the state it holds with the picture's.
class PictureHistory::Step : public QUndoCommand {
public:
    Step(Picture& picture, const QString& name, QImage samples = QImage())
        : QUndoCommand(name)
        , picture(picture)
        , samples(std::move(samples))
    {
    }

    void undo() override
    {
        exchange();
        done = false;
    }
    void redo() override
    {
        if (done)
            return;
        exchange();
        done = true;
    }

    // Bytes of pixel data held.
    virtual qint64 bytes() const { return samples.sizeInBytes(); }
    // Lets the pixel data go; the step cannot be undone any more.
    virtual void forget() { samples = QImage(); }

protected:
    virtual void exchange() = 0;

    Picture& picture;
    // The samples the picture showed before the step, or after it once
    // undone; null for a picture without samples.
    QImage samples;

private:
    bool done = true;
};

class PictureHistory::FilterStep : public Step {
public:
    FilterStep(Picture& picture, const QString& name, QImage other, QImage samples)
        : Step(picture, name, std::move(samples))
        , other(std::move(other))
    {
    }

    qint64 bytes() const override { return Step::bytes() + other.sizeInBytes(); }
    void forget() override
    {
        Step::forget();
        picture.reuse(other);
        other = QImage();
    }

protected:
    void exchange() override
    {
        picture.exchangeImage(other);
        picture.exchangeSamples(samples);
    }

private:
    QImage other;
};

class PictureHistory::BurnStep : public Step {
public:
    BurnStep(
        Picture& picture, const QRegion& area, std::vector<QRgb> pixels, std::unique_ptr<CTool> tool, QImage samples)
        : Step(picture, QStringLiteral("Burn On"), std::move(samples))
        , area(area)
        , pixels(std::move(pixels))
        , tool(std::move(tool))
    {
    }

    qint64 bytes() const override { return Step::bytes() + qint64(pixels.size() * sizeof(QRgb)); }
    void forget() override
    {
        Step::forget();
        pixels = {};
        tool.reset();
    }

protected:
    void exchange() override
    {
        picture.exchangePixels(area, pixels);
        picture.exchangeSamples(samples);
        picture.exchangeTool(tool);
    }

private:
    QRegion area;
    std::vector<QRgb> pixels;
    std::unique_ptr<CTool> tool;
};

// The pixels follow from the samples and the range, so the range is all
// this step keeps.
class PictureHistory::RangeStep : public Step {
public:
    RangeStep(Picture& picture, DisplayRange other)
        : Step(picture, QStringLiteral("Display Range"))
        , other(other)
    {
    }

protected:
    void exchange() override { picture.exchangeDisplayRange(other); }

private:
    DisplayRange other;
};

PictureHistory::PictureHistory(Picture& picture, QObject* parent)
    : QObject(parent)
    , picture(picture)
{
    connect(&stack, &QUndoStack::indexChanged, this, &PictureHistory::stateChanged);
    connect(&stack, &QUndoStack::cleanChanged, this, &PictureHistory::stateChanged);
}

PictureHistory::~PictureHistory() = default;

void PictureHistory::recordFilter(const QString& name, QImage before, QImage samples)
{
    push(new FilterStep(picture, name, std::move(before), std::move(samples)));
}

void PictureHistory::recordBurn(
    const QRegion& area, std::vector<QRgb> before, std::unique_ptr<CTool> tool, QImage samples)
{
    push(new BurnStep(picture, area, std::move(before), std::move(tool), std::move(samples)));
}

void PictureHistory::recordDisplayRange(DisplayRange before)
{
    push(new RangeStep(picture, before));
}

void PictureHistory::push(Step* step)
{
    // The stack deletes the steps that could have been redone.
    for (size_t i = size_t(stack.index()); i < steps.size(); ++i) {
        held -= steps[i]->bytes();
        steps[i]->forget();
    }
    steps.resize(size_t(stack.index()));
    steps.push_back(step);
    held += step->bytes();
    stack.push(step);
    keepWithinBudget();
}

void PictureHistory::keepWithinBudget()
{
    // Only steps that have been done can go, and never the last of them.
    while (held > budget && kept < stack.index() - 1) {
        held -= steps[size_t(kept)]->bytes();
        steps[size_t(kept)]->forget();
        ++kept;
    }
}

bool PictureHistory::canUndo() const
{
    return stack.index() > kept;
}

bool PictureHistory::canRedo() const
{
    return stack.canRedo();
}

QString PictureHistory::undoName() const
{
    return canUndo() ? stack.undoText() : QString();
}

QString PictureHistory::redoName() const
{
    return canRedo() ? stack.redoText() : QString();
}

void PictureHistory::undo()
{
    if (canUndo())
        stack.undo();
}

void PictureHistory::redo()
{
    if (canRedo())
        stack.redo();
}

void PictureHistory::clear()
{
    for (size_t i = size_t(kept); i < steps.size(); ++i)
        steps[i]->forget();
    steps.clear();
    kept = 0;
    held = 0;
    stack.clear();
}

void PictureHistory::markSaved()
{
    stack.setClean();
}

bool PictureHistory::changed() const
{
    return !stack.isClean();
}

void PictureHistory::setBudget(qint64 bytes)
{
    budget = bytes;
    keepWithinBudget();
}

qint64 PictureHistory::bytes() const
{
    return held;
}
