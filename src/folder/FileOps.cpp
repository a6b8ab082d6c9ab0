#include "folder/FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
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

QString QtPath(const std::filesystem::path &path)
{
#ifdef Q_OS_WIN
    return QString::fromStdU16String(path.u16string());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString Shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

bool NameLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

bool ListMatching(const QString &folder, const QString &pattern, QStringList *names, QString *error)
{
    const QRegularExpression matcher(QRegularExpression::wildcardToRegularExpression(pattern),
                                     QRegularExpression::CaseInsensitiveOption);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(NativePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const QString name = QtPath(it->path().filename());
        std::error_code typeError;
        // A named pipe would block the read, and a folder is not a picture.
        if (!name.startsWith(QLatin1Char('.')) && matcher.match(name).hasMatch() && it->is_regular_file(typeError))
            names->append(name);
    }
    if (ec) {
        *error = QStringLiteral("Cannot read the folder %1: %2").arg(Shown(folder), QString::fromStdString(ec.message()));
        return false;
    }
    std::sort(names->begin(), names->end(), NameLess);
    return true;
}

bool CopyOne(const QString &from, const QString &to, bool overwrite, QString *error)
{
    const bool replacing = QFileInfo(to).exists() || QFileInfo(to).isSymLink();
    if (replacing && !overwrite) {
        *error = QStringLiteral("Cannot copy %1: %2 already exists").arg(Shown(from), Shown(to));
        return false;
    }
    const QString targetTrouble = replacing ? QStringLiteral("Cannot replace %1: %2") : QStringLiteral("Cannot write %1: %2");
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(Shown(from), source.errorString());
        return false;
    }
    // Writes to a temporary name and renames it over the target on commit;
    // until then, and after any failure, the target is untouched.
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        *error = targetTrouble.arg(Shown(to), target.errorString());
        return false;
    }
    char buffer[64 * 1024];
    for (qint64 got; (got = source.read(buffer, sizeof buffer)) != 0;) {
        if (got < 0) {
            *error = QStringLiteral("Cannot read %1: %2").arg(Shown(from), source.errorString());
            return false;
        }
        if (target.write(buffer, got) != got) {
            *error = targetTrouble.arg(Shown(to), target.errorString());
            return false;
        }
    }
    if (!target.commit()) {
        *error = targetTrouble.arg(Shown(to), target.errorString());
        return false;
    }
    return true;
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
                     .arg(Shown(path), QString::fromStdString(ec.message()));
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
                 .arg(Shown(path), file.errorString());
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
                     .arg(Shown(path),
                          QFileInfo(SetAsideName(path)).fileName(),
                          QString::fromStdString(ec.message()));
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
    std::error_code ec;
    if (std::filesystem::equivalent(NativePath(sourceFolder), NativePath(destinationFolder), ec)) {
        *error = QStringLiteral("Cannot copy the files of %1 onto themselves: it is the folder they would be copied into")
                     .arg(Shown(sourceFolder));
        return false;
    }
    const QDir from(sourceFolder);
    const QDir to(destinationFolder);
    for (const QString &name : names) {
        if (!CopyOne(from.filePath(name), to.filePath(name), overwrite, error))
            return false;
        ++*copied;
    }
    return true;
}

}
