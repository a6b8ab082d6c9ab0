#pragma once

#include "folder/FileOps.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class FileList;
class QThread;

// One import into the image folder, with the steps the member follows on
// the status line, for the window and `picaroon import` alike. Folders give
// their ".jpg" and ".jpeg" pictures, single pictures themselves; the first
// failure or a stop ends the copy, and what was copied whole before it stays.
class ImportRun : public QObject
{
    Q_OBJECT

public:
    explicit ImportRun(FileList &files, QObject *parent = nullptr);
    ~ImportRun() override;

    // Asked between blocks of the copy, on the thread that copies: true
    // stops it, leaving no partial file.
    void SetStopCheck(const std::function<bool()> &stopped) { m_stopped = stopped; }
    bool Stopped() const { return m_wasStopped; }

    // On the calling thread: false with *error naming the trouble; the list
    // is read again either way.
    bool Run(const QStringList &folders, const QStringList &pictures, QString *error);
    // The same copy on a thread of its own, so that a window stays with its
    // member; Finished tells the end, on this object's thread.
    void Start(const QStringList &folders, const QStringList &pictures);
    bool IsRunning() const { return m_worker != nullptr; }
    // Ends a started copy at the next block; the picture being copied leaves
    // nothing behind.
    void Cancel() { m_cancelled = true; }

signals:
    void StatusChanged(const QString &text);
    // After each picture, copied or found there already.
    void Progress(int done, int total);
    void Finished(bool ok, const QString &error);

private:
    void Begin();
    // counted: Progress is told, for a window that waits on its own thread.
    bool Copy(const QStringList &folders, const QStringList &pictures, const QString &imageFolder, bool counted,
              QString *error);
    bool End(bool copied, QString *error);

    FileList &m_files;
    std::function<bool()> m_stopped;
    std::atomic<bool> m_cancelled = false;
    bool m_wasStopped = false;
    FileOps::CopyTally m_tally;
    QThread *m_worker = nullptr;
};
