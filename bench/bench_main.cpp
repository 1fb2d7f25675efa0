// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include "LibjpegDecode.h"
#include "XorShift.h"
#include "core/video/ImageLoader.h"
#include "core/video/PixelBuffer.h"

// In bench_compose.cpp.
void composeBench(const QImage& frame, const std::string& label);
void captureBench();
void toolBench(const QImage& frame, const std::string& label);
void zoomBench(const QImage& frame, const std::string& label);
// In bench_filters.cpp.
void filterBench(const QImage& frame, const std::string& label, std::map<std::string, std::string>& notes);
// In bench_save.cpp.
void saveBench(const QImage& frame, const std::string& label, std::map<std::string, std::string>& notes);
// In bench_history.cpp.
void historyBench(const QImage& frame, const std::string& label, std::map<std::string, std::string>& notes);
// In bench_favorites.cpp.
void favoritesBench(
    const QImage& frame, const QString& dir, const std::string& label, std::map<std::string, std::string>& notes);
// In bench_measurements.cpp.
void measurementsBench(const QString& dir, std::map<std::string, std::string>& notes);
// In bench_display.cpp.
void displayBench(const QString& dir, std::map<std::string, std::string>& notes);

namespace {

// A smooth picture with sensor-like noise, the same in every run, so that
// the files come out about as large as a camera's.
QImage cameraLike(int w, int h)
{
    const double pi = 3.14159265358979;
    std::vector<double> red(size_t(w) + size_t(h)), green(red.size()), blue(red.size());
    for (int i = 0; i < w + h; ++i) {
        red[size_t(i)] = 60 * std::sin(2 * pi * i / 731.0);
        green[size_t(i)] = 50 * std::cos(2 * pi * i / 1193.0);
        blue[size_t(i)] = 40 * std::sin(2 * pi * i / 457.0 + 1.0);
    }
    XorShift next { 0x2545F491u };
    const auto noise = [&next]() { return int(next() % 41) - 20; };
    const auto channel = [](double v) { return qBound(0, int(v), 255); };
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t a = size_t(x), b = size_t(w) + size_t(y) % size_t(h);
            row[x] = qRgb(channel(128 + red[a] + red[b] + noise()), channel(120 + green[a] + blue[b] + noise()),
                channel(110 + blue[a] + green[b] + noise()));
        }
    }
    return image;
}

// A stained section under the microscope, the same in every run: cells with
// dark walls and nuclei and thin fibres on a light ground, slightly out of
// focus, with mild sensor noise. Smooth areas and fine structure compress
// differently from cameraLike()'s noise.
QImage microscopeLike(int w, int h)
{
    XorShift next { 0x9E3779B9u };
    const auto uniform = [&next](int low, int high) { return low + int(next() % quint32(high - low + 1)); };
    QImage sharp(w, h, QImage::Format_RGB32);
    sharp.fill(qRgb(226, 214, 190));
    {
        QPainter painter(&sharp);
        painter.setRenderHint(QPainter::Antialiasing);
        const int cells = w * h / 9000;
        for (int i = 0; i < cells; ++i) {
            const QPointF centre(uniform(0, w), uniform(0, h));
            const double rx = uniform(20, 70), ry = uniform(15, 55);
            painter.setPen(
                QPen(QColor(120 + uniform(-20, 20), 70 + uniform(-20, 20), 110 + uniform(-20, 20)), uniform(2, 4)));
            painter.setBrush(QColor(210 + uniform(-15, 15), 180 + uniform(-15, 15), 185 + uniform(-15, 15)));
            painter.drawEllipse(centre, rx, ry);
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(90 + uniform(-20, 20), 40 + uniform(-10, 10), 100 + uniform(-20, 20)));
            painter.drawEllipse(centre + QPointF(uniform(-8, 8), uniform(-8, 8)), rx / 4, ry / 4);
        }
        painter.setPen(QPen(QColor(150, 110, 90), 1));
        for (int i = 0; i < cells / 2; ++i) {
            const QPointF from(uniform(0, w), uniform(0, h));
            painter.drawLine(from, from + QPointF(uniform(-150, 150), uniform(-150, 150)));
        }
    }
    // Out of focus: two passes of a 3 x 3 box blur.
    QImage image = sharp;
    for (int pass = 0; pass < 2; ++pass) {
        const QImage source = image;
        for (int y = 0; y < h; ++y) {
            const QRgb* rows[3] = { reinterpret_cast<const QRgb*>(source.constScanLine(qMax(0, y - 1))),
                reinterpret_cast<const QRgb*>(source.constScanLine(y)),
                reinterpret_cast<const QRgb*>(source.constScanLine(qMin(h - 1, y + 1))) };
            auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                int r = 0, g = 0, b = 0;
                for (int dx = -1; dx <= 1; ++dx) {
                    const int column = qBound(0, x + dx, w - 1);
                    for (const QRgb* row : rows) {
                        r += qRed(row[column]);
                        g += qGreen(row[column]);
                        b += qBlue(row[column]);
                    }
                }
                out[x] = qRgb(r / 9, g / 9, b / 9);
            }
        }
    }
    const auto jitter = [](int value, quint32 noise) { return qBound(0, value + int(noise % 5) - 2, 255); };
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const quint32 noise = next();
            row[x] = qRgb(
                jitter(qRed(row[x]), noise), jitter(qGreen(row[x]), noise >> 8), jitter(qBlue(row[x]), noise >> 16));
        }
    }
    return image;
}

QString writePicture(const QString& dir, const QString& name, const QImage& image, const char* format, int quality)
{
    const QString path = QDir(dir).filePath(name);
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        std::exit(1);
    }
    return path;
}

// What the program does on File Open: decode into the reused image, then
// take it into the FrameBuffer.
void loadScopique(benchmark::State& state, const QString& path)
{
    QImage decoded;
    PixelBuffer frame;
    const auto load = [&]() {
        const LoadResult result = ImageLoader::decode(path, decoded);
        if (!result.ok)
            return false;
        frame.adopt(decoded, result.border);
        return true;
    };
    // Two loads first: from the third on, both buffers are reused.
    if (!load() || !load()) {
        state.SkipWithError("the picture did not load");
        return;
    }
    for (auto _ : state) {
        load();
        benchmark::DoNotOptimize(frame.image().constBits());
        benchmark::ClobberMemory();
    }
}

void loadLibjpeg(benchmark::State& state, const QString& path)
{
    const QByteArray nativePath = QFile::encodeName(path);
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    if (!decodeLibjpeg(nativePath, 1, pixels, width, height)) {
        state.SkipWithError("the picture did not open");
        return;
    }
    for (auto _ : state) {
        decodeLibjpeg(nativePath, 1, pixels, width, height);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}

// Whether both decoders give the same pixels, i.e. do the same work.
bool samePixels(const QString& path)
{
    QImage decoded;
    if (!ImageLoader::decode(path, decoded).ok)
        return false;
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    if (!decodeLibjpeg(QFile::encodeName(path), 1, pixels, width, height) || decoded.size() != QSize(width, height))
        return false;
    for (int y = 0; y < height; ++y) {
        if (std::memcmp(decoded.constScanLine(y), pixels.data() + size_t(y) * size_t(width) * 4, size_t(width) * 4)
            != 0)
            return false;
    }
    return true;
}

// Prints Google Benchmark's lines and keeps each benchmark's median.
class MedianTable : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.error_occurred)
                continue;
            // In milliseconds, whatever unit the benchmark reports in.
            const double ms = run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[name] = ms;
            else if (run.run_type == Run::RT_Iteration && !medians.count(name))
                medians[name] = ms;
            if (std::find(order.begin(), order.end(), name) == order.end())
                order.push_back(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // One line per task and picture: "load 20MP JPEG: Scopique X ms, libjpeg Y ms, ratio Z".
    void print(const std::map<std::string, std::string>& notes) const
    {
        std::printf("\nMedians (ratio = Scopique / reference):\n");
        std::map<std::string, std::vector<std::string>> groups;
        std::vector<std::string> groupOrder;
        for (const std::string& name : order) {
            const std::string group = name.substr(0, name.rfind('/'));
            if (!groups.count(group))
                groupOrder.push_back(group);
            groups[group].push_back(name);
        }
        for (const std::string& group : groupOrder) {
            std::string title = group;
            for (char& c : title)
                c = (c == '/' || c == '_') ? ' ' : c;
            std::string line = title;
            const auto note = notes.find(group);
            if (note != notes.end())
                line += " (" + note->second + ")";
            line += ":";
            const std::vector<std::string>& members = groups.at(group);
            if (members.front().substr(members.front().rfind('/') + 1) != "Scopique")
                continue;
            const double own = medians.at(members.front());
            for (size_t i = 0; i < members.size(); ++i) {
                const std::string who = members[i].substr(members[i].rfind('/') + 1);
                char figure[64];
                const double ms = medians.at(members[i]);
                if (ms < 1.0)
                    std::snprintf(figure, sizeof figure, " %s %.1f us", who.c_str(), ms * 1e3);
                else
                    std::snprintf(figure, sizeof figure, " %s %.1f ms", who.c_str(), ms);
                line += (i ? "," : "") + std::string(figure);
            }
            // With several references each ratio says which one it is against.
            for (size_t i = 1; i < members.size(); ++i) {
                char ratio[96];
                const std::string who = members[i].substr(members[i].rfind('/') + 1);
                std::snprintf(ratio, sizeof ratio, ", ratio %.2f%s", own / medians.at(members[i]),
                    members.size() > 2 ? (" (" + who + ")").c_str() : "");
                line += ratio;
            }
            std::printf("%s\n", line.c_str());
        }
    }

private:
    std::map<std::string, double> medians;
    std::vector<std::string> order;
};

std::string megabytes(const QString& path)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(QFileInfo(path).size()) / 1e6);
    return text;
}

// The files named after --image (up to the next option), taken out of the
// arguments before Google Benchmark reads them.
QStringList takeImages(std::vector<char*>& args)
{
    QStringList images;
    for (size_t i = 1; i < args.size();) {
        if (std::strcmp(args[i], "--image") != 0) {
            ++i;
            continue;
        }
        args.erase(args.begin() + std::ptrdiff_t(i));
        while (i < args.size() && args[i][0] != '-') {
            images << QFile::decodeName(args[i]);
            args.erase(args.begin() + std::ptrdiff_t(i));
        }
    }
    return images;
}

// A user's picture in the rows' names: its file name and size, with the
// characters that the names and the table take apart replaced.
std::string fileLabel(const QString& path, const QSize& size)
{
    std::string name = QFileInfo(path).fileName().toStdString();
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            c = '-';
    }
    char megapixels[32];
    std::snprintf(megapixels, sizeof megapixels, "_%.0fMP", double(size.width()) * size.height() / 1e6);
    return name + megapixels;
}

// Loading, composing, filtering and saving one of the user's pictures, as
// the generated ones are timed. False when the file does not open.
bool fileBench(const QString& path, std::map<std::string, std::string>& notes)
{
    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return false;
    }
    // The picture as the program holds it: without the border it was saved with.
    PixelBuffer frame;
    frame.adopt(decoded, result.border);
    const QImage picture = frame.image();
    const std::string label = fileLabel(path, picture.size());
    const std::string group = "load/" + label;
    const bool jpeg = QImageReader(path).format() == "jpeg";
    notes[group] = megabytes(path) + (jpeg ? (samePixels(path) ? ", same pixels" : ", pixels differ") : "");
    benchmark::RegisterBenchmark((group + "/Scopique").c_str(), loadScopique, path)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    if (jpeg) {
        benchmark::RegisterBenchmark((group + "/libjpeg").c_str(), loadLibjpeg, path)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    composeBench(picture, label + "_view");
    filterBench(picture, label, notes);
    saveBench(picture, label, notes);
    return true;
}

// The default: pictures made here from a fixed seed, written to `dir`.
void generatedBench(const QString& dir, std::map<std::string, std::string>& notes)
{
    struct Size {
        const char* label;
        int w;
        int h;
    };
    captureBench();
    measurementsBench(dir, notes);
    for (const Size& size : { Size { "5MP", 2592, 1944 }, Size { "20MP", 5472, 3648 } }) {
        const QImage picture = cameraLike(size.w, size.h);
        const QString name = QString::fromLatin1(size.label);
        // Quality 90, as cameras save; PNG at Qt's default compression.
        const QString jpeg = writePicture(dir, name + QStringLiteral(".jpg"), picture, "jpeg", 90);
        const QString png = writePicture(dir, name + QStringLiteral(".png"), picture, "png", -1);
        const std::string jpegGroup = std::string("load/") + size.label + "_JPEG";
        const std::string pngGroup = std::string("load/") + size.label + "_PNG";
        notes[jpegGroup] = megabytes(jpeg) + (samePixels(jpeg) ? ", same pixels" : ", pixels differ");
        notes[pngGroup] = megabytes(png);

        benchmark::RegisterBenchmark((jpegGroup + "/Scopique").c_str(), loadScopique, jpeg)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((jpegGroup + "/libjpeg").c_str(), loadLibjpeg, jpeg)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((pngGroup + "/Scopique").c_str(), loadScopique, png)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        composeBench(picture, std::string(size.label) + "_view");
        if (size.w == 2592) {
            saveBench(picture, size.label, notes);
            // Compression depends on content: a smooth picture with fine structure beside the noisy one.
            saveBench(microscopeLike(size.w, size.h), std::string(size.label) + "_smooth", notes);
            favoritesBench(picture, dir, size.label, notes);
        }
        if (size.w == 5472) {
            toolBench(picture, size.label);
            zoomBench(picture, size.label);
            filterBench(picture, size.label, notes);
            historyBench(picture, size.label, notes);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // Medians of five runs unless the command line says otherwise (a later option wins).
    std::vector<char*> args(argv, argv + argc);
    const QStringList images = takeImages(args);
    char repetitions[] = "--benchmark_repetitions=5";
    char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    args.insert(args.begin() + 1, { repetitions, aggregatesOnly });
    args.push_back(nullptr);
    int count = int(args.size()) - 1;
    benchmark::Initialize(&count, args.data());
    // Title block text needs fonts, and the results bar widgets.
    QApplication app(count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;

    std::map<std::string, std::string> notes;
    // Kept until the benchmarks have run: the files live in it.
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    if (images.isEmpty()) {
        generatedBench(dir.path(), notes);
        displayBench(dir.path(), notes);
    }
    for (const QString& path : images) {
        if (!fileBench(path, notes))
            return 1;
    }

    MedianTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    table.print(notes);
    benchmark::Shutdown();
    return 0;
}
