#pragma once

#include <QString>

// The file-system operations the program performs on the image folder. Each
// failure comes back as a message that names the file and the cause.
namespace FileOps {

bool FolderExists(const QString &path);
bool CreateFolder(const QString &path, QString *error);
// force: also a read-only file.
bool DeleteFile(const QString &path, bool force, QString *error);
// a.jpg becomes a.jpg_!, replacing an earlier a.jpg_! in one atomic step:
// at no moment is the picture's content in neither name.
bool SetAside(const QString &path, QString *error);
QString SetAsideName(const QString &path);

}
