#include "folder/FileList.h"

#include "folder/FolderListing.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"

#include <QDir>

#include <algorithm>

#include <fcntl.h>

FileList::FileList(QObject *parent)
    : QObject(parent)
{
}

void FileList::SetFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_current = false;
    m_journalGone = false;
    m_changes.Unwatch();
    emit AboutToReset();
    m_names.clear();
    emit Reset();
}

void FileList::SetPattern(const QString &pattern)
{
    if (pattern == m_filter.Pattern())
        return;
    m_filter = NameFilter(pattern);
    m_current = false;
}

QString FileList::EntryPath(qsizetype index) const
{
    return QDir(m_folder).filePath(m_names.at(index));
}

bool FileList::Refresh()
{
    m_error.clear();
    QList<FolderChanges::Change> changes;
    if (m_current && m_changes.Take(changes)) {
        for (const auto &change : changes)
            Apply(change);
    } else if (m_journalGone) {
        m_current = false;
        ReadWholeFolder();
    } else {
        // Watch before reading, so that nothing done in between goes unseen;
        // replaying a change the read already shows is harmless.
        m_changes.Watch(m_folder);
        m_current = ReadWholeFolder() && m_changes.IsWatching();
    }
    return m_error.isEmpty();
}

void FileList::LetJournalGo()
{
    m_journalGone = true;
    m_current = false;
    m_changes.Retire();
}

bool FileList::ReadWholeFolder()
{
    QStringList names;
    int cause = 0;
    const bool readable = FolderListing::Read(m_folder, m_filter, FolderListing::Kind::AllButFolders, &names, &cause);
    if (!readable) {
        m_error = tr("Cannot list the folder %1: %2").arg(PlainFile::Shown(m_folder), PlainFile::SystemError(cause));
    }
    emit AboutToReset();
    m_names = names;
    emit Reset();
    return readable;
}

void FileList::Apply(const FolderChanges::Change &change)
{
    if (!m_filter.Matches(change.name))
        return;
    const auto at = std::lower_bound(m_names.cbegin(), m_names.cend(), change.name, FolderListing::NameLess);
    const bool listed = at != m_names.cend() && *at == change.name;
    // The journal tells what happened, the folder what is there now: a name
    // added and removed again before this refresh must not be listed.
    const QByteArray path = NativeName::Encode(QDir(m_folder).filePath(change.name));
    const bool present = FolderListing::IsOfKind(AT_FDCWD, path.constData(), FolderListing::Kind::AllButFolders);
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
