// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>

#include <QImage>

#include "video/ViewComposer.h"

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
