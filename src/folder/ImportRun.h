#pragma once

#include "folder/FileOps.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class FileList;

// One import into the image folder, with the steps the member follows on
// the status line, for the window and `picaroon import` alike. Folders give
// their ".jpg" and ".jpeg" pictures, single pictures themselves; the first
// failure or a stop ends the copy, and what was copied whole before it stays.
class ImportRun : public QObject
{
    Q_OBJECT

public:
    explicit ImportRun(FileList &files, QObject *parent = nullptr);

    // Asked between blocks of the copy: true stops it, leaving no partial file.
    void SetStopCheck(const std::function<bool()> &stopped) { m_stopped = stopped; }
    bool Stopped() const { return m_wasStopped; }

    // False with *error naming the trouble; the list is read again either way.
    bool Run(const QStringList &folders, const QStringList &pictures, QString *error);

signals:
    void StatusChanged(const QString &text);

private:
    bool Copy(const QStringList &folders, const QStringList &pictures, QString *error);

    FileList &m_files;
    std::function<bool()> m_stopped;
    bool m_wasStopped = false;
    FileOps::CopyTally m_tally;
};
