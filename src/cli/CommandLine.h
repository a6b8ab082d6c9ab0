#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

class ProgramSettings;
class QCommandLineParser;

// What the headless commands share: their exit statuses, the home folder,
// the options that stand in for settings, help and the error output.
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
// What Run does after the command, for output written outside a command.
int Finish(const QString &command, int status);

void AddHomeOption(QCommandLineParser &parser);
// The folder that holds img/, url.txt and base_url.txt: --home, else beside
// the program, else the user's data folder, made when missing. False with
// *error when it could not be made.
bool HomeFolder(const QCommandLineParser &parser, QString *home, QString *error);
// "HOST" or "HOST:PORT" or "[V6]:PORT"; false when it is no address.
bool ParseHost(const QString &text, QString *host, quint16 *port);
// -h, --help for every command.
void AddHelpOption(QCommandLineParser &parser);
// Parses the options and allows at most maxArguments arguments after them;
// *error says what is wrong otherwise.
bool Parse(QCommandLineParser &parser, const QStringList &arguments, qsizetype maxArguments, QString *error);
bool HelpAsked(const QCommandLineParser &parser);
// The command's help on standard output; empty command: the program's,
// the window's options and every command.
int PrintHelp(const QString &command, const QCommandLineParser &parser);
int PrintVersion();
QString ProgramHelp(const QCommandLineParser &windowParser);
// The settings file, or Unexpected said on standard error when it could
// not be read.
bool SettingsReadable(const QString &command, const ProgramSettings &settings);
// A setting's value for this run: the option when given, else the stored
// value, else the build's. False, said on standard error, when the option
// or the stored value does not check: then the command ends with Usage.
bool Setting(const QCommandLineParser &parser, const QString &option, const ProgramSettings &settings,
             const char *key, const QString &command, QString *value);
int UsageError(const QString &command, const QString &message);
// "N things appended to PATH", the report of the link commands.
void PrintAppended(qint64 count, const QString &one, const QString &many, const QString &path);
// Notes a failed write to standard output for Run to report.
void PrintLine(FILE *stream, const QString &text);

}
