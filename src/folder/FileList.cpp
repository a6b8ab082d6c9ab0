#include "folder/FileList.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {

bool NameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
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
    Modifying();
    m_names.clear();
    emit Changed();
    m_modifying = false;
}

void FileList::Modifying()
{
    if (!m_modifying)
        emit AboutToChange();
    m_modifying = true;
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
    return !name.startsWith(QLatin1Char('.')) && m_matcher.match(name).hasMatch();
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
    if (m_modifying) {
        m_modifying = false;
        emit Changed();
    }
    return m_error.isEmpty();
}

bool FileList::ReadWholeFolder()
{
    Modifying();
    m_names.clear();
    const QFileInfo folder(m_folder);
    if (m_folder.isEmpty() || !folder.isDir() || !folder.isReadable()) {
        m_error = QStringLiteral("Cannot list the folder %1: %2")
                      .arg(QDir::toNativeSeparators(m_folder),
                           folder.exists() ? QStringLiteral("access denied")
                                           : QStringLiteral("no such folder"));
        return false;
    }
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        const QString name = it.nextFileInfo().fileName();
        if (Matches(name))
            m_names.append(name);
    }
    std::sort(m_names.begin(), m_names.end(), NameLess);
    return true;
}

void FileList::Apply(const FolderChanges::Change &change)
{
    if (!Matches(change.name))
        return;
    const auto at = std::lower_bound(m_names.begin(), m_names.end(), change.name, NameLess);
    const bool listed = at != m_names.end() && *at == change.name;
    // The journal tells what happened, the folder what is there now: a name
    // added and removed again before this refresh must not be listed.
    const bool present = QFileInfo(QDir(m_folder).filePath(change.name)).isFile();
    if (present == listed)
        return;
    Modifying();
    if (present)
        m_names.insert(at, change.name);
    else
        m_names.erase(at);
}
