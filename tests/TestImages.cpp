// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "TestImages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

QImage TestImages::pattern(int w, int h, quint32 seed)
{
    // An odd multiplier permutes the 24-bit values, so neighbouring pixels differ in every channel.
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, 0xff000000u | (((quint32(y * w + x) + seed * 0x9E3779B9u) * 0x2545F491u) & 0xffffffu));
    return image;
}

QByteArray TestImages::encode(const QImage& image, const char* format, const ImageTags& tags)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    const bool tagged = tags.software || tags.make || tags.description;
    if (!buffer.open(QIODevice::WriteOnly) || !QImageWriter(&buffer, format).write(image)
        || (tagged && !tags.writeBytes(bytes)))
        return QByteArray();
    return bytes;
}

QString TestImages::write(
    const QString& dir, const QString& fileName, const QImage& image, const char* format, const ImageTags& tags)
{
    const QByteArray bytes = encode(image, format ? format : qPrintable(QFileInfo(fileName).suffix().toLower()), tags);
    return bytes.isEmpty() ? QString() : writeBytes(dir, fileName, bytes);
}

QString TestImages::writeBytes(const QString& dir, const QString& fileName, const QByteArray& bytes)
{
    QFile file(QDir(dir).filePath(fileName));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? file.fileName() : QString();
}

QByteArray TestImages::readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList TestImages::entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
