#include "cli/RequeueCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StandardOutput.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/SetAsideQueue.h"

int RequeueCommand::Run(const Context &context)
{
    FileList files;
    QString error;
    int returned = 0;
    if (!ImageFolder::Prepare(context.home, files, &error)
        || !SetAsideQueue::Requeue(files.Folder(), SetAsideQueue::Names(files.Folder(), &error), &returned, &error)
        || !error.isEmpty()) {
        if (returned > 0)
            Out().Line(QStringLiteral("Возвращено в очередь: %1").arg(returned));
        return Fail(error);
    }
    Out().Line(QStringLiteral("Возвращено в очередь: %1").arg(returned));
    return ExitStatus::Success;
}
