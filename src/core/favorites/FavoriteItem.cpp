// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/favorites/FavoriteItem.h"

#include <cstring>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "core/base/TimeFormat.h"
#include "core/video/ImageLoader.h"
#include "core/video/ImageTags.h"

namespace {

// The thumbnail, decoded straight at its size: the JPEG reader then works on
// a reduced scale (down to 1/8) instead of decoding every pixel.
QImage thumbnailOf(const QString& path)
{
    const QSize size(FavoriteItem::ThumbnailWidth, FavoriteItem::ThumbnailHeight);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || ImageLoader::isShortBmp(file))
        return QImage();
    QImageReader reader(&file);
    // As the loader judges it: by content, one of its formats, within its
    // pixel cap (a 60000 x 60000 header would otherwise be decoded at 1/8).
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (!ImageLoader::isPictureFormat(format) || !reader.size().isValid()
        || qint64(reader.size().width()) * reader.size().height() > ImageLoader::MaxPixels)
        return QImage();
    reader.setScaledSize(size);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return QImage();
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    return image;
}

qint64 creationTime(const QFileInfo& info)
{
    // The birth time is what the user knows as the date the favourite was
    // added; file systems that do not record it give the last modification,
    // which for a favourite written once is the same moment.
    QDateTime when = info.birthTime();
    if (!when.isValid())
        when = info.lastModified();
    return when.isValid() ? when.toSecsSinceEpoch() : 0;
}

} // namespace

std::optional<FavoriteItem> FavoriteItem::load(const QString& path)
{
    // Reading a pipe would hold a loading thread for ever.
    if (!ImageLoader::specialFileProblem(path).isEmpty())
        return std::nullopt;
    FavoriteItem item;
    item.path = path;
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    item.name = dot < 0 ? fileName : fileName.left(dot);
    item.created = info.exists() ? creationTime(info) : 0;
    item.dateText = formatDate(item.created);
    item.description = ImageTags::readFile(path).description.value_or(QString());
    item.thumbnail = thumbnailOf(path);
    return item;
}

QString FavoriteItem::formatDate(qint64 created)
{
    // Month and day without leading zeros and a locale-free AM/PM: strftime
    // has no portable flag for the first, and "%p" follows the locale.
    const QString digits = FormatLocalTime(created, "%m %d %Y %I:%M:%S %H");
    if (digits.size() != 22)
        return QString();
    const int month = digits.left(2).toInt();
    const int day = digits.mid(3, 2).toInt();
    const int hour24 = digits.right(2).toInt();
    return QStringLiteral("%1/%2/%3 %4")
        .arg(month)
        .arg(day)
        .arg(digits.mid(6, 13))
        .arg(hour24 < 12 ? QLatin1String("AM") : QLatin1String("PM"));
}

namespace {

// Byte order of the UTF-8 texts, so that "B" goes before "a".
int compareBytes(const QString& a, const QString& b)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    const int order = std::memcmp(x.constData(), y.constData(), size_t(qMin(x.size(), y.size())));
    if (order != 0)
        return order < 0 ? -1 : 1;
    return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

} // namespace

int FavoriteItem::compare(const FavoriteItem& a, const FavoriteItem& b, int sortField, int sortDirection)
{
    const FavoriteItem& first = sortDirection == Descending ? b : a;
    const FavoriteItem& second = sortDirection == Descending ? a : b;
    switch (sortField) {
    case ByName:
        return compareBytes(first.name, second.name);
    case ByDate:
        return first.created == second.created ? 0 : (first.created < second.created ? -1 : 1);
    case ByDescription:
        return compareBytes(first.description, second.description);
    default:
        return 0;
    }
}
