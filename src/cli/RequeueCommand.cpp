#include "cli/RequeueCommand.h"

#include "cli/CommandLine.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/SetAsideQueue.h"

#include <QCommandLineParser>

int RequeueCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("requeue");
    QCommandLineParser parser;
    CommandLine::AddHomeOption(parser);
    CommandLine::AddHelpOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 0, &usage))
        return CommandLine::UsageError(name, usage);
    if (CommandLine::HelpAsked(parser))
        return CommandLine::PrintHelp(name, parser);

    FileList files;
    QString home;
    QString error;
    int returned = 0;
    if (!CommandLine::HomeFolder(parser, &home, &error) || !ImageFolder::Prepare(home, files, &error)
        || !SetAsideQueue::Requeue(files.Folder(), SetAsideQueue::Names(files.Folder(), &error), &returned, &error)
        || !error.isEmpty()) {
        if (returned > 0)
            CommandLine::PrintLine(stdout, QStringLiteral("Возвращено в очередь: %1").arg(returned));
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon requeue: ") + error);
        return CommandLine::Unexpected;
    }
    CommandLine::PrintLine(stdout, QStringLiteral("Возвращено в очередь: %1").arg(returned));
    return CommandLine::Success;
}
