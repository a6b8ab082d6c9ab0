#include "linktools/TextFileAppender.h"

#include "folder/PlainFile.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>

namespace {

constexpr qsizetype BufferSize = 64 * 1024;

QString Shown(const QString &path)
{
    return PlainFile::Shown(path);
}

// Read and write where allowed, so that the old tail can be read; write
// alone otherwise.
PlainFile OpenForAppending(const QString &path, int create, bool *readable, int *cause)
{
    QString why;
    PlainFile file = PlainFile::Open(path, O_RDWR | O_APPEND | create, 0666, cause, &why);
    *readable = file.IsOpen();
    if (!file.IsOpen() && *cause == EACCES)
        file = PlainFile::Open(path, O_WRONLY | O_APPEND | create, 0666, cause, &why);
    return file;
}

}

TextFileAppender::TextFileAppender(const QString &path, const std::function<bool()> &stopped)
    : m_path(path)
    , m_stopped(stopped)
{
}

TextFileAppender::~TextFileAppender()
{
    Undo();
}

bool TextFileAppender::Open(QString *error)
{
    bool readable = false;
    int cause = 0;
    m_file = OpenForAppending(m_path, 0, &readable, &cause);
    if (!m_file.IsOpen() && cause == ENOENT) {
        m_file = OpenForAppending(m_path, O_CREAT | O_EXCL, &readable, &cause);
        m_created = m_file.IsOpen();
    }
    if (!m_file.IsOpen()) {
        // Only a plain file can be cut back to what it held.
        m_error = *error = cause == 0
                               ? QCoreApplication::translate("TextFileAppender", "Cannot append to %1: %2")
                                     .arg(Shown(m_path), PlainFile::NotPlainText())
                               : QCoreApplication::translate("TextFileAppender", "Cannot open %1 for appending: %2")
                                     .arg(Shown(m_path), PlainFile::SystemError(cause));
        return false;
    }
    m_running = true;
    m_oldSize = m_file.Size();
    if (readable && m_oldSize > 0) {
        m_tail.resize(qMin<qint64>(TailSize, m_oldSize));
        const ssize_t got = ::pread(m_file.Descriptor(), m_tail.data(), size_t(m_tail.size()), m_oldSize - m_tail.size());
        if (got != m_tail.size())
            return Fail(QCoreApplication::translate("TextFileAppender", "Cannot read %1: %2"), got < 0 ? errno : EIO,
                        error);
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
    if (::fsync(m_file.Descriptor()) != 0)
        return Fail(QCoreApplication::translate("TextFileAppender", "Cannot write %1: %2"), errno, error);
    if (m_stopped && m_stopped())
        return Stop(error);
    int cause = 0;
    if (!m_file.Close(&cause))
        return Fail(QCoreApplication::translate("TextFileAppender", "Cannot close %1: %2"), cause, error);
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
    const QByteArray name = PlainFile::Native(m_path);
    const int fd = m_file.Descriptor();
    int result = 0;
    if (m_created)
        result = ::unlink(name.constData());
    else if (fd >= 0)
        result = ::ftruncate(fd, m_oldSize) == 0 ? ::fsync(fd) : -1;
    else
        result = ::truncate(name.constData(), m_oldSize); // its descriptor is already gone
    const int cause = errno;
    m_file = PlainFile();
    if (result == 0)
        return QString();
    if (m_created)
        return QCoreApplication::translate("TextFileAppender", "%1 could not be removed again: %2")
            .arg(Shown(m_path), PlainFile::SystemError(cause));
    return QCoreApplication::translate("TextFileAppender", "%1 could not be cut back to its %2 bytes: %3")
        .arg(Shown(m_path))
        .arg(m_oldSize)
        .arg(PlainFile::SystemError(cause));
}

bool TextFileAppender::WriteOut(const char *data, qsizetype size, QString *error)
{
    if (m_stopped && m_stopped())
        return Stop(error);
    int cause = 0;
    return m_file.WriteAll(data, size, &cause)
           || Fail(QCoreApplication::translate("TextFileAppender", "Cannot write %1: %2"), cause, error);
}

bool TextFileAppender::Stop(QString *error)
{
    m_error = QCoreApplication::translate("TextFileAppender", "Stopped: %1 is left as it was").arg(Shown(m_path));
    const QString trouble = Undo();
    if (!trouble.isEmpty())
        m_error = QCoreApplication::translate("TextFileAppender", "Stopped; %1").arg(trouble);
    *error = m_error;
    return false;
}

bool TextFileAppender::Fail(const QString &what, int errorNumber, QString *error)
{
    m_error = what.arg(Shown(m_path), PlainFile::SystemError(errorNumber));
    const QString trouble = Undo();
    if (!trouble.isEmpty())
        m_error += QStringLiteral("; ") + trouble;
    *error = m_error;
    return false;
}
