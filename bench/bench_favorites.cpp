// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QStringList>

#include "LibjpegDecode.h"
#include "core/favorites/FavoriteItem.h"
#include "core/favorites/FavoriteLoader.h"
#include "core/video/ImageTags.h"

namespace {

// Favourites in one folder: enough to show how listing a real folder feels.
constexpr int FileCount = 200;

// The folder's files: one quality-90 JPEG with a description, written
// FileCount times (encoding each anew would take minutes and change nothing
// the decoders see).
QStringList writeFolder(const QImage& frame, const QString& folder)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    if (!buffer.open(QIODevice::WriteOnly) || !writer.write(frame))
        return {};
    buffer.close();
    const ImageTags tags { std::nullopt, std::nullopt, QStringLiteral("Onion root tip, 40x") };
    if (!tags.writeBytes(bytes))
        return {};
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < FileCount; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("favorite %1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        paths.append(path);
    }
    return paths;
}

// What the favourites list does on a folder switch: every record with its
// thumbnail, delivered to this thread.
void listScopique(benchmark::State& state, const QStringList& paths)
{
    FavoriteLoader loader;
    QEventLoop loop;
    int count = 0;
    bool thumbnails = true;
    QObject::connect(&loader, &FavoriteLoader::loaded, [&](const FavoriteItem& item) {
        ++count;
        thumbnails = thumbnails && item.thumbnail.size() == QSize(160, 120);
    });
    QObject::connect(&loader, &FavoriteLoader::finished, &loop, &QEventLoop::quit);
    for (auto _ : state) {
        count = 0;
        loader.load(paths);
        loop.exec();
    }
    if (count != paths.size() || !thumbnails)
        state.SkipWithError("not every record came with its thumbnail");
}

void decodeFolder(benchmark::State& state, const QStringList& paths, unsigned denominator)
{
    std::vector<QByteArray> nativePaths;
    for (const QString& path : paths)
        nativePaths.push_back(QFile::encodeName(path));
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    for (auto _ : state) {
        for (const QByteArray& path : nativePaths) {
            if (!decodeLibjpeg(path, denominator, pixels, width, height)) {
                state.SkipWithError("a picture did not open");
                return;
            }
            benchmark::DoNotOptimize(pixels.data());
        }
        benchmark::ClobberMemory();
    }
}

} // namespace

// Listing a folder of `frame`-sized favourites, beside libjpeg-turbo
// decoding the same files at 1/8 scale (the least any thumbnail needs) and
// in full, one thread each.
void favoritesBench(
    const QImage& frame, const QString& dir, const std::string& label, std::map<std::string, std::string>& notes)
{
    const QStringList paths = writeFolder(frame, QDir(dir).filePath(QStringLiteral("Favorites")));
    if (paths.isEmpty()) {
        std::fprintf(stderr, "cannot write the favourites folder\n");
        return;
    }
    const std::string group = "favorites/" + std::to_string(FileCount) + "x" + label + "_JPEG";
    notes[group] = std::to_string(QFile(paths.front()).size() / 1000) + " kB each";
    benchmark::RegisterBenchmark((group + "/Scopique").c_str(), listScopique, paths)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark((group + "/libjpeg_8th").c_str(), decodeFolder, paths, 8u)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RegisterBenchmark((group + "/libjpeg_full").c_str(), decodeFolder, paths, 1u)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}
