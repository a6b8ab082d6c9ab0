#include "cli/MakePostsCommand.h"

#include "cli/CommandLine.h"
#include "linktools/PostMarkup.h"

#include <QCommandLineParser>
#include <QDir>

int MakePostsCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("make-posts");
    QCommandLineParser parser;
    CommandLine::AddHomeOption(parser);
    if (!parser.parse(arguments))
        return CommandLine::UsageError(name, parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return CommandLine::UsageError(name, QStringLiteral("unexpected argument ") + parser.positionalArguments().first());

    const QString home = CommandLine::HomeFolder(parser);
    int count = 0;
    QString error;
    if (!PostMarkup::MakePosts(home, &count, &error)) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon make-posts: ") + error);
        return CommandLine::Unexpected;
    }
    CommandLine::PrintLine(stdout, QStringLiteral("%1 %2 appended to %3")
                                       .arg(count)
                                       .arg(count == 1 ? QStringLiteral("record") : QStringLiteral("records"),
                                            QDir::toNativeSeparators(PostMarkup::PostFilePath(home))));
    return CommandLine::Success;
}
