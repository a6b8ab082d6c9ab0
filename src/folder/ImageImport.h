#pragma once

#include "folder/FileOps.h"

#include <QString>

#include <functional>

// The import of pictures from a folder the member chose into the image
// folder, for the window and the headless command alike.
namespace ImageImport {

// The chosen folder as the picker gives it (native separators, a root with
// its trailing separator) as the folder to read.
QString SourceFolder(const QString &chosen);
// How many pictures CopyPictures would take from the chosen folder; 0 when
// it cannot be read (the copy then names why).
int PictureCount(const QString &chosenFolder);
// Copies every ".jpg" and ".jpeg" picture directly in the chosen folder into
// the image folder, never replacing a queued one (FileOps::CopyFiles). On
// failure or a stop the error names the trouble and the path; the pictures
// copied before it stay, counted in *tally.
bool CopyPictures(const QString &chosenFolder, const QString &imageFolder, const std::function<bool()> &stopped,
                  FileOps::CopyTally *tally, QString *error);

}
