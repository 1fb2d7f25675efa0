// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

#include <QImage>
#include <QTemporaryDir>

#include "core/base/AppMessageSink.h"
#include "core/base/SettingsStore.h"
#include "core/tools/CReticuleTool.h"
#include "core/tools/ToolFactory.h"
#include "core/tools/ToolKind.h"
#include "core/video/ViewComposer.h"

// ---------------------------------------------------------------------------
// Composing the whole BackBuffer once: the image inside a 20-pixel ANSI
// border with the title block, beside the least any composition must do,
// copying the image rows into a buffer of the view's size.
// ---------------------------------------------------------------------------
void composeBench(const QImage& frame, const std::string& label)
{
    constexpr int border = 20;

    benchmark::RegisterBenchmark(("compose/" + label + "/Scopique").c_str(),
        [frame](benchmark::State& state) {
            QImage back(frame.width() + 2 * border, frame.height() + 2 * border, QImage::Format_RGB32);
            back.fill(Qt::black);
            TitleBlockText title;
            title.shown = true;
            title.title1 = QStringLiteral("Allium cepa, epidermis");
            title.title2 = QStringLiteral("Iodine stain, sample 4");
            title.magnification = 400;
            // A fixed time keeps the drawn date the same in every run.
            const qint64 now = 1'700'000'000;
            for (auto _ : state) {
                ViewComposer::compose(back, frame, border, title, {}, now);
                benchmark::DoNotOptimize(back.constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();

    benchmark::RegisterBenchmark(("compose/" + label + "/memcpy").c_str(),
        [frame](benchmark::State& state) {
            QImage back(frame.width() + 2 * border, frame.height() + 2 * border, QImage::Format_RGB32);
            back.fill(Qt::black);
            const size_t rowBytes = size_t(frame.width()) * 4;
            for (auto _ : state) {
                for (int y = 0; y < frame.height(); ++y)
                    std::memcpy(back.scanLine(y + border) + border * 4, frame.constScanLine(y), rowBytes);
                benchmark::DoNotOptimize(back.constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

// ---------------------------------------------------------------------------
// The same composition with a placed tool over the image, beside none: a
// Line with its label, and a Reticule of 1000 ticks on both axes.
// ---------------------------------------------------------------------------
namespace {

class NoMainWindow : public AppMessageSink {
public:
    qintptr send(AppMessage, qintptr, qintptr) override { return 0; }
};

void registerCompose(const std::string& name, const QImage& frame, const std::shared_ptr<CTool>& tool)
{
    constexpr int border = 20;
    benchmark::RegisterBenchmark(name.c_str(),
        [frame, tool](benchmark::State& state) {
            QImage back(frame.width() + 2 * border, frame.height() + 2 * border, QImage::Format_RGB32);
            back.fill(Qt::black);
            TitleBlockText title;
            title.shown = true;
            ViewComposer::Overlay overlay;
            if (tool)
                overlay = [tool](QPainter& painter) { tool->Draw(painter); };
            for (auto _ : state) {
                ViewComposer::compose(back, frame, border, title, overlay, 1'700'000'000);
                benchmark::DoNotOptimize(back.constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

void toolBench(const QImage& frame, const std::string& label)
{
    static NoMainWindow mainWindow;
    static QTemporaryDir dir;
    static SettingsStore settings(dir.filePath(QStringLiteral("bench.conf")));

    std::shared_ptr<CTool> line = ToolFactory::create(KindLine, settings, mainWindow);
    line->Press(QPoint(100, 100));
    line->Drag(QPoint(frame.width() - 100, frame.height() - 100), false);
    line->current = -1;
    std::shared_ptr<CTool> reticule = ToolFactory::create(KindReticule, settings, mainWindow);
    static_cast<CReticuleTool&>(*reticule).count = 1000;
    reticule->Press(QPoint(200, 2200));
    reticule->current = -1;

    for (const auto& [name, tool] : { std::pair { "Line", line }, std::pair { "Reticule", reticule } }) {
        const std::string group = "compose/" + label + "_with_" + name;
        registerCompose(group + "/Scopique", frame, tool);
        registerCompose(group + "/no tool", frame, nullptr);
    }
}
