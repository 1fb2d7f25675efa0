// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "Registration.h"
#include "core/base/AppMessageSink.h"
#include "core/base/CommandIds.h"
#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "core/tools/CTool.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "core/video/ImageFilters.h"
#include "ui/app/DialogPrompts.h"

// ---------------------------------------------------------------------------
// The picture's history: Undo and Redo of Edge Enhance on the whole image,
// beside one plain copy of its bytes; Burn On of a Line across the image as
// the document runs it (recorded for Undo), beside the same burn-in
// unrecorded (drawing the tool into the picture and unplacing it), alone and
// with the composition of the view that shows it; and the filter commands,
// which now keep the picture they replace, beside the filters alone, with
// a new history and with one already full.
// ---------------------------------------------------------------------------
namespace {

class NoMainWindow : public AppMessageSink {
public:
    qintptr send(AppMessage, qintptr, qintptr) override { return 0; }
};

// A document holding `frame`, with the program's settings and prompts (none
// is asked here).
struct Document {
    explicit Document(const QImage& frame)
        : settings(dir.filePath(QStringLiteral("bench.conf")))
        , doc(settings, prompts, mainWindow)
    {
        doc.AllocateFrameBuffer(frame.width(), frame.height());
        std::memcpy(doc.FrameBuffer.image().bits(), frame.constBits(), size_t(frame.sizeInBytes()));
        doc.noBurnPrompt = true;
    }
    // A Line from near the top-left to near the bottom-right corner, labelled.
    void layLine()
    {
        doc.SetActiveTool(ToolFactory::create(KindLine, settings, mainWindow));
        doc.pressTool(QPoint(100, 100));
        doc.dragTool(QPoint(doc.FrameBuffer.width() - 100, doc.FrameBuffer.height() - 100), false);
        doc.releaseTool();
    }
    QTemporaryDir dir;
    SettingsStore settings;
    DialogPrompts prompts;
    NoMainWindow mainWindow;
    ImageDocument doc;
};

using Clock = std::chrono::steady_clock;

// Times `timed` alone; `untimed` puts the history back between two runs.
void registerStep(const std::string& name, const QImage& frame, int timed, int untimed)
{
    registerTimed(
        name,
        [frame, timed, untimed](benchmark::State& state) {
            Document document(frame);
            document.doc.onCommand(ID_EDGE_ENHANCE);
            if (timed == ID_EDIT_REDO)
                document.doc.onCommand(ID_EDIT_UNDO);
            for (auto _ : state) {
                const Clock::time_point start = Clock::now();
                document.doc.onCommand(timed);
                benchmark::ClobberMemory();
                state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
                document.doc.onCommand(untimed);
            }
        },
        true);
}

// Burn On of the Line, recorded as the program does; with `shown`, the view
// is composed afterwards, as the window's repaint does.
void registerBurn(const std::string& name, const QImage& frame, bool shown)
{
    registerTimed(name, [frame, shown](benchmark::State& state) {
        Document document(frame);
        document.layLine();
        CTool& line = *document.doc.activeTool();
        for (auto _ : state) {
            line.placed = true;
            document.doc.onCommand(ID_BURN_ON);
            if (shown)
                document.doc.composeView();
            benchmark::ClobberMemory();
        }
    });
}

// The same burn-in without a history: the tool drawn without handles into
// the picture, then unplaced.
void registerUnrecordedBurn(const std::string& name, const QImage& frame, bool shown)
{
    registerTimed(name, [frame, shown](benchmark::State& state) {
        Document document(frame);
        document.layLine();
        CTool& line = *document.doc.activeTool();
        for (auto _ : state) {
            line.placed = true;
            {
                QPainter painter(&document.doc.FrameBuffer.image());
                line.showHandles = false;
                line.Draw(painter);
                line.showHandles = true;
            }
            line.Reset();
            if (shown)
                document.doc.composeView();
            benchmark::ClobberMemory();
        }
    });
}

// With `full`, the history holds as many pictures as its budget allows
// before the timing starts, as in a long session: each new step then reuses
// the memory of the step it pushes out.
void registerFilterCommand(const std::string& group, const QImage& frame, int command, bool full)
{
    registerTimed(group + "/Scopique", [frame, command, full](benchmark::State& state) {
        Document document(frame);
        const qint64 steps = PictureHistory::defaultBudget / frame.sizeInBytes() + 1;
        for (qint64 i = 0; full && i < steps; ++i)
            document.doc.onCommand(command);
        for (auto _ : state) {
            document.doc.onCommand(command);
            benchmark::ClobberMemory();
        }
    });
    registerTimed(group + "/filter alone", [frame, command](benchmark::State& state) {
        QImage image = frame.copy();
        QImage result;
        for (auto _ : state) {
            if (command == ID_MONOCHROME) {
                ImageFilters::monochrome(image);
            } else {
                // As the command did before it kept the old picture: the
                // result buffer reused.
                ImageFilters::edgeEnhance(image, result);
                image.swap(result);
            }
            benchmark::DoNotOptimize(image.constBits());
            benchmark::ClobberMemory();
        }
    });
}

} // namespace

void historyBench(const QImage& frame, const std::string& label, std::map<std::string, std::string>& notes)
{
    const std::string undo = "history/" + label + "_Edge_Enhance_Undo";
    const std::string redo = "history/" + label + "_Edge_Enhance_Redo";
    registerStep(undo + "/Scopique", frame, ID_EDIT_UNDO, ID_EDIT_REDO);
    registerCopy(undo, frame);
    registerStep(redo + "/Scopique", frame, ID_EDIT_REDO, ID_EDIT_UNDO);
    registerCopy(redo, frame);

    const std::string burn = "history/" + label + "_Burn_On_Line";
    const std::string shown = "history/" + label + "_Burn_On_Line_shown";
    notes[burn] = "the burn-in alone";
    notes[shown] = "the burn-in and the view composed";
    registerBurn(burn + "/Scopique", frame, false);
    registerUnrecordedBurn(burn + "/unrecorded", frame, false);
    registerBurn(shown + "/Scopique", frame, true);
    registerUnrecordedBurn(shown + "/unrecorded", frame, true);

    for (const bool full : { false, true }) {
        const std::string history = full ? "_full_history" : "_new_history";
        const std::string monochrome = "history/" + label + "_Monochrome_command" + history;
        const std::string edges = "history/" + label + "_Edge_Enhance_command" + history;
        notes[monochrome] = notes[edges] = full ? "each step reuses a forgotten one's memory" : "fresh memory";
        registerFilterCommand(monochrome, frame, ID_MONOCHROME, full);
        registerFilterCommand(edges, frame, ID_EDGE_ENHANCE, full);
    }
}
