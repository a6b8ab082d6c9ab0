#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The segments that come before a JPEG's picture data, found by walking
// their markers and lengths: no more of the file is understood than that,
// and the picture data itself is never looked at.
class JpegSegments
{
public:
    struct Segment
    {
        int marker = 0;
        // The whole segment, its marker included, within the bytes walked.
        qsizetype start = 0;
        qsizetype size = 0;
    };
    enum class Walk {
        // The start of the picture data was reached.
        Complete,
        // The bytes end before it: a head of the file was given.
        CutShort,
        // Not a JPEG, or a segment that makes no sense.
        Broken,
    };

    explicit JpegSegments(const QByteArray &bytes);

    Walk Result() const { return m_result; }
    const QList<Segment> &Segments() const { return m_segments; }
    // The first APP1 segment that carries EXIF ("Exif\0\0" and a TIFF block).
    std::optional<Segment> Exif() const;
    // Where the EXIF segment's TIFF block starts, within it.
    static constexpr qsizetype ExifHeader = 4 + 6;

private:
    const QByteArray m_bytes;
    QList<Segment> m_segments;
    Walk m_result = Walk::Broken;
};
