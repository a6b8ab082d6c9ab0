#include "linktools/TextFileAppender.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype BufferSize = 64 * 1024;

QString SystemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Not blocking: a named pipe in the file's place must not hang the run
// before it is refused.
int OpenForAppending(const QByteArray &name, int create, bool *readable)
{
    const int flags = O_APPEND | O_NONBLOCK | O_CLOEXEC | create;
    int fd = ::open(name.constData(), O_RDWR | flags, 0666);
    *readable = fd >= 0;
    if (fd < 0 && errno == EACCES)
        fd = ::open(name.constData(), O_WRONLY | flags, 0666);
    return fd;
}

}

TextFileAppender::TextFileAppender(const QString &path)
    : m_path(path)
{
}

TextFileAppender::~TextFileAppender()
{
    Undo();
}

bool TextFileAppender::Open(QString *error)
{
    const QByteArray name = QFile::encodeName(m_path);
    bool readable = false;
    m_fd = OpenForAppending(name, 0, &readable);
    if (m_fd < 0 && errno == ENOENT) {
        m_fd = OpenForAppending(name, O_CREAT | O_EXCL, &readable);
        m_created = m_fd >= 0;
    }
    if (m_fd < 0) {
        const int cause = errno;
        m_error = *error = QStringLiteral("Cannot open %1 for appending: %2").arg(Shown(m_path), SystemText(cause));
        return false;
    }
    m_running = true;
    struct stat status;
    if (::fstat(m_fd, &status) != 0)
        return Fail(QStringLiteral("Cannot open %1 for appending: %2"), errno, error);
    // Only a plain file can be cut back to what it held.
    if (!S_ISREG(status.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        m_running = false;
        m_error = *error = QStringLiteral("Cannot append to %1: not a regular file").arg(Shown(m_path));
        return false;
    }
    m_oldSize = status.st_size;
    if (readable && m_oldSize > 0) {
        m_tail.resize(qMin<qint64>(TailSize, m_oldSize));
        const ssize_t got = ::pread(m_fd, m_tail.data(), size_t(m_tail.size()), m_oldSize - m_tail.size());
        if (got != m_tail.size())
            return Fail(QStringLiteral("Cannot read %1: %2"), got < 0 ? errno : EIO, error);
    }
    m_buffer.reserve(BufferSize);
    return true;
}

bool TextFileAppender::Write(QByteArrayView bytes, QString *error)
{
    if (!m_running) {
        *error = m_error;
        return false;
    }
    if (m_buffer.size() + bytes.size() > BufferSize) {
        if (!WriteOut(m_buffer.constData(), m_buffer.size(), error))
            return false;
        m_buffer.resize(0); // keeps its room
        if (bytes.size() >= BufferSize)
            return WriteOut(bytes.data(), bytes.size(), error);
    }
    m_buffer.append(bytes);
    return true;
}

bool TextFileAppender::Commit(QString *error)
{
    if (!m_running) {
        *error = m_error;
        return false;
    }
    if (!WriteOut(m_buffer.constData(), m_buffer.size(), error))
        return false;
    m_buffer.resize(0);
    if (::fsync(m_fd) != 0)
        return Fail(QStringLiteral("Cannot write %1: %2"), errno, error);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        return Fail(QStringLiteral("Cannot close %1: %2"), errno, error);
    m_running = false;
    return true;
}

bool TextFileAppender::RollBack(QString *error)
{
    const QString trouble = Undo();
    if (trouble.isEmpty())
        return true;
    *error = trouble;
    return false;
}

QString TextFileAppender::Undo()
{
    if (!m_running)
        return QString();
    m_running = false;
    m_buffer.clear();
    const QByteArray name = QFile::encodeName(m_path);
    int result = 0;
    if (m_created)
        result = ::unlink(name.constData());
    else if (m_fd >= 0)
        result = ::ftruncate(m_fd, m_oldSize) == 0 ? ::fsync(m_fd) : -1;
    else
        result = ::truncate(name.constData(), m_oldSize); // its descriptor is already gone
    const int cause = errno;
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (result == 0)
        return QString();
    if (m_created)
        return QStringLiteral("%1 could not be removed again: %2").arg(Shown(m_path), SystemText(cause));
    return QStringLiteral("%1 could not be cut back to its %2 bytes: %3")
        .arg(Shown(m_path))
        .arg(m_oldSize)
        .arg(SystemText(cause));
}

bool TextFileAppender::WriteOut(const char *data, qsizetype size, QString *error)
{
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return Fail(QStringLiteral("Cannot write %1: %2"), errno, error);
        }
        data += written;
        size -= written;
    }
    return true;
}

bool TextFileAppender::Fail(const QString &what, int errorNumber, QString *error)
{
    m_error = what.arg(Shown(m_path), SystemText(errorNumber));
    const QString trouble = Undo();
    if (!trouble.isEmpty())
        m_error += QStringLiteral("; ") + trouble;
    *error = m_error;
    return false;
}
