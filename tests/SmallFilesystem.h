#pragma once

#include <QString>
#include <QTemporaryDir>

// A real file system small enough to fill up: a 64 KB tmpfs mounted on a
// temporary folder for the object's life. Mounting needs root.
class SmallFilesystem
{
public:
    SmallFilesystem() = default;
    ~SmallFilesystem();
    SmallFilesystem(const SmallFilesystem &) = delete;
    SmallFilesystem &operator=(const SmallFilesystem &) = delete;

    // False with *why when it could not be mounted.
    bool Mount(QString *why);
    QString Path() const { return m_folder.path(); }
    QString FilePath(const QString &name) const { return m_folder.filePath(name); }
    // Takes every free block with a file of its own. Files already there
    // can still grow within their last block, and no further.
    bool Fill();
    // Mounts it again read-only: every write is refused from then on.
    bool MakeReadOnly(QString *why);

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
};
