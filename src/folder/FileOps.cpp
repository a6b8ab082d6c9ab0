#include "folder/FileOps.h"

#include "folder/NativeName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QByteArray Native(const QString &path)
{
    return NativeName::Encode(path);
}

bool NameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

// Closes on every way out of a scope, so that no error path leaks a handle.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor() { if (m_fd >= 0) ::close(m_fd); }
    int Get() const { return m_fd; }
    int Release() { const int fd = m_fd; m_fd = -1; return fd; }
    // The close of a written file is where a deferred write error shows.
    bool Close()
    {
        const int fd = Release();
        return fd < 0 || ::close(fd) == 0 || errno == EINTR;
    }

private:
    int m_fd;
};

int OpenNonBlocking(const QByteArray &path, QString *why)
{
    // O_NONBLOCK: opening a named pipe would otherwise wait for a writer.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = FileOps::SystemError(errno);
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        *why = FileOps::SystemError(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        *why = S_ISDIR(info.st_mode) ? FileOps::SystemError(EISDIR) : QStringLiteral("not a regular file");
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        *why = FileOps::SystemError(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

bool IsFolder(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ListMatching(const QString &folder, const QString &pattern, QStringList *names, QString *error)
{
    const QRegularExpression matcher(QRegularExpression::wildcardToRegularExpression(pattern),
                                     QRegularExpression::CaseInsensitiveOption);
    DIR *dir = ::opendir(Native(folder).constData());
    if (!dir) {
        *error = QStringLiteral("Cannot read the folder %1: %2").arg(Shown(folder), FileOps::SystemError(errno));
        return false;
    }
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = NativeName::Decode(QByteArray(entry->d_name));
        struct stat info;
        // A named pipe would block the read, and a folder is not a picture.
        if (!name.startsWith(QLatin1Char('.')) && matcher.match(NativeName::Displayable(name)).hasMatch()
            && ::fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)) {
            names->append(name);
        }
        errno = 0;
    }
    const int readError = errno;
    ::closedir(dir);
    if (readError != 0) {
        *error = QStringLiteral("Cannot read the folder %1: %2").arg(Shown(folder), FileOps::SystemError(readError));
        return false;
    }
    std::sort(names->begin(), names->end(), NameLess);
    return true;
}

bool WriteAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size_t(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = EIO;
            return false;
        }
        data += put;
        size -= put;
    }
    return true;
}

// A hidden temporary name of fixed length beside the target: it is never
// listed as a picture, and a long picture name cannot make it too long.
int CreateTemporary(const QString &folder, QByteArray *tempPath)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = QStringLiteral(".picaroon-copy-%1")
                                 .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        *tempPath = Native(QDir(folder).filePath(name));
        const int fd = ::open(tempPath->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool CopyOne(const QString &from, const QString &to, bool overwrite, QString *error)
{
    const QByteArray target = Native(to);
    struct stat existing;
    const bool replacing = ::lstat(target.constData(), &existing) == 0;
    if (replacing && !overwrite) {
        *error = QStringLiteral("Cannot copy %1: %2 already exists").arg(Shown(from), Shown(to));
        return false;
    }
    const QString targetTrouble = (replacing ? QStringLiteral("Cannot replace %1") : QStringLiteral("Cannot write %1")).arg(Shown(to));
    QString why;
    Descriptor source(OpenNonBlocking(Native(from), &why));
    if (source.Get() < 0) {
        *error = QStringLiteral("Cannot read %1: %2").arg(Shown(from), why);
        return false;
    }
    QByteArray tempPath;
    Descriptor copy(CreateTemporary(QFileInfo(to).path(), &tempPath));
    if (copy.Get() < 0) {
        *error = targetTrouble + QStringLiteral(": ") + FileOps::SystemError(errno);
        return false;
    }
    // Until the rename, and after any failure, the target is untouched and
    // the temporary file is gone again.
    auto fail = [&](const QString &trouble) {
        const int cause = errno;
        copy.Close();
        ::unlink(tempPath.constData());
        *error = trouble + QStringLiteral(": ") + FileOps::SystemError(cause);
        return false;
    };
    char buffer[256 * 1024];
    for (;;) {
        const ssize_t got = ::read(source.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(QStringLiteral("Cannot read %1").arg(Shown(from)));
        if (got == 0)
            break;
        if (!WriteAll(copy.Get(), buffer, got))
            return fail(targetTrouble);
    }
    if (::fsync(copy.Get()) != 0 || !copy.Close())
        return fail(targetTrouble);
    if (::rename(tempPath.constData(), target.constData()) != 0)
        return fail(targetTrouble);
    return true;
}

// Takes the new name only if nothing has it: an earlier set-aside picture
// must survive even when another program creates the name meanwhile.
int RenameNoReplace(const QByteArray &from, const QByteArray &to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
#endif
    // Where the file system cannot rename without replacing, a second name
    // is made first: link() never replaces.
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    if (::unlink(from.constData()) != 0) {
        const int cause = errno;
        ::unlink(to.constData());
        return cause;
    }
    return 0;
}

}

namespace FileOps {

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool FolderExists(const QString &path)
{
    return IsFolder(Native(path));
}

bool CreateFolder(const QString &path, QString *error)
{
    if (::mkdir(Native(path).constData(), 0777) != 0) {
        *error = QStringLiteral("Cannot create the folder %1: %2").arg(Shown(path), SystemError(errno));
        return false;
    }
    return true;
}

bool CreatePath(const QString &path, QString *error)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (FolderExists(clean))
        return true;
    // Something else standing where a folder above should be is left for
    // the mkdir below to name, as the system sees it.
    const QString parent = QFileInfo(clean).path();
    struct stat status;
    if (parent != clean && ::stat(Native(parent).constData(), &status) != 0 && !CreatePath(parent, error))
        return false;
    // Someone else making it meanwhile is no fault.
    if (::mkdir(Native(clean).constData(), 0777) == 0)
        return true;
    const int cause = errno;
    if (cause == EEXIST && FolderExists(clean))
        return true;
    *error = QStringLiteral("Cannot create the folder %1: %2").arg(Shown(clean), SystemError(cause));
    return false;
}

bool DeleteFile(const QString &path, bool force, QString *error)
{
    // POSIX asks only the folder whether a read-only file may go.
    Q_UNUSED(force);
    // The aim is that the file is gone; someone beating us to it is no fault.
    if (::unlink(Native(path).constData()) == 0 || errno == ENOENT)
        return true;
    *error = QStringLiteral("Cannot delete %1: %2").arg(Shown(path), SystemError(errno));
    return false;
}

QString NumberedName(const QString &name, int n)
{
    if (n <= 1)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const qsizetype cut = dot > 0 ? dot : name.size();
    return name.left(cut) + QStringLiteral(" (%1)").arg(n) + name.mid(cut);
}

QString SetAsideName(const QString &name, int n)
{
    return NumberedName(name, n) + QStringLiteral("_!");
}

bool SetAside(const QString &path, QString *asideName, QString *error)
{
    const QFileInfo info(path);
    const QDir folder = info.dir();
    const QByteArray from = Native(path);
    int cause = 0;
    for (int n = 1; n < 10000; ++n) {
        *asideName = SetAsideName(info.fileName(), n);
        cause = RenameNoReplace(from, Native(folder.filePath(*asideName)));
        if (cause != EEXIST)
            break;
    }
    if (cause == 0)
        return true;
    *error = QStringLiteral("Cannot set %1 aside as %2: %3").arg(Shown(path), *asideName, SystemError(cause));
    return false;
}

int RenameWithoutReplacing(const QString &from, const QString &to)
{
    return RenameNoReplace(Native(from), Native(to));
}

bool OpenForReading(const QString &path, QFile &file, QString *error)
{
    QString why;
    const int fd = OpenNonBlocking(Native(path), &why);
    if (fd < 0) {
        *error = why;
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        *error = file.errorString();
        ::close(fd);
        return false;
    }
    return true;
}

bool CopyFiles(const QString &sourceFolder, const QString &pattern, const QString &destinationFolder,
               bool overwrite, int *copied, QString *error)
{
    *copied = 0;
    QStringList names;
    if (!ListMatching(sourceFolder, pattern, &names, error))
        return false;
    if (names.isEmpty()) {
        *error = QStringLiteral("No file matching %1 in the folder %2").arg(pattern, Shown(sourceFolder));
        return false;
    }
    if (!FolderExists(destinationFolder)) {
        *error = QStringLiteral("Cannot copy into the folder %1: no such folder").arg(Shown(destinationFolder));
        return false;
    }
    struct stat from, to;
    if (::stat(Native(sourceFolder).constData(), &from) == 0 && ::stat(Native(destinationFolder).constData(), &to) == 0
        && from.st_dev == to.st_dev && from.st_ino == to.st_ino) {
        *error = QStringLiteral("Cannot copy the files of %1 onto themselves: it is the folder they would be copied into")
                     .arg(Shown(sourceFolder));
        return false;
    }
    const QDir source(sourceFolder);
    const QDir destination(destinationFolder);
    for (const QString &name : names) {
        if (!CopyOne(source.filePath(name), destination.filePath(name), overwrite, error))
            return false;
        ++*copied;
    }
    return true;
}

bool CopyFile(const QString &from, const QString &to, bool overwrite, QString *error)
{
    return CopyOne(from, to, overwrite, error);
}

}
