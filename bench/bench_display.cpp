// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include "Registration.h"
#include "XorShift.h"
#include "core/base/AppMessageSink.h"
#include "core/base/SettingsStore.h"
#include "core/document/ImageDocument.h"
#include "core/video/BandWorkers.h"
#include "core/video/SampleMapper.h"
#include "ui/app/DialogPrompts.h"

// ---------------------------------------------------------------------------
// Pictures of 16 bits per sample, 20 MP: applying a display range (the
// mapping into the FrameBuffer) and Auto's percentile search, each beside
// one plain copy of the samples on one thread; opening a 16-bit TIFF as
// File > Open does, beside Qt decoding the same file into a new image (what
// Qt's own reading does) and into an image it reuses.
// ---------------------------------------------------------------------------
namespace {

// A 12-bit fluorescence-like picture: a dim, uneven background, bright
// round cells and sensor noise, the same in every run.
QImage cells(int w, int h, bool colour)
{
    struct Cell {
        int x, y, r;
    };
    Cell list[24];
    XorShift next { 0x9E3779B9u };
    for (Cell& cell : list)
        cell = { int(next() % quint32(w)), int(next() % quint32(h)), 80 + int(next() % 300) };
    QImage image(w, h, colour ? QImage::Format_RGBX64 : QImage::Format_Grayscale16);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<quint16*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int v = 200 + x / 64 + y / 96;
            for (const Cell& cell : list) {
                const int dx = x - cell.x, dy = y - cell.y, r2 = cell.r * cell.r, d2 = dx * dx + dy * dy;
                if (d2 < r2)
                    v += 3000 * (r2 - d2) / r2;
            }
            v = qBound(0, v + int(next() % 81) - 40, 4095);
            if (colour) {
                row[4 * x] = quint16(v);
                row[4 * x + 1] = quint16(v / 2 + 300);
                row[4 * x + 2] = quint16(4095 - v);
                row[4 * x + 3] = 0xffff;
            } else {
                row[x] = quint16(v);
            }
        }
    }
    return image;
}

void registerRange(const std::string& group, const QImage& samples)
{
    registerTimed(group + "/Scopique", [samples](benchmark::State& state) {
        // Into the FrameBuffer as it stands, as the dialog's fields do.
        QImage frame(samples.size(), QImage::Format_RGB32);
        frame.fill(0);
        int step = 0;
        for (auto _ : state) {
            SampleMapper::map(samples, { 100 + step % 7, 3900 - step % 5 }, frame);
            ++step;
            benchmark::DoNotOptimize(frame.constBits());
            benchmark::ClobberMemory();
        }
    });
    registerCopy(group, samples);
}

void registerAuto(const std::string& group, const QImage& samples)
{
    registerTimed(group + "/Scopique", [samples](benchmark::State& state) {
        for (auto _ : state) {
            const DisplayRange range = SampleMapper::autoRange(samples);
            benchmark::DoNotOptimize(range);
        }
    });
    registerCopy(group, samples);
}

class NoWindow : public AppMessageSink {
public:
    qintptr send(AppMessage, qintptr, qintptr) override { return 0; }
};

void registerOpen(const std::string& group, const QString& path, const QString& ini)
{
    registerTimed(group + "/Scopique", [path, ini](benchmark::State& state) {
        SettingsStore settings(ini);
        DialogPrompts prompts;
        NoWindow window;
        ImageDocument document(settings, prompts, window);
        // From the second open on, the FrameBuffer's memory is reused, as
        // when the user opens one camera picture after another.
        if (!document.LoadImageFile(path) || !document.hasSamples()) {
            state.SkipWithError("the picture did not open with its samples");
            return;
        }
        for (auto _ : state) {
            document.LoadImageFile(path);
            benchmark::DoNotOptimize(document.FrameBuffer.image().constBits());
            benchmark::ClobberMemory();
        }
    });
    registerTimed(group + "/Qt", [path](benchmark::State& state) {
        for (auto _ : state) {
            QImageReader reader(path);
            const QImage image = reader.read();
            benchmark::DoNotOptimize(image.constBits());
            benchmark::ClobberMemory();
        }
    });
    registerTimed(group + "/Qt_into_reused", [path](benchmark::State& state) {
        QImage image;
        for (auto _ : state) {
            QImageReader reader(path);
            reader.read(&image);
            benchmark::DoNotOptimize(image.constBits());
            benchmark::ClobberMemory();
        }
    });
}

} // namespace

void displayBench(const QString& dir, std::map<std::string, std::string>& notes)
{
    const int w = 5472, h = 3648;
    const QImage grey = cells(w, h, false);
    const QImage colour = cells(w, h, true);
    const std::string threads = std::to_string(BandWorkers::shared().threads()) + " threads";
    notes["display/20MP_grey_range"] = threads + ", 12-bit samples";
    notes["display/20MP_colour_range"] = threads + ", 12-bit samples";
    notes["display/20MP_grey_Auto"] = threads;
    registerRange("display/20MP_grey_range", grey);
    registerAuto("display/20MP_grey_Auto", grey);
    registerRange("display/20MP_colour_range", colour);

    const QString path = QDir(dir).filePath(QStringLiteral("20MP-16bit.tif"));
    if (!QImageWriter(path, "tiff").write(grey)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    notes["display/20MP_16-bit_TIFF_open"] = "uncompressed, 40 MB";
    registerOpen("display/20MP_16-bit_TIFF_open", path, QDir(dir).filePath(QStringLiteral("bench.conf")));
}
