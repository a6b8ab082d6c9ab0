#include "cli/RequeueCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StandardOutput.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/SetAsideQueue.h"

#include <QCoreApplication>

int RequeueCommand::Run(const Context &context)
{
    FileList files;
    QString error;
    if (!ImageFolder::Prepare(context.home, files, &error))
        return Fail(error);
    const QStringList names = SetAsideQueue::Names(files.Folder(), &error);
    if (!error.isEmpty())
        return Fail(error);
    int returned = 0;
    QStringList troubles;
    SetAsideQueue::Requeue(files.Folder(), names, &returned, &troubles);
    Out().Line(QCoreApplication::translate("RequeueCommand", "Returned to the queue: %1").arg(returned));
    for (const QString &trouble : troubles)
        Fail(trouble);
    return troubles.isEmpty() ? ExitStatus::Success : ExitStatus::LeftSomething;
}
