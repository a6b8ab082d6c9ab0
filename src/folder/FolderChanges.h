#pragma once

#include <QList>
#include <QString>

// A synchronous journal of the names added to and removed from one folder.
// The kernel queues a change before the call that made it returns, so
// draining the journal gives an up-to-date view at the cost of the changes
// alone, not of the folder's size. Where the platform keeps no journal,
// Watch() fails and the caller reads the whole folder instead.
class FolderChanges
{
public:
    struct Change
    {
        bool added;
        QString name;
    };

    FolderChanges() = default;
    FolderChanges(const FolderChanges &) = delete;
    FolderChanges &operator=(const FolderChanges &) = delete;
    ~FolderChanges();

    bool Watch(const QString &folder);
    void Unwatch();
    // Stops watching but keeps the journal open: the kernel takes the
    // watch down in the background, where closing it at once would wait
    // for that, milliseconds at the end of a short program.
    void Retire();
    bool IsWatching() const { return m_wd >= 0; }
    // False when the journal lost track (overflow, the folder itself moved
    // or vanished): the caller must read the folder anew.
    bool Take(QList<Change> &changes);

private:
    int m_fd = -1;
    int m_wd = -1;
};
