#pragma once

#include "folder/FolderLock.h"
#include "settings/SettingKey.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class CommandRegistry;
class ProgramSettings;
class QCommandLineParser;
class StandardOutput;

// One headless command. What every command shares is done here once: the
// options parsed, the help printed, the settings read and checked (an
// option given wins over the file), the home folder found and made.
class Command
{
public:
    virtual ~Command() = default;

    virtual QString Name() const = 0;
    // The synopsis line, "picaroon NAME ...".
    virtual QString Usage() const = 0;
    virtual QString Purpose() const = 0;

    int Execute(const QStringList &arguments, StandardOutput &out, const CommandRegistry &registry);

protected:
    struct Context
    {
        const QCommandLineParser &parser;
        // Read only for a command that takes settings.
        const ProgramSettings *settings;
        // The settings' values for this run, options applied.
        QHash<SettingKey, QString> values;
        QString home;
    };

    // The settings for which the command takes an option.
    virtual QList<SettingKey> Settings() const { return {}; }
    virtual void AddOptions(QCommandLineParser &parser) const;
    virtual qsizetype MaxArguments() const { return 0; }
    // Wrong usage found before anything is made; empty when there is none.
    virtual QString UsageProblem(const QCommandLineParser &parser, const ProgramSettings *settings) const;
    virtual int Run(const Context &context) = 0;

    StandardOutput &Out() const { return *m_out; }
    // "picaroon NAME: message" on standard error; ExitStatus::Unexpected.
    int Fail(const QString &message) const;
    // The same for work that a stop signal may have ended: ExitStatus::Stopped then.
    int Fail(const QString &message, bool stopped) const;
    // The message and the program's synopsis on standard error; ExitStatus::Usage.
    int UsageError(const QString &message) const;
    // The home folder's lock for the run; ExitStatus::Success when taken,
    // else the status, said on standard error.
    int HoldFolder(FolderLock &lock, const QString &home, FolderLock::Holder holder) const;
    // "N things appended to PATH", the report of the link commands.
    // counted: the text with the count put in and %1 left for the file.
    void PrintAppended(const QString &counted, const QString &path) const;

private:
    int PrintHelp(const QCommandLineParser &parser) const;
    // False, said on standard error, when the file cannot be read or a
    // value does not check; *status is then the exit status.
    bool ReadSettings(const QCommandLineParser &parser, const ProgramSettings &settings,
                      QHash<SettingKey, QString> *values, int *status) const;

    StandardOutput *m_out = nullptr;
    const CommandRegistry *m_registry = nullptr;
};
