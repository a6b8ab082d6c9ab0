#include "folder/FileOps.h"

#include "folder/FolderListing.h"
#include "folder/NameFilter.h"
#include "folder/NativeName.h"
#include "folder/PlainFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Shown(const QString &path)
{
    return PlainFile::Shown(path);
}

QByteArray Native(const QString &path)
{
    return PlainFile::Native(path);
}

bool IsFolder(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A hidden private name of fixed length in folder: it is never listed as
// a picture, and a long picture name cannot make it too long.
QString PrivatePath(const QString &folder, const char *prefix)
{
    return QDir(folder).filePath(QLatin1String(prefix) + QStringLiteral("%1").arg(QRandomGenerator::global()->generate64(),
                                                                                 FileOps::TemporaryDigits, 16, QLatin1Char('0')));
}

// Private until the copy is whole: nobody reads a picture through it that
// its source would not show them.
PlainFile CreateTemporary(const QString &folder, QString *tempPath, int *cause)
{
    QString why;
    for (int attempt = 0; attempt < 16; ++attempt) {
        *tempPath = PrivatePath(folder, FileOps::TemporaryPrefix);
        PlainFile file = PlainFile::Open(*tempPath, O_WRONLY | O_CREAT | O_EXCL, 0600, cause, &why);
        if (file.IsOpen() || *cause != EEXIST)
            return file;
    }
    return PlainFile();
}

mode_t CreationMask()
{
    const mode_t current = ::umask(077);
    ::umask(current);
    return current;
}

// Both plain files, byte for byte; anything that cannot be read counts as
// different, so that nothing is ever taken for a copy it is not.
bool SameBytes(const QString &a, const QString &b)
{
    QString why;
    PlainFile first = PlainFile::OpenForReading(a, &why);
    PlainFile second = PlainFile::OpenForReading(b, &why);
    if (!first.IsOpen() || !second.IsOpen() || first.Size() != second.Size())
        return false;
    QByteArray one(64 * 1024, Qt::Uninitialized), other(64 * 1024, Qt::Uninitialized);
    for (qint64 at = 0; at < first.Size();) {
        const ssize_t got = ::pread(first.Descriptor(), one.data(), size_t(one.size()), at);
        if (got <= 0 || ::pread(second.Descriptor(), other.data(), size_t(got), at) != got
            || std::memcmp(one.constData(), other.constData(), size_t(got)) != 0)
            return false;
        at += got;
    }
    return true;
}

bool CopyOne(const QString &from, const QString &to, const std::function<bool()> &stopped, bool *alreadyThere,
             QString *error)
{
    *alreadyThere = false;
    const QString targetTrouble = QCoreApplication::translate("FileOps", "Cannot write %1").arg(Shown(to));
    QString why;
    PlainFile source = PlainFile::OpenForReading(from, &why);
    struct stat sourceInfo;
    if (!source.IsOpen() || ::fstat(source.Descriptor(), &sourceInfo) != 0) {
        if (source.IsOpen())
            why = PlainFile::SystemError(errno);
        *error = QCoreApplication::translate("FileOps", "Cannot read %1: %2").arg(Shown(from), why);
        return false;
    }
    const QFileInfo target(to);
    QString tempPath;
    int cause = 0;
    PlainFile copy = CreateTemporary(target.path(), &tempPath, &cause);
    if (!copy.IsOpen()) {
        *error = targetTrouble + QStringLiteral(": ") + PlainFile::SystemError(cause);
        return false;
    }
    // Until the copy has its name, and after any failure or a stop, the
    // folder is as it was and the temporary file is gone again.
    auto fail = [&](const QString &trouble) {
        int ignored = 0;
        copy.Close(&ignored);
        ::unlink(Native(tempPath).constData());
        *error = trouble;
        return false;
    };
    auto failWith = [&](const QString &trouble) {
        return fail(trouble + QStringLiteral(": ") + PlainFile::SystemError(cause));
    };
    const QString stop = QCoreApplication::translate("FileOps", "Stopped while copying %1").arg(Shown(from));
    char buffer[256 * 1024];
    for (;;) {
        if (stopped && stopped())
            return fail(stop);
        const ssize_t got = ::read(source.Descriptor(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            cause = errno;
            return failWith(QCoreApplication::translate("FileOps", "Cannot read %1").arg(Shown(from)));
        }
        if (got == 0)
            break;
        if (!copy.WriteAll(buffer, got, &cause))
            return failWith(targetTrouble);
    }
    // Never more readable than the source; a file system without
    // permission bits of its own keeps the ones it shows for every file.
    if (::fchmod(copy.Descriptor(), sourceInfo.st_mode & 0777 & ~CreationMask()) != 0 && errno != EPERM
        && errno != EOPNOTSUPP) {
        cause = errno;
        return failWith(targetTrouble);
    }
    if (::fsync(copy.Descriptor()) != 0) {
        cause = errno;
        return failWith(targetTrouble);
    }
    if (!copy.Close(&cause))
        return failWith(targetTrouble);
    if (stopped && stopped())
        return fail(stop);
    // A queued picture is never replaced: the same bytes are already
    // queued, other bytes take the first free numbered name.
    QString placed;
    cause = FileOps::RenameToFree(tempPath, target.path(),
                                  [&](int n) { return FileOps::NumberedName(target.fileName(), n); }, &placed,
                                  [&](const QString &taken) { return SameBytes(tempPath, taken); });
    if (cause == FileOps::AlreadyThere) {
        ::unlink(Native(tempPath).constData());
        *alreadyThere = true;
        return true;
    }
    return cause == 0
           || failWith(QCoreApplication::translate("FileOps", "Cannot write %1")
                           .arg(Shown(QDir(target.path()).filePath(placed))));
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

bool FolderExists(const QString &path)
{
    return IsFolder(Native(path));
}

bool CreateFolder(const QString &path, QString *error)
{
    if (::mkdir(Native(path).constData(), 0777) != 0) {
        *error = QCoreApplication::translate("FileOps", "Cannot create the folder %1: %2")
                     .arg(Shown(path), PlainFile::SystemError(errno));
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
    *error = QCoreApplication::translate("FileOps", "Cannot create the folder %1: %2")
                 .arg(Shown(clean), PlainFile::SystemError(cause));
    return false;
}

bool DeleteFile(const QString &path, bool force, QString *error)
{
    // POSIX asks only the folder whether a read-only file may go.
    Q_UNUSED(force);
    // The aim is that the file is gone; someone beating us to it is no fault.
    if (::unlink(Native(path).constData()) == 0 || errno == ENOENT)
        return true;
    *error = QCoreApplication::translate("FileOps", "Cannot delete %1: %2")
                 .arg(Shown(path), PlainFile::SystemError(errno));
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
    const int cause = RenameToFree(path, info.path(), [&](int n) { return SetAsideName(info.fileName(), n); },
                                   asideName);
    if (cause == 0)
        return true;
    *error = QCoreApplication::translate("FileOps", "Cannot set %1 aside as %2: %3")
                 .arg(Shown(path), *asideName, PlainFile::SystemError(cause));
    return false;
}

int RenameToFree(const QString &from, const QString &folder, const std::function<QString(int)> &candidate,
                 QString *name, const std::function<bool(const QString &)> &alike)
{
    const QDir dir(folder);
    const QByteArray source = Native(from);
    int cause = EEXIST;
    for (int n = 1; cause == EEXIST && n < 10000; ++n) {
        *name = candidate(n);
        cause = RenameNoReplace(source, Native(dir.filePath(*name)));
        if (cause == EEXIST && alike && alike(dir.filePath(*name)))
            return AlreadyThere;
    }
    return cause;
}

bool DeleteOnlyIf(const QString &path, const std::function<bool(const QString &)> &isIt, bool *deleted,
                  QString *error)
{
    *deleted = false;
    const QFileInfo info(path);
    QString taken;
    int cause = EEXIST;
    for (int attempt = 0; cause == EEXIST && attempt < 16; ++attempt) {
        taken = PrivatePath(info.path(), ".picaroon-taken-");
        cause = RenameNoReplace(Native(path), Native(taken));
    }
    // Someone beating us to it is no fault, as for DeleteFile.
    if (cause == ENOENT)
        return true;
    if (cause != 0) {
        *error = QCoreApplication::translate("FileOps", "Cannot delete %1: %2")
                     .arg(Shown(path), PlainFile::SystemError(cause));
        return false;
    }
    if (isIt(taken)) {
        *deleted = DeleteFile(taken, true, error);
        return *deleted;
    }
    QString name;
    cause = RenameToFree(taken, info.path(), [&](int n) { return NumberedName(info.fileName(), n); }, &name);
    if (cause == 0)
        return true;
    *error = QCoreApplication::translate("FileOps", "Cannot put %1 back as %2: %3")
                 .arg(Shown(taken), name, PlainFile::SystemError(cause));
    return false;
}

int RenameWithoutReplacing(const QString &from, const QString &to)
{
    return RenameNoReplace(Native(from), Native(to));
}

bool CopyFiles(const QString &sourceFolder, const QString &pattern, const QString &destinationFolder,
               const std::function<bool()> &stopped, CopyTally *tally, QString *error)
{
    QStringList names;
    int cause = 0;
    if (!FolderListing::Read(sourceFolder, NameFilter(pattern), FolderListing::Kind::PlainFiles, &names, &cause)) {
        *error = QCoreApplication::translate("FileOps", "Cannot read the folder %1: %2")
                     .arg(Shown(sourceFolder), PlainFile::SystemError(cause));
        return false;
    }
    if (names.isEmpty()) {
        *error = QCoreApplication::translate("FileOps", "No file matching %1 in the folder %2")
                     .arg(pattern, Shown(sourceFolder));
        return false;
    }
    if (!FolderExists(destinationFolder)) {
        *error = QCoreApplication::translate("FileOps", "Cannot copy into the folder %1: no such folder")
                     .arg(Shown(destinationFolder));
        return false;
    }
    struct stat from, to;
    if (::stat(Native(sourceFolder).constData(), &from) == 0 && ::stat(Native(destinationFolder).constData(), &to) == 0
        && from.st_dev == to.st_dev && from.st_ino == to.st_ino) {
        *error
            = QCoreApplication::translate(
                  "FileOps", "Cannot copy the files of %1 onto themselves: it is the folder they would be copied into")
                  .arg(Shown(sourceFolder));
        return false;
    }
    const QDir source(sourceFolder);
    const QDir destination(destinationFolder);
    for (const QString &name : names) {
        if (!CopyFile(source.filePath(name), destination.filePath(name), stopped, tally, error))
            return false;
    }
    return true;
}

bool CopyFile(const QString &from, const QString &to, const std::function<bool()> &stopped, CopyTally *tally,
              QString *error)
{
    bool alreadyThere = false;
    if (!CopyOne(from, to, stopped, &alreadyThere, error))
        return false;
    ++(alreadyThere ? tally->alreadyThere : tally->copied);
    if (tally->copiedOne)
        tally->copiedOne(*tally);
    return true;
}

}
