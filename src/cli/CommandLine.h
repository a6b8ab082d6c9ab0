#pragma once

#include <QString>
#include <QStringList>

class QCommandLineParser;

// What the headless commands share: their exit statuses, the home folder
// option and the error output.
namespace CommandLine {

enum ExitStatus {
    Success = 0,
    Unexpected = 1,
    Usage = 2,
    Refused = 3,
    SocketError = 4,
    Stopped = 5,
    // The run went to its end, but some pictures were set aside or passed over.
    LeftSomething = 6,
};

// Names the commands a program argument list may start with.
bool IsCommand(const QString &name);
// Runs the command named by arguments[1]; arguments[0] is the program.
// When any write to standard output failed, says so on standard error and
// turns the command's success into Unexpected.
int Run(const QStringList &arguments);

void AddHomeOption(QCommandLineParser &parser);
// The folder that holds img/, url.txt and base_url.txt: --home, else the
// program's own folder.
QString HomeFolder(const QCommandLineParser &parser);
// "HOST" or "HOST:PORT" or "[V6]:PORT"; false when the port is no port.
bool ParseHost(const QString &text, QString *host, quint16 *port);
// Parses the options and allows at most maxArguments arguments after them;
// *error says what is wrong otherwise.
bool Parse(QCommandLineParser &parser, const QStringList &arguments, qsizetype maxArguments, QString *error);
int UsageError(const QString &command, const QString &message);
// "N things appended to PATH", the report of the link commands.
void PrintAppended(qint64 count, const QString &one, const QString &many, const QString &path);
// Notes a failed write to standard output for Run to report.
void PrintLine(FILE *stream, const QString &text);

}
