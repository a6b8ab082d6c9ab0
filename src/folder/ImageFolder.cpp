#include "folder/ImageFolder.h"

#include "folder/FileList.h"
#include "folder/FileOps.h"

#include <QDir>

namespace ImageFolder {

QString PathIn(const QString &home)
{
    return QDir(home).filePath(QStringLiteral("img"));
}

bool Prepare(const QString &home, FileList &files, QString *error)
{
    const QString folder = PathIn(home);
    if (!FileOps::FolderExists(folder) && !FileOps::CreateFolder(folder, error))
        return false;
    files.SetFolder(folder);
    files.SetPattern(QString::fromLatin1(Pattern));
    if (!files.Refresh()) {
        *error = files.ErrorString();
        return false;
    }
    return true;
}

}
