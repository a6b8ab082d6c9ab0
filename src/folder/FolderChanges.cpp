#include "folder/FolderChanges.h"

#include "folder/NativeName.h"

#include <QByteArray>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>
#endif

FolderChanges::~FolderChanges()
{
    Unwatch();
}

#ifdef Q_OS_LINUX

bool FolderChanges::Watch(const QString &folder)
{
    Unwatch();
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return false;
    const uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
                          | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
    m_wd = inotify_add_watch(m_fd, NativeName::Encode(folder).constData(), mask);
    if (m_wd < 0) {
        Unwatch();
        return false;
    }
    return true;
}

void FolderChanges::Unwatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = m_wd = -1;
}

void FolderChanges::Retire()
{
    if (m_wd >= 0)
        inotify_rm_watch(m_fd, m_wd);
    m_wd = -1;
}

bool FolderChanges::Take(QList<Change> &changes)
{
    if (m_wd < 0)
        return false;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return true;
        if (got <= 0) {
            Unwatch();
            return false;
        }
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & (IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                Unwatch();
                return false;
            }
            if (event->len == 0 || (event->mask & IN_ISDIR))
                continue;
            const bool added = event->mask & (IN_CREATE | IN_MOVED_TO);
            changes.append({added, NativeName::Decode(QByteArray(event->name))});
        }
    }
}

#else

bool FolderChanges::Watch(const QString &)
{
    return false;
}

void FolderChanges::Unwatch()
{
}

void FolderChanges::Retire() { }

bool FolderChanges::Take(QList<Change> &)
{
    return false;
}

#endif
