#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

class QFile;

// One open plain file, closed on every way out of a scope. Every open goes
// through here: it never waits (a named pipe in a file's place would hold
// the event loop for good), it refuses anything but a plain file in one
// wording, and the path's bytes come from NativeName, so a name that is
// not valid text opens the file it names and no other.
class PlainFile
{
public:
    PlainFile() = default;
    ~PlainFile();
    PlainFile(PlainFile &&other) noexcept;
    PlainFile &operator=(PlainFile &&other) noexcept;
    PlainFile(const PlainFile &) = delete;
    PlainFile &operator=(const PlainFile &) = delete;

    // flags: open(2)'s, to which the non-waiting ones are added. On failure
    // *cause is the errno, or 0 for "not a regular file", and *why the
    // system's words either way.
    static PlainFile Open(const QString &path, int flags, mode_t mode, int *cause, QString *why);
    static PlainFile OpenForReading(const QString &path, QString *why);

    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    // The size when it was opened.
    qint64 Size() const { return m_size; }
    // Writes every byte or says why not; a short write counts as no space.
    bool WriteAll(const char *data, qint64 size, int *cause);
    // Where a deferred write error shows: the result must be checked.
    bool Close(int *cause);
    // Hands the descriptor to a QFile that closes it; false, with *why as
    // the failed open left it, when nothing is open.
    bool HandTo(QFile &file, QString *why);

    // The system's own words for an errno value.
    static QString SystemError(int cause);
    // The refusal of anything but a plain file.
    static QString NotPlainText();
    // A path as the member reads it in a message.
    static QString Shown(const QString &path);
    static QByteArray Native(const QString &path);

private:
    explicit PlainFile(int fd, qint64 size) : m_fd(fd), m_size(size) {}

    int m_fd = -1;
    qint64 m_size = 0;
};
