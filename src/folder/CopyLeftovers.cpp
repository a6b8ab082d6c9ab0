#include "folder/CopyLeftovers.h"

#include "folder/FileOps.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"

#include <QDir>
#include <QCoreApplication>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsTemporaryName(const QByteArray &name)
{
    const QByteArray prefix(FileOps::TemporaryPrefix);
    if (name.size() != prefix.size() + FileOps::TemporaryDigits || !name.startsWith(prefix))
        return false;
    for (const char c : name.mid(prefix.size())) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

}

namespace CopyLeftovers {

bool Remove(const QString &folder, int *removed, QString *error)
{
    *removed = 0;
    DIR *dir = ::opendir(PlainFile::Native(folder).constData());
    if (!dir) {
        *error = QCoreApplication::translate("CopyLeftovers", "Cannot read the folder %1: %2")
                     .arg(PlainFile::Shown(folder), PlainFile::SystemError(errno));
        return false;
    }
    int cause = 0;
    QByteArray failed;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        // Only the exact form a copy makes, and only a plain file: a link
        // or a folder of that name is someone else's.
        if (!IsTemporaryName(name))
            continue;
        struct stat info;
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) {
            ++*removed;
        } else if (errno != ENOENT && cause == 0) {
            cause = errno;
            failed = name;
        }
        errno = 0;
    }
    if (errno != 0 && cause == 0)
        cause = errno;
    ::closedir(dir);
    if (cause == 0)
        return true;
    *error = failed.isEmpty() ? QCoreApplication::translate("CopyLeftovers", "Cannot read the folder %1: %2")
                                    .arg(PlainFile::Shown(folder), PlainFile::SystemError(cause))
                              : QCoreApplication::translate("CopyLeftovers", "Cannot delete %1: %2")
                                    .arg(PlainFile::Shown(QDir(folder).filePath(NativeName::Decode(failed))),
                                         PlainFile::SystemError(cause));
    return false;
}

}
