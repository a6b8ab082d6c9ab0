#include "pictures/LocationRemoval.h"

#include "pictures/JpegSegments.h"

#include <exiv2/exiv2.hpp>

namespace {

// A segment's length counts itself and what follows, in two bytes.
constexpr qsizetype LongestSegment = 65535;

bool IsLocation(const Exiv2::Exifdatum &datum)
{
    return datum.groupName() == "GPSInfo" || datum.key() == "Exif.Image.GPSTag";
}

// The library's own words go to the member, not to standard error.
void Quiet()
{
    static const bool muted = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return true;
    }();
    (void)muted;
}

const Exiv2::byte *TiffBlock(const QByteArray &bytes, const JpegSegments::Segment &exif)
{
    return reinterpret_cast<const Exiv2::byte *>(bytes.constData() + exif.start + JpegSegments::ExifHeader);
}

uint32_t TiffSize(const JpegSegments::Segment &exif) { return uint32_t(exif.size - JpegSegments::ExifHeader); }

}

LocationRemoval::Look LocationRemoval::Inspect(const QByteArray &head, QString *why)
{
    Quiet();
    const JpegSegments segments(head);
    const std::optional<JpegSegments::Segment> exif = segments.Exif();
    if (!exif)
        return segments.Result() == JpegSegments::Walk::CutShort ? Look::NeedsAll : Look::NoLocation;
    try {
        Exiv2::ExifData data;
        Exiv2::ExifParser::decode(data, TiffBlock(head, *exif), TiffSize(*exif));
        for (const Exiv2::Exifdatum &datum : data) {
            if (IsLocation(datum))
                return Look::HasLocation;
        }
        return Look::NoLocation;
    } catch (const std::exception &error) {
        *why = tr("its EXIF block cannot be read (%1), so its location cannot be removed")
                   .arg(QString::fromLocal8Bit(error.what()));
        return Look::Unreadable;
    }
}

LocationRemoval::Result LocationRemoval::Remove(const QByteArray &picture, QByteArray *out, QString *why)
{
    Quiet();
    const JpegSegments segments(picture);
    const std::optional<JpegSegments::Segment> exif = segments.Exif();
    if (!exif)
        return Result::NoLocation;
    Exiv2::Blob tiff;
    try {
        Exiv2::ExifData data;
        const Exiv2::ByteOrder order = Exiv2::ExifParser::decode(data, TiffBlock(picture, *exif), TiffSize(*exif));
        bool found = false;
        for (auto datum = data.begin(); datum != data.end();) {
            if (IsLocation(*datum)) {
                datum = data.erase(datum);
                found = true;
            } else {
                ++datum;
            }
        }
        if (!found)
            return Result::NoLocation;
        Exiv2::ExifParser::encode(tiff, TiffBlock(picture, *exif), TiffSize(*exif), order, data);
    } catch (const std::exception &error) {
        *why = tr("its EXIF block cannot be read (%1), so its location cannot be removed")
                   .arg(QString::fromLocal8Bit(error.what()));
        return Result::Failed;
    }
    const qsizetype payload = 2 + 6 + qsizetype(tiff.size());
    if (tiff.empty() || payload > LongestSegment) {
        *why = tr("its EXIF block cannot be written again without its location");
        return Result::Failed;
    }
    QByteArray segment;
    segment.reserve(2 + payload);
    segment.append(char(0xFF)).append(char(0xE1));
    segment.append(char(payload >> 8)).append(char(payload & 0xFF));
    segment.append("Exif\0\0", 6);
    segment.append(reinterpret_cast<const char *>(tiff.data()), qsizetype(tiff.size()));
    *out = picture.left(exif->start) + segment + picture.mid(exif->start + exif->size);
    return Result::Removed;
}
