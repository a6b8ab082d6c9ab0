#include "pictures/JpegSegments.h"

namespace {

constexpr int StartOfScan = 0xDA;
constexpr int App1 = 0xE1;

bool StandsAlone(int marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}

JpegSegments::JpegSegments(const QByteArray &bytes)
    : m_bytes(bytes)
{
    const auto byte = [&bytes](qsizetype at) { return int(uchar(bytes.at(at))); };
    if (bytes.size() < 2 || byte(0) != 0xFF || byte(1) != 0xD8)
        return;
    qsizetype at = 2;
    for (;;) {
        if (at + 2 > bytes.size()) {
            m_result = Walk::CutShort;
            return;
        }
        if (byte(at) != 0xFF)
            return;
        const int marker = byte(at + 1);
        // Fill bytes before a marker.
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == StartOfScan) {
            m_result = Walk::Complete;
            return;
        }
        if (StandsAlone(marker)) {
            at += 2;
            continue;
        }
        if (at + 4 > bytes.size()) {
            m_result = Walk::CutShort;
            return;
        }
        const qsizetype length = (byte(at + 2) << 8) | byte(at + 3);
        if (length < 2)
            return;
        if (at + 2 + length > bytes.size()) {
            m_result = Walk::CutShort;
            return;
        }
        m_segments.append({marker, at, 2 + length});
        at += 2 + length;
    }
}

std::optional<JpegSegments::Segment> JpegSegments::Exif() const
{
    static const QByteArray Signature("Exif\0\0", 6);
    for (const Segment &segment : m_segments) {
        if (segment.marker == App1 && segment.size > ExifHeader
            && m_bytes.mid(segment.start + 4, Signature.size()) == Signature)
            return segment;
    }
    return std::nullopt;
}
