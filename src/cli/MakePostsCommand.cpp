#include "cli/MakePostsCommand.h"

#include "cli/CommandLine.h"
#include "linktools/PostMarkup.h"
#include "settings/ProgramSettings.h"

#include <QCommandLineParser>

int MakePostsCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("make-posts");
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("account"),
                      QStringLiteral("The account number whose picture directory gets thumb/, for this run."),
                      QStringLiteral("N")});
    CommandLine::AddHomeOption(parser);
    CommandLine::AddHelpOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 0, &usage))
        return CommandLine::UsageError(name, usage);
    if (CommandLine::HelpAsked(parser))
        return CommandLine::PrintHelp(name, parser);
    const ProgramSettings settings;
    if (!CommandLine::SettingsReadable(name, settings))
        return CommandLine::Unexpected;
    QString account;
    if (!CommandLine::Setting(parser, QStringLiteral("account"), settings, ProgramSettings::AccountKey, name, &account))
        return CommandLine::Usage;

    QString home;
    qint64 count = 0;
    QString error;
    if (!CommandLine::HomeFolder(parser, &home, &error) || !PostMarkup::MakePosts(home, account, &count, &error)) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon make-posts: ") + error);
        return CommandLine::Unexpected;
    }
    CommandLine::PrintAppended(count, QStringLiteral("record"), QStringLiteral("records"),
                               PostMarkup::PostFilePath(home));
    return CommandLine::Success;
}
