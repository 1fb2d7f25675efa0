// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#pragma once

#include <cstring>
#include <functional>
#include <string>

#include <benchmark/benchmark.h>

#include <QImage>

// A benchmark in milliseconds, timed by the wall clock unless `manual`
// (the body then reports its own times).
inline void registerTimed(const std::string& name, std::function<void(benchmark::State&)> body, bool manual = false)
{
    auto* bench = benchmark::RegisterBenchmark(name.c_str(), std::move(body))->Unit(benchmark::kMillisecond);
    if (manual)
        bench->UseManualTime();
    else
        bench->UseRealTime();
}

// The reference of most ratios: one copy of the image's bytes into a buffer
// that is already in use.
inline void registerCopy(const std::string& group, const QImage& image)
{
    registerTimed(group + "/copy", [image](benchmark::State& state) {
        QImage target = image.copy();
        for (auto _ : state) {
            std::memcpy(target.bits(), image.constBits(), size_t(image.sizeInBytes()));
            benchmark::DoNotOptimize(target.constBits());
            benchmark::ClobberMemory();
        }
    });
}
