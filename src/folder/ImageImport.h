#pragma once

#include <QString>

// The import of pictures from a folder the member chose into the image
// folder, for the window and the headless command alike.
namespace ImageImport {

// The chosen folder as the picker gives it (native separators, a root with
// its trailing separator) as the folder to read.
QString SourceFolder(const QString &chosen);
// Copies every "*.jpg" picture directly in the chosen folder into the image
// folder, replacing same-named ones. On failure the error names the trouble
// and the path; the pictures copied before it stay, counted in *copied.
bool CopyPictures(const QString &chosenFolder, const QString &imageFolder, int *copied, QString *error);

}
