#pragma once

#include "folder/PlainFile.h"

#include <QString>

// One run at a time on a home folder: an upload or an import holds this
// lock for its length, so no picture is sent twice and no copy is cut into.
// It is an advisory lock on a file beside the image folder, never inside
// it, and the file names who holds it, so that the one turned away can say
// so. Taking it never waits; the system drops it with the process, however
// that ends.
class FolderLock
{
public:
    enum class Holder { Window, Upload, Import };
    enum class Result { Taken, Busy, Failed };

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // Busy: *error names the run that holds it. Taken: the leftovers of an
    // interrupted copy into the image folder are gone as well.
    Result Take(const QString &home, Holder holder, QString *error);
    bool IsHeld() const { return m_file.IsOpen(); }
    void Release();

    static QString PathIn(const QString &home);

private:
    static QString HolderText(const QByteArray &recorded);

    PlainFile m_file;
};
