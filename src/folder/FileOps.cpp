#include "folder/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path NativePath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdU16String());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}

namespace FileOps {

bool FolderExists(const QString &path)
{
    return QFileInfo(path).isDir();
}

bool CreateFolder(const QString &path, QString *error)
{
    std::error_code ec;
    std::filesystem::create_directory(NativePath(path), ec);
    if (ec) {
        *error = QStringLiteral("Cannot create the folder %1: %2")
                     .arg(QDir::toNativeSeparators(path), QString::fromStdString(ec.message()));
        return false;
    }
    return true;
}

bool DeleteFile(const QString &path, bool force, QString *error)
{
    QFile file(path);
#ifdef Q_OS_WIN
    // Windows refuses to delete a read-only file; POSIX asks only the folder.
    if (force && !(file.permissions() & QFile::WriteUser))
        file.setPermissions(file.permissions() | QFile::WriteUser);
#else
    Q_UNUSED(force);
#endif
    if (file.remove())
        return true;
    // The aim is that the file is gone; someone beating us to it is no fault.
    if (!QFileInfo::exists(path))
        return true;
    *error = QStringLiteral("Cannot delete %1: %2")
                 .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

QString SetAsideName(const QString &path)
{
    return path + QStringLiteral("_!");
}

bool SetAside(const QString &path, QString *error)
{
    std::error_code ec;
    std::filesystem::rename(NativePath(path), NativePath(SetAsideName(path)), ec);
    if (ec) {
        *error = QStringLiteral("Cannot set %1 aside as %2: %3")
                     .arg(QDir::toNativeSeparators(path),
                          QFileInfo(SetAsideName(path)).fileName(),
                          QString::fromStdString(ec.message()));
        return false;
    }
    return true;
}

}
