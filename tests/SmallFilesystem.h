#pragma once

#include <QString>
#include <QTemporaryDir>

// A real file system of a few kilobytes, to run out of space for real: a
// tmpfs mounted on a temporary folder, unmounted again on destruction.
// Mounting needs root (or the capability); IsMounted() says whether it
// worked, and Why() what stood in the way.
class SmallFilesystem
{
public:
    explicit SmallFilesystem(qint64 bytes);
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem &) = delete;
    SmallFilesystem &operator=(const SmallFilesystem &) = delete;

    bool IsMounted() const { return m_mounted; }
    QString Why() const { return m_why; }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
