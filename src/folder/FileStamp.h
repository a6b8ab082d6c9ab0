#pragma once

#include <QtGlobal>

#include <optional>

class QFile;
class QString;

// What tells one state of a file from another: which file a name leads to,
// its size and the times of its last change, to the nanosecond where the
// system keeps them. Equal stamps mean the same bytes as far as the file
// system can tell.
struct FileStamp
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0;
    qint64 changed = 0;

    // Nothing where the system cannot tell, so that callers never take
    // two unknown states for the same one.
    static std::optional<FileStamp> OfOpen(const QFile &file);
    static std::optional<FileStamp> OfPath(const QString &path);

    // The same file with the same bytes as far as a rename cannot tell:
    // a rename changes only the change time.
    bool SameFileAs(const FileStamp &other) const
    {
        return device == other.device && inode == other.inode && size == other.size && modified == other.modified;
    }

    friend bool operator==(const FileStamp &a, const FileStamp &b)
    {
        return a.device == b.device && a.inode == b.inode && a.size == b.size
            && a.modified == b.modified && a.changed == b.changed;
    }
};
