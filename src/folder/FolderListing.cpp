#include "folder/FolderListing.h"

#include "folder/NameFilter.h"
#include "folder/NativeName.h"

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace FolderListing {

bool NameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

bool IsOfKind(int folder, const char *name, Kind kind)
{
    struct stat info;
    if (::fstatat(folder, name, &info, 0) == 0)
        return kind == Kind::PlainFiles ? S_ISREG(info.st_mode) : !S_ISDIR(info.st_mode);
    return kind == Kind::AllButFolders && ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool Read(const QString &folder, const NameFilter &filter, Kind kind, QStringList *names, int *cause)
{
    names->clear();
    DIR *dir = folder.isEmpty() ? nullptr : ::opendir(NativeName::Encode(folder).constData());
    if (!dir) {
        *cause = folder.isEmpty() ? ENOENT : errno;
        return false;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = NativeName::Decode(QByteArray(entry->d_name));
        if (filter.Matches(name) && IsOfKind(dirfd(dir), entry->d_name, kind))
            names->append(name);
        errno = 0;
    }
    *cause = errno;
    ::closedir(dir);
    if (*cause != 0) {
        names->clear();
        return false;
    }
    std::sort(names->begin(), names->end(), NameLess);
    return true;
}

}
