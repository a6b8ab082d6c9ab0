#include "folder/ImageImport.h"

#include "folder/ImageFolder.h"

#include <QDir>

namespace ImageImport {

QString SourceFolder(const QString &chosen)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(chosen));
}

bool CopyPictures(const QString &chosenFolder, const QString &imageFolder, const std::function<bool()> &stopped,
                  FileOps::CopyTally *tally, QString *error)
{
    const int before = tally->copied;
    if (FileOps::CopyFiles(SourceFolder(chosenFolder), QString::fromLatin1(ImageFolder::Pattern), imageFolder,
                           stopped, tally, error)) {
        return true;
    }
    // The member should know that nothing needs copying twice.
    const int copied = tally->copied - before;
    if (copied == 1)
        *error += QStringLiteral(" (the picture copied before it stays in the image folder)");
    else if (copied > 1)
        *error += QStringLiteral(" (the %1 pictures copied before it stay in the image folder)").arg(copied);
    return false;
}

}
