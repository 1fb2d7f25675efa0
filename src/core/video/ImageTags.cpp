// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Tallmere
#include "core/video/ImageTags.h"

#include <exception>
#include <string>

#include <QFile>
#include <QFileInfo>

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

bool ImageTags::writeBytes(QByteArray& encoded) const
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
        setAsciiTag(exif, SoftwareKey, software);
        setAsciiTag(exif, MakeKey, make);
        setAsciiTag(exif, DescriptionKey, description);
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
        const ImageTags back = readBytes(tagged);
        const auto same = [](const std::optional<QString>& written, const std::optional<QString>& read) {
            return !written || (read && *read == written->left(written->indexOf(QChar(0))));
        };
        if (!same(software, back.software) || !same(make, back.make) || !same(description, back.description))
            return false;
        encoded = tagged;
        return true;
    } catch (const Exiv2::AnyError&) {
    } catch (const std::exception&) {
    }
    return false;
}
