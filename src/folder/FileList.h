#pragma once

#include "folder/FolderChanges.h"
#include "folder/NameFilter.h"

#include <QObject>
#include <QString>
#include <QStringList>

// The picture list over one folder: the bare names of everything but
// folders that passes a NameFilter, in FolderListing's order. The upload
// cycle refreshes it before every picture, so after the first read a
// refresh costs only the folder's changes, not its size.
class FileList : public QObject
{
    Q_OBJECT

public:
    explicit FileList(QObject *parent = nullptr);

    void SetFolder(const QString &folder);
    QString Folder() const { return m_folder; }
    void SetPattern(const QString &pattern);

    // Reads the folder again; false when it cannot be listed, with the list
    // left empty and ErrorString() naming the trouble.
    bool Refresh();
    // For a program about to end: the journal is let go now, while the
    // kernel has time to take it down, and the folder is read afresh from
    // here on, until another folder is set.
    void LetJournalGo();
    QString ErrorString() const { return m_error; }

    qsizetype Count() const { return m_names.size(); }
    QString Entry(qsizetype index) const { return m_names.at(index); }
    QStringList Entries() const { return m_names; }
    QString EntryPath(qsizetype index) const;

signals:
    // Around every change of the entries, so that a view can follow each
    // one at its own cost rather than the whole list's.
    void AboutToReset();
    void Reset();
    void AboutToInsert(qsizetype index);
    void Inserted();
    void AboutToRemove(qsizetype index);
    void Removed();

private:
    bool ReadWholeFolder();
    void Apply(const FolderChanges::Change &change);

    QString m_folder;
    NameFilter m_filter;
    QStringList m_names;
    FolderChanges m_changes;
    bool m_current = false;
    bool m_journalGone = false;
    QString m_error;
};
