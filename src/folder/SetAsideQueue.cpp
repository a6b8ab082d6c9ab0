#include "folder/SetAsideQueue.h"

#include "folder/FileList.h"
#include "folder/FileOps.h"

#include <QDir>

#include <cerrno>

namespace SetAsideQueue {

QStringList Names(const QString &folder, QString *error)
{
    FileList list;
    list.SetFolder(folder);
    list.SetPattern(QString::fromLatin1(Pattern));
    if (!list.Refresh()) {
        *error = list.ErrorString();
        return {};
    }
    return list.Entries();
}

QString ReturnName(const QString &asideName, int n)
{
    return FileOps::NumberedName(asideName.endsWith(QStringLiteral("_!")) ? asideName.chopped(2) : asideName, n);
}

bool Requeue(const QString &folder, const QStringList &names, int *returned, QString *error)
{
    *returned = 0;
    const QDir dir(folder);
    for (const QString &aside : names) {
        int cause = EEXIST;
        QString name;
        for (int n = 1; cause == EEXIST && n < 10000; ++n) {
            name = ReturnName(aside, n);
            cause = FileOps::RenameWithoutReplacing(dir.filePath(aside), dir.filePath(name));
        }
        if (cause != 0) {
            *error = QStringLiteral("Cannot return %1 to the queue as %2: %3")
                         .arg(QDir::toNativeSeparators(dir.filePath(aside)), name, FileOps::SystemError(cause));
            return false;
        }
        ++*returned;
    }
    return true;
}

}
