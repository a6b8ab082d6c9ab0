#include "cli/ExtractLinksCommand.h"

#include "cli/CommandLine.h"
#include "linktools/LinkExtractor.h"
#include "settings/ProgramSettings.h"

#include <QCommandLineParser>
#include <QFile>

int ExtractLinksCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("extract-links");
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("image-host"), QStringLiteral("The host that serves the pictures, for this run."),
                      QStringLiteral("HOST")});
    parser.addOption({QStringLiteral("account"),
                      QStringLiteral("The account number whose pictures are picked out, for this run."),
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
    QString imageHost;
    QString account;
    if (!CommandLine::Setting(parser, QStringLiteral("image-host"), settings, ProgramSettings::ImageHostKey, name,
                              &imageHost)
        || !CommandLine::Setting(parser, QStringLiteral("account"), settings, ProgramSettings::AccountKey, name,
                                 &account)) {
        return CommandLine::Usage;
    }
    QString home;
    QString error;
    if (!CommandLine::HomeFolder(parser, &home, &error)) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon extract-links: ") + error);
        return CommandLine::Unexpected;
    }

    QFile input;
    const bool opened = input.open(stdin, QIODevice::ReadOnly);
    const QByteArray page = opened ? input.readAll() : QByteArray();
    if (!opened || input.error() != QFileDevice::NoError) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon extract-links: Cannot read standard input: ")
                                           + input.errorString());
        return CommandLine::Unexpected;
    }

    int count = 0;
    if (!LinkExtractor(imageHost, account).AppendUtf8ToUrlFile(home, page, &count, &error)) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon extract-links: ") + error);
        return CommandLine::Unexpected;
    }
    CommandLine::PrintAppended(count, QStringLiteral("address"), QStringLiteral("addresses"),
                               LinkExtractor::UrlFilePath(home));
    return CommandLine::Success;
}
