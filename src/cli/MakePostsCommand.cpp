#include "cli/MakePostsCommand.h"

#include "cli/CommandLine.h"
#include "linktools/PostMarkup.h"

#include <QCommandLineParser>

int MakePostsCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("make-posts");
    QCommandLineParser parser;
    CommandLine::AddHomeOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 0, &usage))
        return CommandLine::UsageError(name, usage);

    const QString home = CommandLine::HomeFolder(parser);
    qint64 count = 0;
    QString error;
    if (!PostMarkup::MakePosts(home, QString::fromLatin1(LinkExtractor::DefaultAccount), &count, &error)) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon make-posts: ") + error);
        return CommandLine::Unexpected;
    }
    CommandLine::PrintAppended(count, QStringLiteral("record"), QStringLiteral("records"),
                               PostMarkup::PostFilePath(home));
    return CommandLine::Success;
}
