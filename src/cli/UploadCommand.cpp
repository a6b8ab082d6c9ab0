#include "cli/UploadCommand.h"

#include "cli/CommandLine.h"
#include "cli/PasswordPrompt.h"
#include "cli/StopSignals.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "settings/ProgramSettings.h"
#include "upload/RunSummary.h"
#include "upload/SilenceTimeout.h"
#include "upload/UploadCycle.h"
#include "upload/UploadLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

namespace {

bool PasswordFromEnvironmentOrInput(QString *password, QString *error)
{
    if (qEnvironmentVariableIsSet("PICAROON_PASSWORD")) {
        *password = qEnvironmentVariable("PICAROON_PASSWORD");
        return true;
    }
    if (PasswordPrompt::InputIsTerminal())
        return PasswordPrompt::Ask(password, error);
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return true;
    QByteArray line = input.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    *password = QString::fromUtf8(line);
    return true;
}

int ExitStatusOf(UploadCycle::Outcome outcome)
{
    switch (outcome) {
    case UploadCycle::Outcome::NothingToUpload:
    case UploadCycle::Outcome::Done: return CommandLine::Success;
    case UploadCycle::Outcome::Refused: return CommandLine::Refused;
    case UploadCycle::Outcome::SocketError: return CommandLine::SocketError;
    case UploadCycle::Outcome::Stopped: return CommandLine::Stopped;
    case UploadCycle::Outcome::Unexpected: break;
    }
    return CommandLine::Unexpected;
}

}

int UploadCommand::Run(const QStringList &arguments)
{
    const QString name = QStringLiteral("upload");
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("login"),
                      QStringLiteral("The member's login (default: the last one typed in the window)."),
                      QStringLiteral("LOGIN")});
    parser.addOption({QStringLiteral("host"), QStringLiteral("The upload host, for this run."),
                      QStringLiteral("HOST[:PORT]")});
    parser.addOption({QStringLiteral("timeout"),
                      QStringLiteral("Seconds without a byte moving before the run gives up (0: wait for ever), "
                                     "for this run."),
                      QStringLiteral("SECONDS")});
    CommandLine::AddHomeOption(parser);
    CommandLine::AddHelpOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 0, &usage))
        return CommandLine::UsageError(name, usage);
    if (CommandLine::HelpAsked(parser))
        return CommandLine::PrintHelp(name, parser);
    const ProgramSettings settings;
    if (!CommandLine::SettingsReadable(name, settings))
        return CommandLine::Unexpected;

    UploadCommand command;
    command.m_login = parser.isSet(QStringLiteral("login")) ? parser.value(QStringLiteral("login"))
                                                             : settings.LastLogin();
    if (command.m_login.isEmpty())
        return CommandLine::UsageError(name, QStringLiteral("--login is required: the window has kept no login"));
    QString hostText;
    QString timeoutText;
    if (!CommandLine::Setting(parser, QStringLiteral("host"), settings, ProgramSettings::UploadHostKey, name, &hostText)
        || !CommandLine::Setting(parser, QStringLiteral("timeout"), settings, ProgramSettings::TimeoutKey, name,
                                 &timeoutText)) {
        return CommandLine::Usage;
    }
    if (!ProgramSettings::IsUploadHostSet(hostText)) {
        command.ReportUnexpectedError(settings.NoUploadHostText());
        return CommandLine::Usage;
    }
    QString host;
    quint16 port = 80;
    CommandLine::ParseHost(hostText, &host, &port);

    QString home;
    QString error;
    if (!CommandLine::HomeFolder(parser, &home, &error)) {
        command.ReportUnexpectedError(error);
        return CommandLine::Unexpected;
    }
    if (!PasswordFromEnvironmentOrInput(&command.m_password, &error)) {
        command.ReportUnexpectedError(error);
        return CommandLine::Unexpected;
    }

    FileList files;
    if (!ImageFolder::Prepare(home, files, &error)) {
        command.ReportUnexpectedError(error);
        return CommandLine::Unexpected;
    }

    UploadCycle cycle(command, files);
    cycle.SetServer(host, port);
    cycle.SetTimeout(timeoutText.toInt());
    RunSummary summary;
    summary.Follow(cycle);
    UploadLog log(parser.isSet(QStringLiteral("home")) ? UploadLog::PathInHome(home) : UploadLog::DefaultPath());
    log.Follow(cycle);
    QObject::connect(&log, &UploadLog::Trouble, &log, [](const QString &message) {
        CommandLine::PrintLine(stderr, QStringLiteral("picaroon upload: ") + message);
    });
    StopSignals stopSignals;
    QEventLoop loop;
    int status = CommandLine::Success;
    QObject::connect(&cycle, &UploadCycle::RunEnded, &loop, [&](UploadCycle::Outcome outcome) {
        status = ExitStatusOf(outcome);
        if (outcome != UploadCycle::Outcome::NothingToUpload)
            CommandLine::PrintLine(stdout, summary.Text());
        if (outcome == UploadCycle::Outcome::Done && summary.LeftSomething())
            status = CommandLine::LeftSomething;
        loop.exit();
    });
    // A signal before the run got going still ends the command as stopped.
    QObject::connect(&stopSignals, &StopSignals::StopRequested, &loop, [&] {
        if (cycle.CurrentState() == UploadCycle::State::Idle) {
            status = CommandLine::Stopped;
            loop.exit();
        } else {
            cycle.Stop();
        }
    });
    cycle.Start();
    if (cycle.CurrentState() == UploadCycle::State::Idle)
        return status;
    loop.exec();
    return status;
}

void UploadCommand::ShowStatus(const QString &text)
{
    CommandLine::PrintLine(stdout, text);
}

void UploadCommand::ReportUnexpectedError(const QString &message)
{
    CommandLine::PrintLine(stderr, QStringLiteral("picaroon upload: ") + message);
}

void UploadCommand::ReportPassedOver(const QString &path, const QString &reason)
{
    CommandLine::PrintLine(stderr, QStringLiteral("picaroon upload: passed over %1 (it stays in the image folder): %2")
                                       .arg(QDir::toNativeSeparators(path), reason));
}

void UploadCommand::ShowServiceWords(const QString &words)
{
    if (!words.isEmpty())
        CommandLine::PrintLine(stdout, QStringLiteral("service: ") + words);
}
