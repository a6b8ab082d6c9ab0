#include "cli/Command.h"

#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/ServiceOptions.h"
#include "cli/StandardOutput.h"
#include "folder/PlainFile.h"
#include "settings/ProgramSettings.h"

#include <QCommandLineParser>

#include <optional>

int Command::Execute(const QStringList &arguments, StandardOutput &out, const CommandRegistry &registry)
{
    m_out = &out;
    m_registry = &registry;
    QCommandLineParser parser;
    AddOptions(parser);
    ServiceOptions::Add(parser, Settings());
    CommandRegistry::AddCommonOptions(parser);
    if (!parser.parse(arguments))
        return UsageError(parser.errorText());
    const QStringList extra = parser.positionalArguments().mid(MaxArguments());
    if (!extra.isEmpty())
        return UsageError(QCoreApplication::translate("Command", "unexpected argument %1").arg(extra.first()));
    if (parser.isSet(QStringLiteral("help")))
        return PrintHelp(parser);

    std::optional<ProgramSettings> settings;
    QHash<SettingKey, QString> values;
    int status = ExitStatus::Success;
    if (!Settings().isEmpty()) {
        settings.emplace();
        if (!ReadSettings(parser, *settings, &values, &status))
            return status;
    }
    const QString problem = UsageProblem(parser, settings ? &*settings : nullptr);
    if (!problem.isEmpty())
        return UsageError(problem);

    const HomeLocation::Choice choice = CommandRegistry::Home(parser);
    QString error;
    if (!HomeLocation::Prepare(choice, &error))
        return Fail(error);
    return Run({parser, settings ? &*settings : nullptr, values, choice.folder});
}

void Command::AddOptions(QCommandLineParser &) const
{
}

QString Command::UsageProblem(const QCommandLineParser &, const ProgramSettings *) const
{
    return QString();
}

bool Command::ReadSettings(const QCommandLineParser &parser, const ProgramSettings &settings,
                           QHash<SettingKey, QString> *values, int *status) const
{
    if (!settings.ReadProblem().isEmpty()) {
        *status = Fail(settings.ReadProblem());
        return false;
    }
    for (SettingKey key : Settings()) {
        if (ServiceOptions::IsSet(parser, key)) {
            const QString problem = ServiceOptions::Problem(parser, key);
            if (!problem.isEmpty()) {
                *status = UsageError(problem);
                return false;
            }
            values->insert(key, ServiceOptions::Value(parser, key));
            continue;
        }
        const QString problem = settings.Problem(key);
        if (!problem.isEmpty()) {
            Fail(QCoreApplication::translate("Command", "%1 in %2: %3")
                     .arg(ProgramSettings::Name(key), PlainFile::Shown(settings.Path()), problem));
            *status = ExitStatus::Usage;
            return false;
        }
        values->insert(key, settings.Value(key));
    }
    return true;
}

int Command::Fail(const QString &message) const
{
    m_out->Error(QStringLiteral("picaroon %1: %2").arg(Name(), message));
    return ExitStatus::Unexpected;
}

int Command::Fail(const QString &message, bool stopped) const
{
    Fail(message);
    return stopped ? ExitStatus::Stopped : ExitStatus::Unexpected;
}

int Command::UsageError(const QString &message) const
{
    return m_registry->UsageError(*m_out, Name(), message);
}

int Command::HoldFolder(FolderLock &lock, const QString &home, FolderLock::Holder holder) const
{
    QString error;
    const FolderLock::Result result = lock.Take(home, holder, &error);
    if (result == FolderLock::Result::Taken)
        return ExitStatus::Success;
    Fail(error);
    return result == FolderLock::Result::Busy ? ExitStatus::FolderBusy : ExitStatus::Unexpected;
}

void Command::PrintAppended(const QString &counted, const QString &path) const
{
    m_out->Line(counted.arg(PlainFile::Shown(path)));
}

int Command::PrintHelp(const QCommandLineParser &parser) const
{
    m_out->Line(QCoreApplication::translate("Command", "Usage: %1\n\n%2\n\n%3%4")
                    .arg(Usage(), Purpose(), CommandRegistry::OptionsPart(parser), CommandRegistry::Footer())
                    .chopped(1));
    return ExitStatus::Success;
}
