// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include <jpeglib.h>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "core/output/ImageSaver.h"
#include "core/video/ViewComposer.h"

// ---------------------------------------------------------------------------
// Saving the composed view (image, 20-pixel ANSI border, title block) as the
// Save command does: encoded in memory, tagged, written through a new file
// that replaces the old one. JPEG beside libjpeg-turbo compressing the same
// pixels into memory at its default settings; TIFF and PNG on their own.
// ---------------------------------------------------------------------------
namespace {

QImage composedView(const QImage& frame)
{
    constexpr int border = 20;
    QImage view(frame.width() + 2 * border, frame.height() + 2 * border, QImage::Format_RGB32);
    TitleBlockText title;
    title.shown = true;
    title.title1 = QStringLiteral("Allium cepa, epidermis");
    title.title2 = QStringLiteral("Iodine stain, sample 4");
    ViewComposer::compose(view, frame, border, title, {}, 1'700'000'000);
    return view;
}

void compressLibjpeg(const QImage& view, unsigned char*& out, unsigned long& size)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(view.width());
    info.image_height = JDIMENSION(view.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(view.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
}

std::string megabytes(qint64 bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / 1e6);
    return text;
}

} // namespace

void saveBench(const QImage& frame, const std::string& label, std::map<std::string, std::string>& notes)
{
    static QTemporaryDir dir;
    const QImage view = composedView(frame);

    for (const char* extension : { "jpg", "tif", "png" }) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("saved.") + QLatin1String(extension));
        QString error;
        if (!ImageSaver::save(view, path, 20, std::nullopt, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        const std::string format = extension[0] == 'j' ? "JPEG" : extension[0] == 't' ? "TIFF" : "PNG";
        const std::string group = "save/" + label + "_" + format;
        notes[group] = megabytes(QFileInfo(path).size()) + ", tagged, written";
        benchmark::RegisterBenchmark((group + "/Scopique").c_str(),
            [view, path](benchmark::State& state) {
                QString error;
                for (auto _ : state) {
                    if (!ImageSaver::save(view, path, 20, std::nullopt, error))
                        state.SkipWithError(qPrintable(error));
                }
            })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        if (format != "JPEG")
            continue;
        benchmark::RegisterBenchmark((group + "/libjpeg").c_str(),
            [view](benchmark::State& state) {
                for (auto _ : state) {
                    unsigned char* out = nullptr;
                    unsigned long size = 0;
                    compressLibjpeg(view, out, size);
                    benchmark::DoNotOptimize(out);
                    std::free(out);
                }
            })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
}
