#include "folder/FileStamp.h"

#include "folder/NativeName.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>

namespace {

qint64 Nanoseconds(const struct timespec &t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FileStamp StampOf(const struct stat &info)
{
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

}

std::optional<FileStamp> FileStamp::OfOpen(const QFile &file)
{
    struct stat info;
    if (file.handle() < 0 || ::fstat(file.handle(), &info) != 0)
        return std::nullopt;
    return StampOf(info);
}

std::optional<FileStamp> FileStamp::OfPath(const QString &path)
{
    struct stat info;
    if (::stat(NativeName::Encode(path).constData(), &info) != 0)
        return std::nullopt;
    return StampOf(info);
}

#else

std::optional<FileStamp> FileStamp::OfOpen(const QFile &)
{
    return std::nullopt;
}

std::optional<FileStamp> FileStamp::OfPath(const QString &)
{
    return std::nullopt;
}

#endif
