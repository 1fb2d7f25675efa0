// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "TestImages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

namespace TestImages {

QRgb patternPixel(int x, int y, int w, quint32 seed)
{
    // An odd multiplier permutes the 24-bit values, so neighbouring pixels
    // differ in every channel and no two pixels of a picture are alike.
    const quint32 index = quint32(y) * quint32(w) + quint32(x) + seed * 0x9E3779B9u;
    return 0xff000000u | ((index * 0x2545F491u) & 0x00ffffffu);
}

QImage pattern(int w, int h, quint32 seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = patternPixel(x, y, w, seed);
    }
    return image;
}

QString writeBytes(const QString& dir, const QString& fileName, const QByteArray& bytes)
{
    const QString path = QDir(dir).filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QString write(
    const QString& dir, const QString& fileName, const QImage& image, const char* format, const ImageTags& tags)
{
    const QByteArray kind = format ? QByteArray(format) : QFileInfo(fileName).suffix().toLower().toLatin1();
    QByteArray bytes;
    if (kind == "gif") {
        bytes = gif({ image });
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, kind);
        if (!writer.write(image))
            return QString();
    }
    const bool tagged = tags.software || tags.make || tags.description;
    if (tagged && !tags.writeBytes(bytes))
        return QString();
    return writeBytes(dir, fileName, bytes);
}

QByteArray gif(const QList<QImage>& frames, int transparentIndex)
{
    QByteArray out;
    if (frames.isEmpty())
        return out;
    const QImage first = frames.first().format() == QImage::Format_Indexed8
        ? frames.first()
        : frames.first().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    const QList<QRgb> colours = first.colorTable();
    const int w = first.width();
    const int h = first.height();
    const auto put16 = [&out](int v) {
        out.append(char(v & 0xff));
        out.append(char((v >> 8) & 0xff));
    };

    out.append("GIF89a");
    put16(w);
    put16(h);
    out.append(char(0xF7)); // a global table of 256 colours
    out.append('\0');
    out.append('\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours.at(i) : 0;
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }

    for (int f = 0; f < frames.size(); ++f) {
        const QImage indexed
            = f == 0 ? first : frames.at(f).convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither);
        out.append("\x21\xF9\x04", 3);
        out.append(char(transparentIndex >= 0 ? 0x01 : 0x00));
        put16(10);
        out.append(char(qMax(transparentIndex, 0)));
        out.append('\0');
        out.append(char(0x2C));
        put16(0);
        put16(0);
        put16(w);
        put16(h);
        out.append('\0');

        // LZW with literal codes only: a clear code every 128 pixels keeps
        // the code size at 9 bits, so no dictionary is needed.
        out.append(char(8));
        QByteArray data;
        quint32 bits = 0;
        int bitCount = 0;
        const auto code = [&](int c) {
            bits |= quint32(c) << bitCount;
            bitCount += 9;
            while (bitCount >= 8) {
                data.append(char(bits & 0xff));
                bits >>= 8;
                bitCount -= 8;
            }
        };
        int sinceClear = 128;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (sinceClear == 128) {
                    code(256);
                    sinceClear = 0;
                }
                code(indexed.constScanLine(y)[x]);
                ++sinceClear;
            }
        }
        code(257);
        if (bitCount > 0)
            data.append(char(bits & 0xff));
        for (qsizetype i = 0; i < data.size(); i += 255) {
            const qsizetype n = qMin<qsizetype>(255, data.size() - i);
            out.append(char(n));
            out.append(data.mid(i, n));
        }
        out.append('\0');
    }
    out.append(char(0x3B));
    return out;
}

} // namespace TestImages
