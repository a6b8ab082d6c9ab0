#include "folder/SetAsideQueue.h"

#include "folder/FileOps.h"
#include "folder/FolderListing.h"
#include "folder/NameFilter.h"
#include "folder/PlainFile.h"

#include <QDir>
#include <QCoreApplication>

namespace SetAsideQueue {

QStringList Names(const QString &folder, QString *error)
{
    QStringList names;
    int cause = 0;
    if (!FolderListing::Read(folder, NameFilter(QString::fromLatin1(Pattern)), FolderListing::Kind::AllButFolders,
                             &names, &cause)) {
        *error = QCoreApplication::translate("SetAsideQueue", "Cannot list the folder %1: %2")
                     .arg(PlainFile::Shown(folder), PlainFile::SystemError(cause));
    }
    return names;
}

QString ReturnName(const QString &asideName, int n)
{
    return FileOps::NumberedName(asideName.endsWith(QStringLiteral("_!")) ? asideName.chopped(2) : asideName, n);
}

bool Requeue(const QString &folder, const QStringList &names, int *returned, QStringList *troubles)
{
    *returned = 0;
    const QDir dir(folder);
    for (const QString &aside : names) {
        QString name;
        const int cause = FileOps::RenameToFree(dir.filePath(aside), folder,
                                                [&](int n) { return ReturnName(aside, n); }, &name);
        if (cause == 0)
            ++*returned;
        else
            troubles->append(QCoreApplication::translate("SetAsideQueue", "Cannot return %1 to the queue as %2: %3")
                                 .arg(PlainFile::Shown(dir.filePath(aside)), name, PlainFile::SystemError(cause)));
    }
    return troubles->isEmpty();
}

}
