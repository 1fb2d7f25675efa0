// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ImageTags.h"

#include <cstring>
#include <exception>
#include <string>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <exiv2/exiv2.hpp>

namespace {

const char* const SoftwareKey = "Exif.Image.Software";
const char* const MakeKey = "Exif.Image.Make";
const char* const DescriptionKey = "Exif.Image.ImageDescription";

// Above this the tags are not read: the tag library copies and walks the
// whole file, and a picture the loader takes is far smaller.
constexpr qint64 maxTaggedBytes = 512LL << 20;

void discardLog(int, const char*) { }

// The tag library reports every odd file on stderr; for the program an
// unreadable tag is simply absent.
void muteTagLibrary()
{
    static const bool muted = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::LogMsg::setHandler(discardLog);
        return true;
    }();
    Q_UNUSED(muted);
}

std::optional<QString> asciiTag(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end() || it->typeId() != Exiv2::asciiString)
        return std::nullopt;
    const std::string text = it->toString();
    // The text ends at its first NUL, as a C string does.
    const std::string::size_type end = text.find('\0');
    const int length = int(end == std::string::npos ? text.size() : end);
    return QString::fromUtf8(text.data(), length);
}

void setAsciiTag(Exiv2::ExifData& exif, const char* key, const std::optional<QString>& text)
{
    if (!text)
        return;
    const Exiv2::ExifKey exifKey(key);
    // Drop every earlier copy, whatever its type, so that the ASCII value is the one read back.
    for (auto it = exif.findKey(exifKey); it != exif.end(); it = exif.findKey(exifKey))
        exif.erase(it);
    // read() stores the text with its terminating NUL, as TIFF readers
    // expect; the library's text constructor leaves the NUL out.
    Exiv2::AsciiValue value;
    value.read(text->toUtf8().toStdString());
    exif.add(exifKey, &value);
}

ImageTags readTags(Exiv2::Image::AutoPtr image)
{
    ImageTags tags;
    if (image.get() == nullptr)
        return tags;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    tags.software = asciiTag(exif, SoftwareKey);
    tags.make = asciiTag(exif, MakeKey);
    tags.description = asciiTag(exif, DescriptionKey);
    return tags;
}

} // namespace

ImageTags ImageTags::readFile(const QString& path)
{
#ifdef Q_OS_WIN
    // The tag library takes narrow (code page) paths there; reading the bytes keeps every name working.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return readBytes(file.readAll());
#else
    muteTagLibrary();
    if (QFileInfo(path).size() > maxTaggedBytes)
        return {};
    try {
        // A plain file reader: the factory's own opener would treat names such
        // as "-" or "http://…" as standard input or a download.
        Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(QFile::encodeName(path).toStdString()));
        return readTags(Exiv2::ImageFactory::open(io));
    } catch (const Exiv2::AnyError&) {
    } catch (const std::exception&) {
    }
    return {};
#endif
}

ImageTags ImageTags::readBytes(const QByteArray& encoded)
{
    muteTagLibrary();
    if (encoded.isEmpty() || encoded.size() > maxTaggedBytes)
        return {};
    try {
        return readTags(
            Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(encoded.constData()), long(encoded.size())));
    } catch (const Exiv2::AnyError&) {
    } catch (const std::exception&) {
    }
    return {};
}

namespace {

bool writeWhole(const ImageTags& tags, QByteArray& encoded)
{
    muteTagLibrary();
    if (encoded.isEmpty() || encoded.size() > maxTaggedBytes)
        return false;
    try {
        // The library works on its own copy in memory; `encoded` changes only once all went well.
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(encoded.constData()), long(encoded.size()));
        if (image.get() == nullptr || !image->supportsMetadata(Exiv2::mdExif))
            return false;
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        setAsciiTag(exif, SoftwareKey, tags.software);
        setAsciiTag(exif, MakeKey, tags.make);
        setAsciiTag(exif, DescriptionKey, tags.description);
        image->writeMetadata();

        Exiv2::BasicIo& io = image->io();
        if (io.open() != 0)
            return false;
        Exiv2::IoCloser closer(io);
        const long size = io.size();
        if (size <= 0)
            return false;
        QByteArray tagged(qsizetype(size), Qt::Uninitialized);
        if (io.read(reinterpret_cast<Exiv2::byte*>(tagged.data()), size) != size)
            return false;
        // The library has written tags it cannot read back before (a text
        // cut at a NUL aside): only what reads back as written counts.
        const ImageTags back = ImageTags::readBytes(tagged);
        const auto same = [](const std::optional<QString>& written, const std::optional<QString>& read) {
            return !written || (read && *read == written->left(written->indexOf(QChar(0))));
        };
        if (!same(tags.software, back.software) || !same(tags.make, back.make)
            || !same(tags.description, back.description))
            return false;
        encoded = tagged;
        return true;
    } catch (const Exiv2::AnyError&) {
    } catch (const std::exception&) {
    }
    return false;
}

const char pngSignature[] = "\x89PNG\r\n\x1A\n";
// The closing chunk of every PNG file: no data, then the CRC of "IEND".
const QByteArray pngEnd("\0\0\0\0IEND\xAE\x42\x60\x82", 12);

// Where the pixel data of a PNG file begins when nothing but IDAT chunks and
// the closing IEND follow it; else -1.
qsizetype pngPixelData(const QByteArray& bytes)
{
    if (!bytes.startsWith(pngSignature) || !bytes.endsWith(pngEnd))
        return -1;
    qsizetype pixels = -1;
    for (qsizetype at = 8; at + 12 <= bytes.size();) {
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length > quint32(bytes.size() - at - 12))
            return -1;
        const char* type = bytes.constData() + at + 4;
        const qsizetype next = at + 12 + qsizetype(length);
        if (std::memcmp(type, "IEND", 4) == 0)
            return next == bytes.size() ? pixels : -1;
        if (std::memcmp(type, "IDAT", 4) == 0) {
            if (pixels < 0)
                pixels = at;
        } else if (pixels >= 0) {
            return -1;
        }
        at = next;
    }
    return -1;
}

} // namespace

bool ImageTags::writeBytes(QByteArray& encoded) const
{
    // The tag library copies the whole file twice and reads it back once; a
    // PNG's tags go after its header, so the header alone, closed with an
    // IEND, is enough for it, and the pixel data joins the tagged header
    // unread.
    const qsizetype pixels = pngPixelData(encoded);
    if (pixels <= 0)
        return writeWhole(*this, encoded);
    QByteArray head = encoded.left(pixels) + pngEnd;
    if (!writeWhole(*this, head) || !head.endsWith(pngEnd))
        return false;
    head.chop(pngEnd.size());
    // In place: within the room an encoder left, the pixel data only moves.
    const qsizetype oldSize = encoded.size(), grow = head.size() - pixels;
    if (grow > 0)
        encoded.resize(oldSize + grow);
    std::memmove(encoded.data() + head.size(), encoded.constData() + pixels, size_t(oldSize - pixels));
    std::memcpy(encoded.data(), head.constData(), size_t(head.size()));
    if (grow < 0)
        encoded.resize(oldSize + grow);
    return true;
}
