#pragma once

#include "pictures/JpegSegments.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <exiv2/exif.hpp>

// A JPEG's EXIF segment as the EXIF library reads it, so that tags can be
// changed and the segment written again; the TIFF inside is the library's
// business alone.
class ExifBlock
{
    Q_DECLARE_TR_FUNCTIONS(ExifBlock)

public:
    // False, with *why, when the library refuses the block.
    bool Read(const QByteArray &jpeg, const JpegSegments::Segment &segment, QString *why);
    bool HasLocation() const;
    // True when there was any to remove.
    bool RemoveLocation();
    // 1 to 8 as the tag says how the picture is shown; 1 without one.
    int Orientation() const;
    // After a picture is turned and resized: shown as stored, at its new size.
    void SetShownUpright(int width, int height);
    // Nothing left to write: the segment is better left out.
    bool IsEmpty() const { return m_tags.empty(); }
    // The whole APP1 segment, marker included; empty, with *why, when the
    // tags cannot be written in one segment.
    QByteArray Segment(QString *why) const;

private:
    QByteArray m_tiff;
    Exiv2::ExifData m_tags;
    Exiv2::ByteOrder m_order = Exiv2::invalidByteOrder;
};
