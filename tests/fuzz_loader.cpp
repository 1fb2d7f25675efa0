// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
// libFuzzer target: arbitrary bytes through the picture loader (as a file,
// the way File > Open reads it, 16-bit samples shown through Auto as the
// document shows them) and the tag reader (from memory).
#include <cstddef>
#include <cstdint>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include "core/video/ImageLoader.h"
#include "core/video/ImageTags.h"
#include "core/video/SampleMapper.h"

// Small enough that a decoded picture stays well inside the fuzzer's memory limit.
static constexpr qint64 fuzzPixels = 4'000'000;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Image format plugins (TIFF) are found through the application.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const QString path
        = QDir::temp().filePath(QStringLiteral("scopique-fuzz-%1.img").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return 0;
    file.close();
    QImage decoded;
    const LoadResult result = ImageLoader::decode(path, decoded, fuzzPixels);
    if (result.ok && (decoded.isNull() || decoded.format() != QImage::Format_RGB32))
        __builtin_trap();
    QImage samples;
    const LoadResult kept = ImageLoader::decodeSamples(path, samples, fuzzPixels);
    if (kept.ok != result.ok || (kept.samples && !SampleMapper::holdsSamples(samples)))
        __builtin_trap();
    QImage shown;
    if (kept.samples)
        SampleMapper::map(samples, SampleMapper::autoRange(SampleMapper::histogram(samples)), shown);
    if (kept.samples && (shown.size() != samples.size() || shown.format() != QImage::Format_RGB32))
        __builtin_trap();
    ImageTags::readBytes(bytes);
    return 0;
}
