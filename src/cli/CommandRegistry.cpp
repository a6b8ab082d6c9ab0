#include "cli/CommandRegistry.h"

#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "cli/ExtractLinksCommand.h"
#include "cli/ImportCommand.h"
#include "cli/MakePostsCommand.h"
#include "cli/RequeueCommand.h"
#include "cli/StandardOutput.h"
#include "cli/UploadCommand.h"
#include "folder/PlainFile.h"
#include "settings/ProgramSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>

CommandRegistry::CommandRegistry()
{
    m_commands.push_back(std::make_unique<UploadCommand>());
    m_commands.push_back(std::make_unique<ExtractLinksCommand>());
    m_commands.push_back(std::make_unique<MakePostsCommand>());
    m_commands.push_back(std::make_unique<ImportCommand>());
    m_commands.push_back(std::make_unique<RequeueCommand>());
}

CommandRegistry::~CommandRegistry() = default;

Command *CommandRegistry::Find(const QString &name) const
{
    for (const auto &command : m_commands) {
        if (command->Name() == name)
            return command.get();
    }
    return nullptr;
}

bool CommandRegistry::IsCommand(const QString &name) const
{
    return Find(name) != nullptr;
}

int CommandRegistry::Run(const QStringList &arguments, StandardOutput &out) const
{
    const QString name = arguments.value(1);
    Command *command = Find(name);
    const int status = command
                           ? command->Execute(arguments.mid(1), out, *this)
                           : UsageError(out, name, QCoreApplication::translate("CommandRegistry", "unknown command"));
    return out.Finish(name.isEmpty() ? QStringLiteral("picaroon") : QStringLiteral("picaroon ") + name, status);
}

void CommandRegistry::AddCommonOptions(QCommandLineParser &parser)
{
    parser.addOption(
        {QStringLiteral("home"),
         QCoreApplication::translate("CommandRegistry", "The folder that holds img/, url.txt and base_url.txt."),
         QStringLiteral("DIR")});
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")},
                      QCoreApplication::translate("CommandRegistry", "Shows this help.")});
}

HomeLocation::Choice CommandRegistry::Home(const QCommandLineParser &parser)
{
    return HomeLocation::Choose(parser.isSet(QStringLiteral("home")) ? parser.value(QStringLiteral("home")) : QString(),
                                QCoreApplication::applicationDirPath());
}

QString CommandRegistry::WindowUsage()
{
    return QStringLiteral(
        "picaroon [--home DIR] [--host HOST[:PORT]] [--image-host HOST] [--account N] [--timeout SECONDS]"
        " [--retry-for SECONDS] [--connections N] [--max-side PIXELS] [--quality N] [--keep-location]");
}

QString CommandRegistry::Synopsis() const
{
    QString text = QCoreApplication::translate("CommandRegistry", "usage: %1   (the window)\n").arg(WindowUsage());
    for (const auto &command : m_commands)
        text += QStringLiteral("       %1\n").arg(command->Usage());
    return text
           + QCoreApplication::translate("CommandRegistry", "picaroon --help and picaroon COMMAND --help tell more.\n");
}

QString CommandRegistry::OptionsPart(const QCommandLineParser &parser)
{
    const QString text = parser.helpText();
    return text.mid(
        std::max<qsizetype>(0, text.indexOf(QCoreApplication::translate("QCommandLineParser", "Options:"))));
}

QString CommandRegistry::Footer()
{
    return QCoreApplication::translate("CommandRegistry", "\nSettings: %1 (picaroon(1) lists its keys).\n")
        .arg(PlainFile::Shown(ProgramSettings::DefaultPath()));
}

QString CommandRegistry::ProgramHelp(const QCommandLineParser &windowParser) const
{
    QString text
        = QCoreApplication::translate("CommandRegistry",
                                      "Usage: %1\n       picaroon COMMAND [options]\n\n"
                                      "Uploads the JPEG pictures of the image folder to the blogging service's photo\n"
                                      "library. Without a command it opens the window.\n\n")
              .arg(WindowUsage());
    text += OptionsPart(windowParser) + QCoreApplication::translate("CommandRegistry", "\nCommands:\n");
    for (const auto &command : m_commands)
        text += QStringLiteral("  %1\n").arg(command->Usage());
    return text + QCoreApplication::translate("CommandRegistry", "\npicaroon COMMAND --help tells a command's options.")
           + Footer();
}

int CommandRegistry::UsageError(StandardOutput &out, const QString &command, const QString &message) const
{
    const QString subject = command.isEmpty() ? QStringLiteral("picaroon") : QStringLiteral("picaroon ") + command;
    out.Error(subject + QStringLiteral(": ") + message);
    out.ErrorText(Synopsis());
    return ExitStatus::Usage;
}
