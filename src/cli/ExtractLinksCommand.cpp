#include "cli/ExtractLinksCommand.h"

#include "cli/CommandLine.h"
#include "config/BuildSettings.h"
#include "linktools/LinkExtractor.h"

#include <QCommandLineParser>
#include <QFile>

int ExtractLinksCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("extract-links");
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("image-host"), QStringLiteral("The host that serves the pictures."),
                      QStringLiteral("HOST")});
    CommandLine::AddHomeOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 0, &usage))
        return CommandLine::UsageError(name, usage);
    QString imageHost = QString::fromLatin1(BuildSettings::ImageHost);
    if (parser.isSet(QStringLiteral("image-host")))
        imageHost = parser.value(QStringLiteral("image-host"));
    if (imageHost.isEmpty())
        return CommandLine::UsageError(name, QStringLiteral("--image-host wants a host name"));

    QFile input;
    const bool opened = input.open(stdin, QIODevice::ReadOnly);
    const QByteArray page = opened ? input.readAll() : QByteArray();
    if (!opened || input.error() != QFileDevice::NoError) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon extract-links: Cannot read standard input: ")
                                           + input.errorString());
        return CommandLine::Unexpected;
    }

    const QString home = CommandLine::HomeFolder(parser);
    int count = 0;
    QString error;
    if (!LinkExtractor(imageHost).AppendUtf8ToUrlFile(home, page, &count, &error)) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon extract-links: ") + error);
        return CommandLine::Unexpected;
    }
    CommandLine::PrintAppended(count, QStringLiteral("address"), QStringLiteral("addresses"),
                               LinkExtractor::UrlFilePath(home));
    return CommandLine::Success;
}
