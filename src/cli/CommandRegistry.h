#pragma once

#include "settings/HomeLocation.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class Command;
class QCommandLineParser;
class StandardOutput;

// Every headless command by name, and the program's help around them.
class CommandRegistry
{
public:
    CommandRegistry();
    ~CommandRegistry();

    bool IsCommand(const QString &name) const;
    // Runs the command named by arguments[1]; arguments[0] is the program.
    int Run(const QStringList &arguments, StandardOutput &out) const;

    // --home and --help, which every command and the window take.
    static void AddCommonOptions(QCommandLineParser &parser);
    // The home folder --home names, else the one the home folder rule picks.
    static HomeLocation::Choice Home(const QCommandLineParser &parser);
    // The program's help: the window's options, then every command.
    QString ProgramHelp(const QCommandLineParser &windowParser) const;
    // The message, then the synopsis, on standard error; ExitStatus::Usage.
    int UsageError(StandardOutput &out, const QString &command, const QString &message) const;
    static QString WindowUsage();
    // QCommandLineParser's own text from its option list on.
    static QString OptionsPart(const QCommandLineParser &parser);
    static QString Footer();

private:
    Command *Find(const QString &name) const;
    QString Synopsis() const;

    std::vector<std::unique_ptr<Command>> m_commands;
};
