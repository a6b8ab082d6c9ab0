#include "cli/UploadCommand.h"

#include "cli/CommandLine.h"
#include "cli/StopSignals.h"
#include "config/BuildSettings.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
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

QString PasswordFromEnvironmentOrInput()
{
    if (qEnvironmentVariableIsSet("PICAROON_PASSWORD"))
        return qEnvironmentVariable("PICAROON_PASSWORD");
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return QString();
    QByteArray line = input.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
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
    parser.addOption({QStringLiteral("login"), QStringLiteral("The member's login."), QStringLiteral("LOGIN")});
    parser.addOption({QStringLiteral("host"), QStringLiteral("The upload host."), QStringLiteral("HOST[:PORT]")});
    parser.addOption({QStringLiteral("timeout"),
                      QStringLiteral("Seconds without a byte moving before the run gives up (0: wait for ever)."),
                      QStringLiteral("SECONDS"), QString::number(SilenceTimeout::DefaultSeconds)});
    CommandLine::AddHomeOption(parser);
    QString usage;
    if (!CommandLine::Parse(parser, arguments, 0, &usage))
        return CommandLine::UsageError(name, usage);
    if (!parser.isSet(QStringLiteral("login")))
        return CommandLine::UsageError(name, QStringLiteral("--login is required"));
    QString host = QString::fromLatin1(BuildSettings::UploadHost);
    quint16 port = 80;
    if (parser.isSet(QStringLiteral("host"))
        && !CommandLine::ParseHost(parser.value(QStringLiteral("host")), &host, &port)) {
        return CommandLine::UsageError(name, QStringLiteral("--host wants HOST or HOST:PORT"));
    }

    bool timeoutIsNumber = false;
    const uint timeout = parser.value(QStringLiteral("timeout")).toUInt(&timeoutIsNumber);
    if (!timeoutIsNumber || timeout > 2000000)
        return CommandLine::UsageError(name, QStringLiteral("--timeout wants a number of seconds from 0 to 2000000"));

    UploadCommand command;
    command.m_login = parser.value(QStringLiteral("login"));
    command.m_password = PasswordFromEnvironmentOrInput();

    FileList files;
    QString error;
    if (!ImageFolder::Prepare(CommandLine::HomeFolder(parser), files, &error)) {
        command.ReportUnexpectedError(error);
        return CommandLine::Unexpected;
    }

    UploadCycle cycle(command, files);
    cycle.SetServer(host, port);
    cycle.SetTimeout(int(timeout));
    RunSummary summary;
    summary.Follow(cycle);
    UploadLog log(parser.isSet(QStringLiteral("home")) ? UploadLog::PathInHome(CommandLine::HomeFolder(parser))
                                                       : UploadLog::DefaultPath());
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
