#pragma once

#include <QString>

class FileList;

// The image folder "img" under the home folder: the only place pictures are
// uploaded from, and where the import copies to.
namespace ImageFolder {

inline constexpr char Pattern[] = "*.jpg;*.jpeg";

QString PathIn(const QString &home);
// Creates the folder when missing, points the list at it and reads it.
bool Prepare(const QString &home, FileList &files, QString *error);

}
