#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class FileList;

// The pictures still to go in a run: the image folder's pictures in the
// list's order, less those passed over in this run. A picture passed over
// stays in the folder, so the list's first entry is not always the next
// one to take.
class PictureQueue
{
public:
    explicit PictureQueue(FileList &files);

    // Reads the folder afresh and forgets what was passed over.
    bool Begin(QString *error);
    bool Refresh(QString *error);
    // Every picture listed now, as paths.
    QStringList Paths() const;
    // The first picture still to go other than those in skip; empty when
    // none is.
    QString Next(const QStringList &skip = {}) const;
    void PassOver(const QString &path) { m_passedOver.insert(path); }

private:
    FileList &m_files;
    QSet<QString> m_passedOver;
};
