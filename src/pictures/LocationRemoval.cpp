#include "pictures/LocationRemoval.h"

#include "pictures/ExifBlock.h"
#include "pictures/JpegSegments.h"

LocationRemoval::Look LocationRemoval::Inspect(const QByteArray &head, QString *why)
{
    const JpegSegments segments(head);
    const std::optional<JpegSegments::Segment> exif = segments.Exif();
    if (!exif)
        return segments.Result() == JpegSegments::Walk::CutShort ? Look::NeedsAll : Look::NoLocation;
    ExifBlock block;
    if (!block.Read(head, *exif, why)) {
        *why = tr("%1, so its location cannot be removed").arg(*why);
        return Look::Unreadable;
    }
    return block.HasLocation() ? Look::HasLocation : Look::NoLocation;
}

LocationRemoval::Result LocationRemoval::Remove(const QByteArray &picture, QByteArray *out, QString *why)
{
    const std::optional<JpegSegments::Segment> exif = JpegSegments(picture).Exif();
    if (!exif)
        return Result::NoLocation;
    ExifBlock block;
    if (!block.Read(picture, *exif, why)) {
        *why = tr("%1, so its location cannot be removed").arg(*why);
        return Result::Failed;
    }
    if (!block.RemoveLocation())
        return Result::NoLocation;
    // A block that held the location alone goes as a whole.
    const QByteArray segment = block.IsEmpty() ? QByteArray() : block.Segment(why);
    if (segment.isEmpty() && !block.IsEmpty())
        return Result::Failed;
    *out = picture.left(exif->start) + segment + picture.mid(exif->start + exif->size);
    return Result::Removed;
}
