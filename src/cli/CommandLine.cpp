#include "cli/CommandLine.h"

#include "cli/ExtractLinksCommand.h"
#include "cli/ImportCommand.h"
#include "cli/MakePostsCommand.h"
#include "cli/RequeueCommand.h"
#include "cli/UploadCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace CommandLine {

namespace {

const char Synopsis[] =
    "usage: picaroon [--home DIR] [--host HOST[:PORT]] [--image-host HOST]   (the window)\n"
    "       picaroon upload --login LOGIN [--home DIR] [--host HOST[:PORT]] [--timeout SECONDS]\n"
    "       picaroon extract-links [--home DIR] [--image-host HOST]\n"
    "       picaroon make-posts [--home DIR]\n"
    "       picaroon import FOLDER [--home DIR]\n"
    "       picaroon requeue [--home DIR]\n"
    "The password comes from PICAROON_PASSWORD, else from the first line of standard input.\n"
    "extract-links reads the photo-library page markup (UTF-8) from standard input.\n";

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
    return name == QLatin1String("upload") || name == QLatin1String("extract-links")
        || name == QLatin1String("make-posts") || name == QLatin1String("import")
        || name == QLatin1String("requeue");
}

int Run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    const int status = RunCommand(command, arguments);
    // Output lost to a full disk or a closed descriptor must not pass for a
    // run that went well: whoever reads it would take it as complete.
    if (std::fflush(stdout) != 0 && StandardOutputError == 0)
        StandardOutputError = errno;
    if (std::ferror(stdout) && StandardOutputError == 0)
        StandardOutputError = EIO;
    if (StandardOutputError == 0)
        return status;
    PrintLine(stderr, QStringLiteral("picaroon %1: Cannot write standard output: %2")
                          .arg(command, QString::fromLocal8Bit(std::strerror(StandardOutputError))));
    return status == Success ? Unexpected : status;
}

void AddHomeOption(QCommandLineParser &parser)
{
    parser.addOption({QStringLiteral("home"),
                      QStringLiteral("The folder that holds img/, url.txt and base_url.txt."),
                      QStringLiteral("DIR")});
}

QString HomeFolder(const QCommandLineParser &parser)
{
    if (parser.isSet(QStringLiteral("home")))
        return QDir(parser.value(QStringLiteral("home"))).absolutePath();
    return QCoreApplication::applicationDirPath();
}

bool ParseHost(const QString &text, QString *host, quint16 *port)
{
    QString name = text;
    QString portText;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        name = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':')))
            return false;
        portText = rest.mid(1);
    } else if (text.count(QLatin1Char(':')) == 1) {
        name = text.section(QLatin1Char(':'), 0, 0);
        portText = text.section(QLatin1Char(':'), 1);
    }
    if (name.isEmpty())
        return false;
    *host = name;
    *port = 80;
    if (portText.isNull())
        return true;
    bool ok = false;
    const uint number = portText.toUInt(&ok);
    if (!ok || number == 0 || number > 65535)
        return false;
    *port = quint16(number);
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
    std::fputs(Synopsis, stderr);
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
