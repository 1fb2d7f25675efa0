// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/document/DisplayRangeEditor.h"

#include <vector>

#include "core/base/UserPrompts.h"
#include "core/document/ImageDocument.h"
#include "core/video/SampleMapper.h"

DisplayRangeEditor::DisplayRangeEditor(ImageDocument& document, UserPrompts& prompts)
    : document(document)
    , prompts(prompts)
    , original(document.displayRange())
{
    const std::vector<quint32> histogram = SampleMapper::histogram(document.sampleImage());
    automatic = SampleMapper::autoRange(histogram);
    int first = -1;
    int last = -1;
    for (int v = 0; v < int(histogram.size()); ++v) {
        if (histogram[size_t(v)] == 0)
            continue;
        if (first < 0)
            first = v;
        last = v;
    }
    if (first < 0)
        return;
    lowest = first;
    highest = last;
    for (int v = first; v <= last; ++v)
        counts[size_t(binOf(v))] += histogram[size_t(v)];
}

int DisplayRangeEditor::binOf(int sample) const
{
    const qint64 span = qint64(highest) - lowest + 1;
    const qint64 bin = (qint64(sample) - lowest) * binCount / span;
    return int(qBound(qint64(0), bin, qint64(binCount - 1)));
}

QString DisplayRangeEditor::problem(int minimum, int maximum) const
{
    if (minimum < DisplayRange::lowest || minimum > DisplayRange::highest || maximum < DisplayRange::lowest
        || maximum > DisplayRange::highest)
        return QStringLiteral("The Minimum and the Maximum must lie between 0 and 65535.");
    if (minimum < maximum || (minimum == maximum && automatic == DisplayRange { minimum, maximum }))
        return QString();
    return QStringLiteral("The Minimum must be less than the Maximum.");
}

bool DisplayRangeEditor::show(int minimum, int maximum)
{
    if (!problem(minimum, maximum).isEmpty())
        return false;
    document.previewDisplayRange({ minimum, maximum });
    return true;
}

bool DisplayRangeEditor::accept(int minimum, int maximum)
{
    const QString why = problem(minimum, maximum);
    if (!why.isEmpty()) {
        prompts.showMessage(why);
        return false;
    }
    document.setDisplayRange(minimum, maximum);
    return true;
}

void DisplayRangeEditor::cancel()
{
    document.previewDisplayRange(document.displayRange());
}
