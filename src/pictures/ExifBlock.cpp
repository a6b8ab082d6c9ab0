#include "pictures/ExifBlock.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>

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

const Exiv2::byte *Bytes(const QByteArray &bytes) { return reinterpret_cast<const Exiv2::byte *>(bytes.constData()); }

}

bool ExifBlock::Read(const QByteArray &jpeg, const JpegSegments::Segment &segment, QString *why)
{
    Quiet();
    m_tiff = jpeg.mid(segment.start + JpegSegments::ExifHeader, segment.size - JpegSegments::ExifHeader);
    try {
        m_order = Exiv2::ExifParser::decode(m_tags, Bytes(m_tiff), uint32_t(m_tiff.size()));
        return true;
    } catch (const std::exception &error) {
        *why = tr("its EXIF block cannot be read (%1)").arg(QString::fromLocal8Bit(error.what()));
        return false;
    }
}

bool ExifBlock::HasLocation() const { return std::any_of(m_tags.begin(), m_tags.end(), IsLocation); }

bool ExifBlock::RemoveLocation()
{
    bool found = false;
    for (auto datum = m_tags.begin(); datum != m_tags.end();) {
        if (IsLocation(*datum)) {
            datum = m_tags.erase(datum);
            found = true;
        } else {
            ++datum;
        }
    }
    return found;
}

int ExifBlock::Orientation() const
{
    const auto tag = m_tags.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
    if (tag == m_tags.end() || tag->count() == 0)
        return 1;
    const long value = tag->toLong();
    return value >= 1 && value <= 8 ? int(value) : 1;
}

void ExifBlock::SetShownUpright(int width, int height)
{
    if (m_tags.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != m_tags.end())
        m_tags["Exif.Image.Orientation"] = uint16_t(1);
    for (const char *key : {"Exif.Photo.PixelXDimension", "Exif.Image.ImageWidth"}) {
        if (m_tags.findKey(Exiv2::ExifKey(key)) != m_tags.end())
            m_tags[key] = uint32_t(width);
    }
    for (const char *key : {"Exif.Photo.PixelYDimension", "Exif.Image.ImageLength"}) {
        if (m_tags.findKey(Exiv2::ExifKey(key)) != m_tags.end())
            m_tags[key] = uint32_t(height);
    }
}

QByteArray ExifBlock::Segment(QString *why) const
{
    // The library may write the new values into the block it is given
    // instead of a new one: it gets a copy of its own.
    QByteArray inPlace(m_tiff.constData(), m_tiff.size());
    Exiv2::Blob tiff;
    try {
        const Exiv2::WriteMethod method = Exiv2::ExifParser::encode(
            tiff, reinterpret_cast<Exiv2::byte *>(inPlace.data()), uint32_t(inPlace.size()), m_order, m_tags);
        if (method == Exiv2::wmNonIntrusive)
            tiff.assign(inPlace.cbegin(), inPlace.cend());
    } catch (const std::exception &error) {
        *why = tr("its EXIF block cannot be written again (%1)").arg(QString::fromLocal8Bit(error.what()));
        return QByteArray();
    }
    const qsizetype length = 2 + 6 + qsizetype(tiff.size());
    if (tiff.empty() || length > LongestSegment) {
        *why = tr("its EXIF block cannot be written again in one segment");
        return QByteArray();
    }
    QByteArray segment;
    segment.reserve(2 + length);
    segment.append(char(0xFF)).append(char(0xE1));
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    segment.append("Exif\0\0", 6);
    segment.append(reinterpret_cast<const char *>(tiff.data()), qsizetype(tiff.size()));
    return segment;
}
