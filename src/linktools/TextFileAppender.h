#pragma once

#include "folder/PlainFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Appends to one of the link files all or nothing. Both files only ever
// grow and are created when missing; a run that fails anywhere (a write, the
// flush, the sync, the close), or that is dropped before Commit, leaves the
// file exactly as it was: cut back to its old size, or gone again when the
// run created it. Failures come back as messages naming the file and the
// system's cause. A run for which stopped() holds at a write or at the
// commit's last step is undone the same way.
class TextFileAppender
{
public:
    explicit TextFileAppender(const QString &path, const std::function<bool()> &stopped = {});
    ~TextFileAppender();
    TextFileAppender(const TextFileAppender &) = delete;
    TextFileAppender &operator=(const TextFileAppender &) = delete;

    bool Open(QString *error);
    // Up to the last TailSize bytes the file held before this run; empty for
    // a new file, or when the file can be written but not read.
    static constexpr qsizetype TailSize = 64;
    QByteArray Tail() const { return m_tail; }
    // Buffered: a full disk may only show at a later Write or at Commit.
    // After a failure the file is back as it was and nothing more is taken.
    bool Write(QByteArrayView bytes, QString *error);
    bool Commit(QString *error);
    // Undoes this run's bytes; false with *error when even that failed.
    bool RollBack(QString *error);

private:
    bool WriteOut(const char *data, qsizetype size, QString *error);
    bool Fail(const QString &what, int errorNumber, QString *error);
    bool Stop(QString *error);
    // What went wrong undoing the run; empty when it went right.
    QString Undo();

    QString m_path;
    std::function<bool()> m_stopped;
    PlainFile m_file;
    bool m_running = false;
    bool m_created = false;
    qint64 m_oldSize = 0;
    QByteArray m_tail;
    QByteArray m_buffer;
    QString m_error;
};
