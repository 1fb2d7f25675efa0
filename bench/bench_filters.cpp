// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <QImage>

#include "Registration.h"
#include "core/video/BandWorkers.h"
#include "core/video/ImageFilters.h"
#include "core/video/ProfileSampler.h"

#ifdef SCOPIQUE_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

// ---------------------------------------------------------------------------
// The Image menu's filters on a whole image, beside the least either must do:
// one plain copy of the image's bytes on one thread (the memory's speed), and
// beside OpenCV doing the same job with the same result.
// ---------------------------------------------------------------------------
namespace {

void registerMonochrome(const std::string& group, const QImage& frame, int bands, bool vector)
{
    registerTimed(group + "/Scopique", [frame, bands, vector](benchmark::State& state) {
        // In place, as the command does; from the second run on the image
        // is grey, which costs the same.
        QImage image = frame.copy();
        for (auto _ : state) {
            ImageFilters::monochrome(image, bands, vector);
            benchmark::DoNotOptimize(image.constBits());
            benchmark::ClobberMemory();
        }
    });
}

void registerEdges(const std::string& group, const QImage& frame, int bands, bool vector)
{
    registerTimed(group + "/Scopique", [frame, bands, vector](benchmark::State& state) {
        // The result buffer is reused, as the Video Window's is.
        QImage result = frame.copy();
        for (auto _ : state) {
            ImageFilters::edgeEnhance(frame, result, bands, vector);
            benchmark::DoNotOptimize(result.constBits());
            benchmark::ClobberMemory();
        }
    });
}

#ifdef SCOPIQUE_BENCH_OPENCV

bool sameBytes(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), size_t(a.width()) * 4) != 0)
            return false;
    return true;
}

cv::Mat wrap(const QImage& image)
{
    return cv::Mat(
        image.height(), image.width(), CV_8UC4, const_cast<uchar*>(image.constBits()), size_t(image.bytesPerLine()));
}

// Monochrome: each of blue, green, red becomes (b + g + r) / 3 − 1/3,
// rounded to the nearest, which is ⌊(b + g + r) / 3⌋; the fourth byte 255.
void openCvMonochrome(const cv::Mat& source, cv::Mat& result)
{
    const float third = 1.0f / 3.0f;
    const float weights[4 * 5] = { third, third, third, 0, -third, //
        third, third, third, 0, -third, //
        third, third, third, 0, -third, //
        0, 0, 0, 0, 255 };
    cv::transform(source, result, cv::Matx<float, 4, 5>(weights));
}

// Edge Enhance: the grey image, both Prewitt sums with black outside,
// |Gv| and |Gh| limited to 255, their limited sum, inverted, as 32-bit pixels.
struct OpenCvEdges {
    cv::Mat grey, vertical, horizontal, absVertical, absHorizontal, magnitude;

    void run(const cv::Mat& source, cv::Mat& result)
    {
        const float third = 1.0f / 3.0f;
        cv::transform(source, grey, cv::Matx<float, 1, 5>(third, third, third, 0, -third));
        const cv::Matx33f belowMinusAbove(-1, -1, -1, 0, 0, 0, 1, 1, 1);
        const cv::Matx33f leftMinusRight(1, 0, -1, 1, 0, -1, 1, 0, -1);
        cv::filter2D(grey, vertical, CV_16S, belowMinusAbove, cv::Point(-1, -1), 0, cv::BORDER_CONSTANT);
        cv::filter2D(grey, horizontal, CV_16S, leftMinusRight, cv::Point(-1, -1), 0, cv::BORDER_CONSTANT);
        cv::convertScaleAbs(vertical, absVertical);
        cv::convertScaleAbs(horizontal, absHorizontal);
        cv::add(absVertical, absHorizontal, magnitude);
        cv::bitwise_not(magnitude, magnitude);
        cv::cvtColor(magnitude, result, cv::COLOR_GRAY2BGRA);
    }
};

void registerOpenCv(const std::string& monochromeGroup, const std::string& edgeGroup, const QImage& frame,
    std::map<std::string, std::string>& notes)
{
    // Same pixels as Scopique's?
    QImage ours = frame.copy();
    ImageFilters::monochrome(ours);
    QImage theirs(frame.size(), QImage::Format_RGB32);
    cv::Mat theirsMat = wrap(theirs);
    openCvMonochrome(wrap(frame), theirsMat);
    const std::string threads = " (" + std::to_string(cv::getNumThreads()) + " threads)";
    notes[monochromeGroup] += (sameBytes(ours, theirs) ? ", OpenCV bit-identical" : ", OpenCV DIFFERS") + threads;
    QImage ourEdges;
    ImageFilters::edgeEnhance(frame, ourEdges);
    OpenCvEdges edges;
    edges.run(wrap(frame), theirsMat);
    notes[edgeGroup] += (sameBytes(ourEdges, theirs) ? ", OpenCV bit-identical" : ", OpenCV DIFFERS") + threads;

    registerTimed(monochromeGroup + "/OpenCV", [frame](benchmark::State& state) {
        QImage result = frame.copy();
        cv::Mat target = wrap(result);
        const cv::Mat source = wrap(frame);
        for (auto _ : state) {
            openCvMonochrome(source, target);
            benchmark::DoNotOptimize(result.constBits());
            benchmark::ClobberMemory();
        }
    });
    registerTimed(edgeGroup + "/OpenCV", [frame](benchmark::State& state) {
        QImage result = frame.copy();
        cv::Mat target = wrap(result);
        const cv::Mat source = wrap(frame);
        OpenCvEdges edges;
        // The intermediate images are made once and reused.
        edges.run(source, target);
        for (auto _ : state) {
            edges.run(source, target);
            benchmark::DoNotOptimize(result.constBits());
            benchmark::ClobberMemory();
        }
    });
}

#endif

void registerProfile(const std::string& name, const QImage& frame, bool alongRow)
{
    benchmark::RegisterBenchmark(name.c_str(),
        [frame, alongRow](benchmark::State& state) {
            std::vector<int> samples(ProfileSampler::maxSamples);
            const int line = (alongRow ? frame.height() : frame.width()) / 2;
            for (auto _ : state) {
                ProfileSampler::sample(frame, alongRow, line, samples.data());
                benchmark::DoNotOptimize(samples.data());
                benchmark::ClobberMemory();
            }
        })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
}

} // namespace

void filterBench(const QImage& frame, const std::string& label, std::map<std::string, std::string>& notes)
{
    const std::string monochrome = "filters/" + label + "_Monochrome";
    const std::string edges = "filters/" + label + "_Edge_Enhance";
    notes[monochrome] = notes[edges] = std::to_string(BandWorkers::shared().threads()) + " threads";

    // As the commands run: every core, SIMD where the processor has it.
    registerMonochrome(monochrome, frame, 0, true);
    registerCopy(monochrome, frame);
    registerEdges(edges, frame, 0, true);
    registerCopy(edges, frame);
#ifdef SCOPIQUE_BENCH_OPENCV
    registerOpenCv(monochrome, edges, frame, notes);
#endif
    // One thread, and one thread without SIMD.
    registerMonochrome(monochrome + "_1_thread", frame, 1, true);
    registerCopy(monochrome + "_1_thread", frame);
    registerMonochrome(monochrome + "_1_thread_plain", frame, 1, false);
    registerCopy(monochrome + "_1_thread_plain", frame);
    registerEdges(edges + "_1_thread", frame, 1, true);
    registerCopy(edges + "_1_thread", frame);
    registerEdges(edges + "_1_thread_plain", frame, 1, false);
    registerCopy(edges + "_1_thread_plain", frame);

    // The profile that a histogram pane samples at every update.
    registerProfile("profile/" + label + "_row_2048/Scopique", frame, true);
    registerProfile("profile/" + label + "_column_2048/Scopique", frame, false);
}
