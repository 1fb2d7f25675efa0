// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/output/ImageEncoder.h"

#include <QBuffer>
#include <QImageWriter>

#include <gif_lib.h>

#include "core/output/PngEncoder.h"

namespace {

// GIF stores sizes in 16 bits.
constexpr int maxGifSide = 65535;

QString outOfMemory()
{
    return QStringLiteral("there is not enough memory for the picture.");
}

// ---- GIF: giflib after Qt's reduction to 256 colours.

int appendToBuffer(GifFileType* gif, const GifByteType* bytes, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

QString gifError(int code)
{
    const char* text = GifErrorString(code);
    return QStringLiteral("the GIF encoder failed (%1).").arg(text ? QString::fromLatin1(text) : QString::number(code));
}

bool encodeGif(const QImage& picture, QByteArray& encoded, QString& error)
{
    if (picture.width() > maxGifSide || picture.height() > maxGifSide) {
        error = QStringLiteral("a GIF picture can be at most %1 pixels wide and high.").arg(maxGifSide);
        return false;
    }
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
    if (indexed.isNull()) {
        error = outOfMemory();
        return false;
    }
    // The colour table's size must be a power of two, at least 2.
    const QList<QRgb> colours = indexed.colorTable();
    int bits = 1;
    while ((1 << bits) < colours.size())
        ++bits;
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (map == nullptr) {
        error = outOfMemory();
        return false;
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const QRgb colour = i < colours.size() ? colours[i] : 0;
        map->Colors[i]
            = GifColorType { GifByteType(qRed(colour)), GifByteType(qGreen(colour)), GifByteType(qBlue(colour)) };
    }

    QByteArray bytes;
    int code = E_GIF_SUCCEEDED;
    GifFileType* gif = EGifOpen(&bytes, appendToBuffer, &code);
    if (gif == nullptr) {
        GifFreeMapObject(map);
        error = gifError(code);
        return false;
    }
    bool ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK
        && EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < indexed.height(); ++y)
        ok = EGifPutLine(gif, const_cast<GifPixelType*>(indexed.constScanLine(y)), indexed.width()) == GIF_OK;
    const int failure = gif->Error;
    // Closing writes the trailer and frees the file, also after a failure.
    ok = EGifCloseFile(gif, &code) == GIF_OK && ok;
    GifFreeMapObject(map);
    if (!ok) {
        error = gifError(failure != 0 ? failure : code);
        return false;
    }
    encoded = bytes;
    return true;
}

} // namespace

QByteArray ImageEncoder::FindEncoderClsid(const QString& path)
{
    const QString tail = path.right(4).toLower();
    if (tail == QLatin1String(".jpg") || tail == QLatin1String("jpeg"))
        return QByteArrayLiteral("jpeg");
    if (tail == QLatin1String(".png"))
        return QByteArrayLiteral("png");
    if (tail == QLatin1String(".gif"))
        return QByteArrayLiteral("gif");
    if (tail == QLatin1String("tiff") || tail == QLatin1String(".tif"))
        return QByteArrayLiteral("tiff");
    return QByteArrayLiteral("bmp");
}

bool ImageEncoder::encode(const QImage& picture, const QByteArray& format, QByteArray& encoded, QString& error)
{
    if (picture.isNull()) {
        error = QStringLiteral("there is no picture to save.");
        return false;
    }
    if (picture.format() != QImage::Format_RGB32) {
        QImage converted = picture.convertToFormat(QImage::Format_RGB32);
        if (converted.isNull()) {
            error = outOfMemory();
            return false;
        }
        return encode(converted, format, encoded, error);
    }
    if (format == "gif")
        return encodeGif(picture, encoded, error);
    if (format == "png")
        return PngEncoder::encode(picture, encoded, error);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // Qt's writers store Format_RGB32 as 24-bit colour without alpha.
    if (!writer.write(picture) || bytes.isEmpty()) {
        error = QStringLiteral("the %1 encoder failed (%2).")
                    .arg(QString::fromLatin1(format.toUpper()), writer.errorString());
        return false;
    }
    encoded = bytes;
    return true;
}
