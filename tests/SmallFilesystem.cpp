#include "SmallFilesystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

SmallFilesystem::~SmallFilesystem()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(Path()).constData(), MNT_DETACH);
}

bool SmallFilesystem::Mount(QString *why)
{
    if (!m_folder.isValid()) {
        *why = m_folder.errorString();
        return false;
    }
    if (::mount("tmpfs", QFile::encodeName(Path()).constData(), "tmpfs", 0, "size=64k") != 0) {
        *why = QStringLiteral("cannot mount a 64 KB tmpfs on %1 (%2); it needs root")
                   .arg(Path(), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_mounted = true;
    return true;
}

bool SmallFilesystem::Fill()
{
    const int fd = ::open(QFile::encodeName(FilePath(QStringLiteral("filler"))).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    static const char block[4096] = {};
    ssize_t written = 0;
    while ((written = ::write(fd, block, sizeof block)) > 0) {
    }
    const bool full = written < 0 && errno == ENOSPC;
    return ::close(fd) == 0 && full;
}

bool SmallFilesystem::MakeReadOnly(QString *why)
{
    if (::mount("tmpfs", QFile::encodeName(Path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") != 0) {
        *why = QStringLiteral("cannot mount %1 again read-only (%2)")
                   .arg(Path(), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}
