#include "cli/ImportCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StandardOutput.h"
#include "cli/StopSignals.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/ImportRun.h"

#include <QCommandLineParser>
#include <QDir>
#include <QCoreApplication>

void ImportCommand::AddOptions(QCommandLineParser &parser) const
{
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QCoreApplication::translate("ImportCommand", "The folder whose pictures are copied."));
}

QString ImportCommand::UsageProblem(const QCommandLineParser &parser, const ProgramSettings *) const
{
    const QStringList folders = parser.positionalArguments();
    return folders.isEmpty() || folders.first().isEmpty()
               ? QCoreApplication::translate("ImportCommand", "FOLDER is required")
               : QString();
}

int ImportCommand::Run(const Context &context)
{
    FileList files;
    QString error;
    if (!ImageFolder::Prepare(context.home, files, &error))
        return Fail(error);
    FolderLock folderLock;
    if (const int status = HoldFolder(folderLock, context.home, FolderLock::Holder::Import))
        return status;
    StopSignals stopSignals;
    ImportRun import(files);
    import.SetStopCheck([&stopSignals] { return stopSignals.Requested(); });
    QObject::connect(&import, &ImportRun::StatusChanged, &import, [this](const QString &text) { Out().Line(text); });
    const QString folder = QDir::toNativeSeparators(QDir(context.parser.positionalArguments().first()).absolutePath());
    if (import.Run({folder}, {}, &error))
        return ExitStatus::Success;
    return Fail(error, import.Stopped());
}
