#include "cli/ImportCommand.h"

#include "cli/ExitStatus.h"
#include "cli/StandardOutput.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "folder/ImageImport.h"

#include <QCommandLineParser>
#include <QDir>

void ImportCommand::AddOptions(QCommandLineParser &parser) const
{
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder whose pictures are copied."));
}

QString ImportCommand::UsageProblem(const QCommandLineParser &parser, const ProgramSettings *) const
{
    const QStringList folders = parser.positionalArguments();
    return folders.isEmpty() || folders.first().isEmpty() ? QStringLiteral("FOLDER is required") : QString();
}

int ImportCommand::Run(const Context &context)
{
    FileList files;
    QString error;
    if (!ImageFolder::Prepare(context.home, files, &error))
        return Fail(error);

    Out().Line(QStringLiteral("Ждите, идет копирование..."));
    int copied = 0;
    const QString folder = QDir::toNativeSeparators(QDir(context.parser.positionalArguments().first()).absolutePath());
    if (!ImageImport::CopyPictures(folder, files.Folder(), &copied, &error)) {
        const int status = Fail(error);
        // The window, too, replaces the waiting text rather than leave it.
        Out().Line(QStringLiteral("Копирование не удалось"));
        return status;
    }
    Out().Line(QStringLiteral("Файлы скопированы"));
    if (!files.Refresh())
        return Fail(files.ErrorString());
    Out().Line(QStringLiteral("Найдено файлов - %1").arg(files.Count()));
    return ExitStatus::Success;
}
