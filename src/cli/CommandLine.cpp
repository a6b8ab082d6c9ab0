#include "cli/CommandLine.h"

#include "cli/ExtractLinksCommand.h"
#include "cli/ImportCommand.h"
#include "cli/MakePostsCommand.h"
#include "cli/RequeueCommand.h"
#include "cli/UploadCommand.h"
#include "config/BuildSettings.h"
#include "settings/HomeLocation.h"
#include "settings/HostAddress.h"
#include "settings/ProgramSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace CommandLine {

namespace {

struct CommandHelp
{
    const char *name;
    const char *usage;
    const char *purpose;
};

const CommandHelp Commands[] = {
    {"upload", "picaroon upload [--login LOGIN] [--home DIR] [--host HOST[:PORT]] [--timeout SECONDS]",
     "Uploads every picture of the image folder, one after another, and prints every status text.\n"
     "The password comes from PICAROON_PASSWORD, else it is asked for when standard input is a\n"
     "terminal, else it is the first line of standard input."},
    {"extract-links", "picaroon extract-links [--home DIR] [--image-host HOST] [--account N] < page.html",
     "Appends the account's picture addresses in the photo-library page markup (UTF-8, read from\n"
     "standard input) to url.txt."},
    {"make-posts", "picaroon make-posts [--home DIR] [--account N]",
     "Appends a post record for every line of url.txt to base_url.txt."},
    {"import", "picaroon import FOLDER [--home DIR]", "Copies the *.jpg pictures of FOLDER into the image folder."},
    {"requeue", "picaroon requeue [--home DIR]", "Returns every set-aside picture to the image folder's queue."},
};

const char WindowUsage[] =
    "picaroon [--home DIR] [--host HOST[:PORT]] [--image-host HOST] [--account N] [--timeout SECONDS]";

QString Synopsis()
{
    QString text = QStringLiteral("usage: %1   (the window)\n").arg(QLatin1String(WindowUsage));
    for (const CommandHelp &command : Commands)
        text += QStringLiteral("       %1\n").arg(QLatin1String(command.usage));
    return text + QStringLiteral("picaroon --help and picaroon COMMAND --help tell more.\n");
}

// QCommandLineParser's own text from its option list on.
QString OptionsPart(const QCommandLineParser &parser)
{
    const QString text = parser.helpText();
    return text.mid(std::max<qsizetype>(0, text.indexOf(QStringLiteral("Options:"))));
}

QString Footer()
{
    return QStringLiteral("\nSettings: %1 (picaroon(1) lists its keys).\n")
        .arg(QDir::toNativeSeparators(ProgramSettings::DefaultPath()));
}

// The cause of the first write to standard output that failed; 0 while
// none has.
int StandardOutputError = 0;

int RunCommand(const QString &command, const QStringList &arguments)
{
    if (command == QLatin1String("upload"))
        return UploadCommand::Run(arguments.mid(1));
    if (command == QLatin1String("extract-links"))
        return ExtractLinksCommand::Run(arguments.mid(1));
    if (command == QLatin1String("make-posts"))
        return MakePostsCommand::Run(arguments.mid(1));
    if (command == QLatin1String("import"))
        return ImportCommand::Run(arguments.mid(1));
    if (command == QLatin1String("requeue"))
        return RequeueCommand::Run(arguments.mid(1));
    return UsageError(command, QStringLiteral("unknown command"));
}

}

bool IsCommand(const QString &name)
{
    return std::any_of(std::begin(Commands), std::end(Commands),
                       [&](const CommandHelp &command) { return name == QLatin1String(command.name); });
}

int Run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    return Finish(command, RunCommand(command, arguments));
}

int Finish(const QString &command, int status)
{
    // Output lost to a full disk or a closed descriptor must not pass for a
    // run that went well: whoever reads it would take it as complete.
    if (std::fflush(stdout) != 0 && StandardOutputError == 0)
        StandardOutputError = errno;
    if (std::ferror(stdout) && StandardOutputError == 0)
        StandardOutputError = EIO;
    if (StandardOutputError == 0)
        return status;
    const QString subject = command.isEmpty() ? QStringLiteral("picaroon") : QStringLiteral("picaroon ") + command;
    PrintLine(stderr, QStringLiteral("%1: Cannot write standard output: %2")
                          .arg(subject, QString::fromLocal8Bit(std::strerror(StandardOutputError))));
    return status == Success ? Unexpected : status;
}

void AddHomeOption(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("home"),
                      QStringLiteral("The folder that holds img/, url.txt and base_url.txt."),
                      QStringLiteral("DIR")});
}

bool HomeFolder(const QCommandLineParser &parser, QString *home, QString *error)
{
    const HomeLocation::Choice choice = HomeLocation::Choose(
        parser.isSet(QStringLiteral("home")) ? parser.value(QStringLiteral("home")) : QString(),
        QCoreApplication::applicationDirPath());
    *home = choice.folder;
    return HomeLocation::Prepare(choice, error);
}

bool ParseHost(const QString &text, QString *host, quint16 *port)
{
    HostAddress address;
    QString problem;
    if (!HostAddress::Parse(text, true, &address, &problem))
        return false;
    *host = address.Host();
    *port = address.Port();
    return true;
}

void AddHelpOption(QCommandLineParser &parser)
{
    parser.addOption({{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")});
}

bool HelpAsked(const QCommandLineParser &parser)
{
    return parser.isSet(QStringLiteral("help"));
}

int PrintHelp(const QString &command, const QCommandLineParser &parser)
{
    for (const CommandHelp &known : Commands) {
        if (command == QLatin1String(known.name)) {
            PrintLine(stdout, QStringLiteral("Usage: %1\n\n%2\n\n%3%4")
                                  .arg(QLatin1String(known.usage), QLatin1String(known.purpose), OptionsPart(parser),
                                       Footer())
                                  .chopped(1));
            return Success;
        }
    }
    PrintLine(stdout, ProgramHelp(parser).chopped(1));
    return Success;
}

QString ProgramHelp(const QCommandLineParser &windowParser)
{
    QString text = QStringLiteral("Usage: %1\n       picaroon COMMAND [options]\n\n"
                                  "Uploads the JPEG pictures of the image folder to the blogging service's photo\n"
                                  "library. Without a command it opens the window.\n\n")
                       .arg(QLatin1String(WindowUsage));
    text += OptionsPart(windowParser) + QStringLiteral("\nCommands:\n");
    for (const CommandHelp &command : Commands)
        text += QStringLiteral("  %1\n").arg(QLatin1String(command.usage));
    return text + QStringLiteral("\npicaroon COMMAND --help tells a command's options.") + Footer();
}

int PrintVersion()
{
    PrintLine(stdout, QStringLiteral("picaroon %1").arg(QLatin1String(BuildSettings::Version)));
    return Success;
}

bool SettingsReadable(const QString &command, const ProgramSettings &settings)
{
    if (settings.ReadProblem().isEmpty())
        return true;
    PrintLine(stderr, QStringLiteral("picaroon %1: %2").arg(command, settings.ReadProblem()));
    return false;
}

bool Setting(const QCommandLineParser &parser, const QString &option, const ProgramSettings &settings,
             const char *key, const QString &command, QString *value)
{
    if (parser.isSet(option)) {
        *value = parser.value(option);
        const QString problem = ProgramSettings::Check(key, *value);
        if (problem.isEmpty())
            return true;
        UsageError(command, QStringLiteral("--%1: %2").arg(option, problem));
        return false;
    }
    const QString problem = settings.Problem(key);
    if (!problem.isEmpty()) {
        PrintLine(stderr, QStringLiteral("picaroon %1: %2 in %3: %4")
                              .arg(command, QLatin1String(key), QDir::toNativeSeparators(settings.Path()), problem));
        return false;
    }
    *value = settings.Value(key);
    return true;
}

bool Parse(QCommandLineParser &parser, const QStringList &arguments, qsizetype maxArguments, QString *error)
{
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    const QStringList extra = parser.positionalArguments().mid(maxArguments);
    if (!extra.isEmpty()) {
        *error = QStringLiteral("unexpected argument ") + extra.first();
        return false;
    }
    return true;
}

void PrintAppended(qint64 count, const QString &one, const QString &many, const QString &path)
{
    PrintLine(stdout, QStringLiteral("%1 %2 appended to %3")
                          .arg(count)
                          .arg(count == 1 ? one : many, QDir::toNativeSeparators(path)));
}

int UsageError(const QString &command, const QString &message)
{
    const QString subject = command.isEmpty() ? QStringLiteral("picaroon") : QStringLiteral("picaroon ") + command;
    PrintLine(stderr, subject + QStringLiteral(": ") + message);
    std::fputs(Synopsis().toUtf8().constData(), stderr);
    return Usage;
}

void PrintLine(FILE *stream, const QString &text)
{
    const QByteArray line = text.toUtf8() + '\n';
    const bool written = std::fwrite(line.constData(), 1, size_t(line.size()), stream) == size_t(line.size())
        && std::fflush(stream) == 0;
    if (!written && stream == stdout && StandardOutputError == 0)
        StandardOutputError = errno != 0 ? errno : EIO;
}

}
