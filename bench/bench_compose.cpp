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
#include "core/video/ScaledView.h"
#include "core/video/ViewComposer.h"
#include "core/video/ViewScale.h"

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

// ---------------------------------------------------------------------------
// A 20 MP picture fitted into a 1600 x 1000 pane, with a placed Line over it:
// one paint of the pane from the reduced copy, one drag step of the Line
// (move its end, paint again), and making the reduced copy anew, each beside
// the paint of a 1600 x 1000 view at scale 1 (compose it with the same
// tool and title block, copy it to the pane).
// ---------------------------------------------------------------------------
namespace {

constexpr int zoomBorder = 20;
const QSize paneSize(1600, 1000);

TitleBlockText benchTitle()
{
    TitleBlockText title;
    title.shown = true;
    title.title1 = QStringLiteral("Allium cepa, epidermis");
    title.title2 = QStringLiteral("Iodine stain, sample 4");
    title.magnification = 400;
    return title;
}

std::shared_ptr<CTool> placedLine(const QSize& image)
{
    static NoMainWindow mainWindow;
    static QTemporaryDir dir;
    static SettingsStore settings(dir.filePath(QStringLiteral("zoom.conf")));
    std::shared_ptr<CTool> line = ToolFactory::create(KindLine, settings, mainWindow);
    line->Press(QPoint(100, 100));
    line->Drag(QPoint(image.width() - 100, image.height() - 100), false);
    line->current = -1;
    return line;
}

// What the Video Window does at scale 1: compose the whole view, copy it.
void registerScaleOnePaint(const std::string& group)
{
    benchmark::RegisterBenchmark((group + "/scale 1 pane").c_str(),
        [](benchmark::State& state) {
            const QSize image = paneSize - QSize(2 * zoomBorder, 2 * zoomBorder);
            QImage frame(image, QImage::Format_RGB32);
            frame.fill(Qt::gray);
            QImage back(paneSize, QImage::Format_RGB32);
            QImage screen(paneSize, QImage::Format_RGB32);
            const std::shared_ptr<CTool> line = placedLine(image);
            const ViewComposer::Overlay overlay = [line](QPainter& painter) { line->Draw(painter); };
            for (auto _ : state) {
                ViewComposer::compose(back, frame, zoomBorder, benchTitle(), overlay, 1'700'000'000);
                QPainter painter(&screen);
                painter.drawImage(QPoint(0, 0), back);
                painter.end();
                benchmark::DoNotOptimize(screen.constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

} // namespace

void zoomBench(const QImage& frame, const std::string& label)
{
    const QSize view = frame.size() + QSize(2 * zoomBorder, 2 * zoomBorder);
    const double scale = ViewScale::fit(view, paneSize);
    // The copy without the tool, as the Video Window keeps it.
    auto fitted = std::make_shared<ScaledView>();
    QImage back;
    ViewComposer::compose(back, frame, zoomBorder, benchTitle(), {}, 1'700'000'000);
    fitted->rebuild(back, scale);
    const QRect shown(QPoint(0, 0), ViewScale::shownSize(view, scale));
    const QRegion clip(0, 0, frame.width(), frame.height());

    const std::string paint = "paint/" + label + "_fitted";
    benchmark::RegisterBenchmark((paint + "/Scopique").c_str(),
        [fitted, shown, clip, frame](benchmark::State& state) {
            QImage screen(paneSize, QImage::Format_RGB32);
            const std::shared_ptr<CTool> line = placedLine(frame.size());
            const ViewComposer::Overlay overlay = [line](QPainter& painter) { line->Draw(painter); };
            for (auto _ : state) {
                QPainter painter(&screen);
                fitted->paintReduced(painter, shown, zoomBorder, clip, overlay);
                painter.end();
                benchmark::DoNotOptimize(screen.constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    registerScaleOnePaint(paint);

    const std::string drag = "drag/" + label + "_fitted";
    benchmark::RegisterBenchmark((drag + "/Scopique").c_str(),
        [fitted, shown, clip, frame](benchmark::State& state) {
            QImage screen(paneSize, QImage::Format_RGB32);
            const std::shared_ptr<CTool> line = placedLine(frame.size());
            const ViewComposer::Overlay overlay = [line](QPainter& painter) { line->Draw(painter); };
            // The end point is held, as while the user drags it.
            line->current = 2;
            int step = 0;
            for (auto _ : state) {
                line->Drag(QPoint(frame.width() - 100 - (step++ % 64) * 4, frame.height() - 100), false);
                QPainter painter(&screen);
                fitted->paintReduced(painter, shown, zoomBorder, clip, overlay);
                painter.end();
                benchmark::DoNotOptimize(screen.constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    registerScaleOnePaint(drag);

    // When the picture itself changes: compose it without the tool and reduce it.
    const std::string rebuild = "rebuild/" + label + "_fitted";
    benchmark::RegisterBenchmark((rebuild + "/Scopique").c_str(),
        [frame, scale](benchmark::State& state) {
            QImage back;
            ScaledView copy;
            for (auto _ : state) {
                ViewComposer::compose(back, frame, zoomBorder, benchTitle(), {}, 1'700'000'000);
                copy.rebuild(back, scale);
                benchmark::DoNotOptimize(copy.reducedCopy().constBits());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    registerScaleOnePaint(rebuild);
}
