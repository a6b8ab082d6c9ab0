#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Takes where a photo was taken out of it before it is published: every
// GPS tag and the pointer to them go from its EXIF block, and nothing else
// of the picture changes (every other segment, the picture data included,
// stays byte for byte).
class LocationRemoval
{
    Q_DECLARE_TR_FUNCTIONS(LocationRemoval)

public:
    enum class Result {
        // Nothing to remove: a picture without EXIF or without a location,
        // and bytes that are no JPEG, are sent as they are.
        NoLocation,
        Removed,
        // The EXIF block cannot be read or written again: the picture must
        // not go with its location, *why says so.
        Failed,
    };

    // head: the file's first bytes, whole or not. NeedsAll when the EXIF
    // block lies beyond them.
    enum class Look { NoLocation, HasLocation, NeedsAll, Unreadable };
    static Look Inspect(const QByteArray &head, QString *why);
    // The whole picture, without its location in *out.
    static Result Remove(const QByteArray &picture, QByteArray *out, QString *why);
};
