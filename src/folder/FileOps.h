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
// Copies the plain files directly in sourceFolder whose names match the
// wildcard pattern (letter case ignored, hidden files left out) into
// destinationFolder, in name order, and stops at the first failure; those
// copied before it stay, counted in *copied. Each copy takes its target's
// name only once complete, so a failed copy leaves the old file whole.
// Finding no matching file is a failure too.
bool CopyFiles(const QString &sourceFolder, const QString &pattern, const QString &destinationFolder,
               bool overwrite, int *copied, QString *error);

}
