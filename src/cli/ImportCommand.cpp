#include "cli/ImportCommand.h"

#include "cli/CommandLine.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/ImageImport.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

int Failure(const QString &message)
{
    CommandLine::PrintLine(stderr, QStringLiteral("picaroon import: ") + message);
    return CommandLine::Unexpected;
}

}

int ImportCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("import");
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder whose pictures are copied."));
    CommandLine::AddHomeOption(parser);
    CommandLine::AddHelpOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 1, &usage))
        return CommandLine::UsageError(name, usage);
    if (CommandLine::HelpAsked(parser))
        return CommandLine::PrintHelp(name, parser);
    const QStringList folders = parser.positionalArguments();
    if (folders.isEmpty() || folders.first().isEmpty())
        return CommandLine::UsageError(name, QStringLiteral("FOLDER is required"));

    FileList files;
    QString home;
    QString error;
    if (!CommandLine::HomeFolder(parser, &home, &error) || !ImageFolder::Prepare(home, files, &error))
        return Failure(error);

    CommandLine::PrintLine(stdout, QStringLiteral("Ждите, идет копирование..."));
    int copied = 0;
    const QString folder = QDir::toNativeSeparators(QDir(folders.first()).absolutePath());
    if (!ImageImport::CopyPictures(folder, files.Folder(), &copied, &error)) {
        const int status = Failure(error);
        // The window, too, replaces the waiting text rather than leave it.
        CommandLine::PrintLine(stdout, QStringLiteral("Копирование не удалось"));
        return status;
    }
    CommandLine::PrintLine(stdout, QStringLiteral("Файлы скопированы"));
    if (!files.Refresh())
        return Failure(files.ErrorString());
    CommandLine::PrintLine(stdout, QStringLiteral("Найдено файлов - %1").arg(files.Count()));
    return CommandLine::Success;
}
