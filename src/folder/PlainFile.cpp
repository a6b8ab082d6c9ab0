#include "folder/PlainFile.h"

#include "folder/NativeName.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PlainFile::~PlainFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

PlainFile::PlainFile(PlainFile &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_size(other.m_size)
{
}

PlainFile &PlainFile::operator=(PlainFile &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
    }
    return *this;
}

PlainFile PlainFile::Open(const QString &path, int flags, mode_t mode, int *cause, QString *why)
{
    // O_NONBLOCK: opening a named pipe would otherwise wait for its other end.
    PlainFile file(::open(Native(path).constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode), 0);
    struct stat info;
    if (!file.IsOpen() || ::fstat(file.m_fd, &info) != 0) {
        *cause = errno;
        *why = SystemError(*cause);
        return PlainFile();
    }
    if (!S_ISREG(info.st_mode)) {
        *cause = S_ISDIR(info.st_mode) ? EISDIR : 0;
        *why = *cause != 0 ? SystemError(*cause) : NotPlainText();
        return PlainFile();
    }
    // Reads and writes of a plain file wait for the disk, never for a peer.
    const int now = ::fcntl(file.m_fd, F_GETFL);
    if (now < 0 || ::fcntl(file.m_fd, F_SETFL, now & ~O_NONBLOCK) != 0) {
        *cause = errno;
        *why = SystemError(*cause);
        return PlainFile();
    }
    file.m_size = info.st_size;
    return file;
}

PlainFile PlainFile::OpenForReading(const QString &path, QString *why)
{
    int cause = 0;
    return Open(path, O_RDONLY, 0, &cause, why);
}

bool PlainFile::WriteAll(const char *data, qint64 size, int *cause)
{
    while (size > 0) {
        const ssize_t put = ::write(m_fd, data, size_t(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            *cause = put == 0 ? ENOSPC : errno;
            return false;
        }
        data += put;
        size -= put;
    }
    return true;
}

bool PlainFile::Close(int *cause)
{
    const int fd = std::exchange(m_fd, -1);
    if (fd < 0 || ::close(fd) == 0 || errno == EINTR)
        return true;
    *cause = errno;
    return false;
}

bool PlainFile::HandTo(QFile &file, QString *why)
{
    if (m_fd < 0)
        return false;
    if (!file.open(m_fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *why = file.errorString();
        return false;
    }
    m_fd = -1;
    return true;
}

// The window speaks Russian whatever the system's locale, so the causes a
// member meets are carried in the program's own texts; the rest come in the
// system's words. The sources are the C library's own English.
QString PlainFile::SystemError(int cause)
{
    static const struct
    {
        int number;
        const char *text;
    } Known[] = {
        {ENOENT, QT_TRANSLATE_NOOP("PlainFile", "No such file or directory")},
        {EACCES, QT_TRANSLATE_NOOP("PlainFile", "Permission denied")},
        {EPERM, QT_TRANSLATE_NOOP("PlainFile", "Operation not permitted")},
        {ENOSPC, QT_TRANSLATE_NOOP("PlainFile", "No space left on device")},
        {EDQUOT, QT_TRANSLATE_NOOP("PlainFile", "Disk quota exceeded")},
        {EROFS, QT_TRANSLATE_NOOP("PlainFile", "Read-only file system")},
        {EIO, QT_TRANSLATE_NOOP("PlainFile", "Input/output error")},
        {EISDIR, QT_TRANSLATE_NOOP("PlainFile", "Is a directory")},
        {ENOTDIR, QT_TRANSLATE_NOOP("PlainFile", "Not a directory")},
        {EEXIST, QT_TRANSLATE_NOOP("PlainFile", "File exists")},
        {ENAMETOOLONG, QT_TRANSLATE_NOOP("PlainFile", "File name too long")},
        {ELOOP, QT_TRANSLATE_NOOP("PlainFile", "Too many levels of symbolic links")},
        {EMFILE, QT_TRANSLATE_NOOP("PlainFile", "Too many open files")},
        {EBUSY, QT_TRANSLATE_NOOP("PlainFile", "Device or resource busy")},
        {EXDEV, QT_TRANSLATE_NOOP("PlainFile", "Invalid cross-device link")},
        {EFBIG, QT_TRANSLATE_NOOP("PlainFile", "File too large")},
    };
    for (const auto &known : Known) {
        if (known.number == cause)
            return QCoreApplication::translate("PlainFile", known.text);
    }
    return QString::fromLocal8Bit(std::strerror(cause));
}

QString PlainFile::NotPlainText()
{
    return QCoreApplication::translate("PlainFile", "not a regular file");
}

QString PlainFile::Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray PlainFile::Native(const QString &path)
{
    return NativeName::Encode(path);
}
