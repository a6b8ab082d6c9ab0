#include "folder/ImageImport.h"

#include "folder/FolderListing.h"
#include "folder/ImageFolder.h"
#include "folder/NameFilter.h"

#include <QCoreApplication>
#include <QDir>

namespace ImageImport {

QString SourceFolder(const QString &chosen)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(chosen));
}

int PictureCount(const QString &chosenFolder)
{
    QStringList names;
    int cause = 0;
    const NameFilter pictures(QString::fromLatin1(ImageFolder::Pattern));
    FolderListing::Read(SourceFolder(chosenFolder), pictures, FolderListing::Kind::PlainFiles, &names, &cause);
    return int(names.size());
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
    if (copied > 0) {
        *error += QCoreApplication::translate(
            "ImageImport", " (the %n picture(s) copied before it stay in the image folder)", nullptr, copied);
    }
    return false;
}

}
