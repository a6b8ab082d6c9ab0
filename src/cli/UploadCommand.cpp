#include "cli/UploadCommand.h"

#include "cli/ExitStatus.h"
#include "cli/PasswordPrompt.h"
#include "cli/StandardOutput.h"
#include "cli/StopSignals.h"
#include "folder/FileList.h"
#include "folder/ImageFolder.h"
#include "settings/HostAddress.h"
#include "settings/ProgramSettings.h"
#include "upload/RunSummary.h"
#include "upload/SilenceTimeout.h"
#include "upload/SleepInhibitor.h"
#include "upload/RunScheduler.h"
#include "upload/UploadLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>
#include <QEventLoop>

namespace {

int ExitStatusOf(RunScheduler::Outcome outcome)
{
    switch (outcome) {
    case RunScheduler::Outcome::NothingToUpload:
    case RunScheduler::Outcome::Done: return ExitStatus::Success;
    case RunScheduler::Outcome::Refused: return ExitStatus::Refused;
    case RunScheduler::Outcome::SocketError: return ExitStatus::SocketError;
    case RunScheduler::Outcome::Stopped: return ExitStatus::Stopped;
    case RunScheduler::Outcome::Unexpected: break;
    }
    return ExitStatus::Unexpected;
}

}

void UploadCommand::AddOptions(QCommandLineParser &parser) const
{
    parser.addOption({QStringLiteral("login"),
                      QCoreApplication::translate("UploadCommand",
                                                  "The member's login (default: the last one typed in the window)."),
                      QStringLiteral("LOGIN")});
}

QString UploadCommand::UsageProblem(const QCommandLineParser &parser, const ProgramSettings *settings) const
{
    if (parser.isSet(QStringLiteral("login")) || !settings->LastLogin().isEmpty())
        return QString();
    return QCoreApplication::translate("UploadCommand", "--login is required: the window has kept no login");
}

int UploadCommand::Run(const Context &context)
{
    const QCommandLineParser &parser = context.parser;
    const QString login = parser.isSet(QStringLiteral("login")) ? parser.value(QStringLiteral("login"))
                                                                : context.settings->LastLogin();
    const QString hostText = context.values.value(SettingKey::UploadHost);
    if (!ProgramSettings::IsUploadHostSet(hostText)) {
        Fail(context.settings->NoUploadHostText());
        return ExitStatus::Usage;
    }
    HostAddress address;
    QString error;
    HostAddress::Parse(hostText, true, &address, &error);
    // Before the password is asked for: a run that cannot be had is said at once.
    FolderLock folderLock;
    if (const int status = HoldFolder(folderLock, context.home, FolderLock::Holder::Upload))
        return status;
    QString password = qEnvironmentVariable("PICAROON_PASSWORD");
    if (!qEnvironmentVariableIsSet("PICAROON_PASSWORD")) {
        const int status = PasswordPrompt::Read(&password, &error);
        if (status != ExitStatus::Success) {
            Fail(error);
            return status;
        }
    }

    FileList files;
    if (!ImageFolder::Prepare(context.home, files, &error))
        return Fail(error);

    RunScheduler run(files);
    run.SetServer(address);
    run.SetCredentials(login, password);
    run.SetTimeout(context.values.value(SettingKey::Timeout).toInt());
    run.Retries().SetWindow(context.values.value(SettingKey::RetryFor).toInt());
    run.SetConnections(context.values.value(SettingKey::Connections).toInt());
    // The program ends with the run: the folder's journal is taken down
    // while the last replies are on their way, not at the exit.
    QObject::connect(&run, &RunScheduler::QueueEmptied, &files, &FileList::LetJournalGo);
    run.SetPreparation({context.values.value(SettingKey::KeepLocation) == QLatin1String("true"),
                        context.values.value(SettingKey::MaxSide).toInt(),
                        context.values.value(SettingKey::Quality).toInt()});
    QObject::connect(&run, &RunScheduler::StatusChanged, &run, [this](const QString &text) { Out().Line(text); });
    QObject::connect(&run, &RunScheduler::ServiceSaid, &run, [this](const QString &words) {
        if (!words.isEmpty())
            Out().Line(QCoreApplication::translate("UploadCommand", "service: %1").arg(words));
    });
    QObject::connect(&run, &RunScheduler::PictureHandled, &run, [this](const PictureOutcome &outcome) {
        if (outcome.kind == PictureOutcome::Kind::PassedOver)
            Fail(QCoreApplication::translate("UploadCommand", "passed over %1 (it stays in the image folder): %2")
                     .arg(QDir::toNativeSeparators(outcome.path), outcome.words));
    });
    RunSummary summary;
    summary.Follow(run);
    SleepInhibitor awake(QDBusConnection::systemBus());
    awake.Follow(run);
    UploadLog log(UploadLog::PathFor(context.home, parser.isSet(QStringLiteral("home"))));
    log.Follow(run);
    QObject::connect(&log, &UploadLog::Trouble, &log, [this](const QString &message) { Fail(message); });
    StopSignals stopSignals;
    QEventLoop loop;
    int status = ExitStatus::Success;
    QObject::connect(&run, &RunScheduler::RunEnded, &loop, [&](RunScheduler::Outcome outcome, const QString &message) {
        if (!message.isEmpty())
            Fail(message);
        status = ExitStatusOf(outcome);
        if (outcome != RunScheduler::Outcome::NothingToUpload)
            Out().Line(summary.Text());
        if (outcome == RunScheduler::Outcome::Done && summary.LeftSomething())
            status = ExitStatus::LeftSomething;
        loop.exit();
    });
    // A signal before the run got going still ends the command as stopped.
    QObject::connect(&stopSignals, &StopSignals::StopRequested, &loop, [&] {
        if (run.CurrentState() == RunScheduler::State::Idle) {
            status = ExitStatus::Stopped;
            loop.exit();
        } else {
            run.Stop();
        }
    });
    run.Start();
    if (run.CurrentState() == RunScheduler::State::Idle)
        return status;
    loop.exec();
    return status;
}
