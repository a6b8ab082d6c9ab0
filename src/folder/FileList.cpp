#include "folder/FileList.h"

#include "folder/FileOps.h"
#include "folder/NativeName.h"

#include <QDir>

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool NameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

// Anything but a folder is listed, links followed or not: a picture that
// cannot be sent (a named pipe, a dangling link) is then passed over by
// name in the run, rather than missing without a word.
bool IsListable(int folder, const char *name)
{
    struct stat info;
    if (::fstatat(folder, name, &info, 0) == 0)
        return !S_ISDIR(info.st_mode);
    return ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
}

}

FileList::FileList(QObject *parent)
    : QObject(parent)
{
    SetPattern(QStringLiteral("*"));
}

void FileList::SetFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_current = false;
    m_changes.Unwatch();
    emit AboutToReset();
    m_names.clear();
    emit Reset();
}

void FileList::SetPattern(const QString &pattern)
{
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    m_matcher = QRegularExpression(
        QRegularExpression::wildcardToRegularExpression(pattern),
        QRegularExpression::CaseInsensitiveOption);
    m_current = false;
}

QString FileList::EntryPath(qsizetype index) const
{
    return QDir(m_folder).filePath(m_names.at(index));
}

bool FileList::Matches(const QString &name) const
{
    // Hidden files stay out of the list, as in the platform's file list.
    return !name.startsWith(QLatin1Char('.')) && m_matcher.match(NativeName::Displayable(name)).hasMatch();
}

bool FileList::Refresh()
{
    m_error.clear();
    QList<FolderChanges::Change> changes;
    if (m_current && m_changes.Take(changes)) {
        for (const auto &change : changes)
            Apply(change);
    } else {
        // Watch before reading, so that nothing done in between goes unseen;
        // replaying a change the read already shows is harmless.
        m_changes.Watch(m_folder);
        m_current = ReadWholeFolder() && m_changes.IsWatching();
    }
    return m_error.isEmpty();
}

bool FileList::ReadWholeFolder()
{
    QStringList names;
    DIR *dir = m_folder.isEmpty() ? nullptr : ::opendir(NativeName::Encode(m_folder).constData());
    int cause = m_folder.isEmpty() ? ENOENT : errno;
    if (dir) {
        errno = 0;
        while (const dirent *entry = ::readdir(dir)) {
            const QString name = NativeName::Decode(QByteArray(entry->d_name));
            if (Matches(name) && IsListable(dirfd(dir), entry->d_name))
                names.append(name);
            errno = 0;
        }
        cause = errno;
        ::closedir(dir);
        std::sort(names.begin(), names.end(), NameLess);
    }
    const bool readable = dir && cause == 0;
    if (!readable) {
        names.clear();
        m_error = QStringLiteral("Cannot list the folder %1: %2")
                      .arg(QDir::toNativeSeparators(m_folder), FileOps::SystemError(cause));
    }
    emit AboutToReset();
    m_names = names;
    emit Reset();
    return readable;
}

void FileList::Apply(const FolderChanges::Change &change)
{
    if (!Matches(change.name))
        return;
    const auto at = std::lower_bound(m_names.cbegin(), m_names.cend(), change.name, NameLess);
    const bool listed = at != m_names.cend() && *at == change.name;
    // The journal tells what happened, the folder what is there now: a name
    // added and removed again before this refresh must not be listed.
    const QByteArray path = NativeName::Encode(QDir(m_folder).filePath(change.name));
    const bool present = IsListable(AT_FDCWD, path.constData());
    const qsizetype index = at - m_names.cbegin();
    if (present && !listed) {
        emit AboutToInsert(index);
        m_names.insert(index, change.name);
        emit Inserted();
    } else if (!present && listed) {
        emit AboutToRemove(index);
        m_names.removeAt(index);
        emit Removed();
    }
}
