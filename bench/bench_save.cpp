// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include "core/output/ImageSaver.h"
#include "core/video/ViewComposer.h"

// ---------------------------------------------------------------------------
// Saving the composed view (image, 20-pixel ANSI border, title block) as the
// Save command does: encoded in memory, tagged, written through a new file
// that replaces the old one. JPEG beside libjpeg-turbo compressing the same
// pixels into memory at its default settings; PNG beside Qt's PNG writer at
// its default settings writing the same view to a file (what saving cost
// before the program had its own encoder), and beside libpng tuned for speed
// on one thread (Up filter, run-length strategy, level 1) into memory; TIFF
// on its own.
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

void appendPng(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void flushPng(png_structp) { }

// libpng's errors jump back here: nothing with a destructor lives between
// the setjmp and the calls that may jump.
bool compressLibpng(const QImage& view, std::string& out)
{
    out.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendPng, flushPng);
    png_set_IHDR(png, info, png_uint_32(view.width()), png_uint_32(view.height()), 8, PNG_COLOR_TYPE_RGB,
        PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_level(png, 1);
    png_write_info(png, info);
    // Format_RGB32 is blue, green, red and an unused byte in memory.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    for (int y = 0; y < view.height(); ++y)
        png_write_row(png, view.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
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
        const QString path
            = QDir(dir.path())
                  .filePath(QString::fromStdString(label) + QStringLiteral(".saved.") + QLatin1String(extension));
        QString error;
        if (!ImageSaver::save(view, path, 20, std::nullopt, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
        const std::string format = extension[0] == 'j' ? "JPEG" : extension[0] == 't' ? "TIFF" : "PNG";
        const std::string group = "save/" + label + "_" + format;
        const qint64 size = QFileInfo(path).size();
        notes[group] = megabytes(size) + ", tagged, written";
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
        if (format == "PNG") {
            const QString qtPath = QDir(dir.path()).filePath(QString::fromStdString(label) + QStringLiteral(".qt.png"));
            QImageWriter(qtPath, "png").write(view);
            const qint64 qtSize = QFileInfo(qtPath).size();
            char sizes[96];
            std::snprintf(sizes, sizeof sizes, "; Qt %s, size %.2fx", megabytes(qtSize).c_str(),
                double(size) / double(qMax<qint64>(qtSize, 1)));
            notes[group] += sizes;
            benchmark::RegisterBenchmark((group + "/Qt").c_str(),
                [view, qtPath](benchmark::State& state) {
                    for (auto _ : state) {
                        QImageWriter writer(qtPath, "png");
                        if (!writer.write(view))
                            state.SkipWithError(qPrintable(writer.errorString()));
                    }
                })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark((group + "/libpng").c_str(),
                [view](benchmark::State& state) {
                    std::string out;
                    for (auto _ : state) {
                        if (!compressLibpng(view, out))
                            state.SkipWithError("libpng failed");
                        benchmark::DoNotOptimize(out.data());
                    }
                })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
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
