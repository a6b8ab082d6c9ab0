#include "app/Main.h"
#include "app/SingleWindow.h"
#include "app/WindowSettings.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/ServiceOptions.h"
#include "cli/StandardOutput.h"
#include "programs/AllocatorTuning.h"
#include "config/BuildSettings.h"
#include "upload/UploadLog.h"
#include "settings/HomeLocation.h"
#include "settings/HostAddress.h"
#include "settings/ProgramSettings.h"
#include "text/ProgramLanguage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QScreen>

namespace {

const QList<SettingKey> WindowSettingOptions = {
    SettingKey::UploadHost,  SettingKey::ImageHost, SettingKey::Account, SettingKey::Timeout,     SettingKey::RetryFor,
    SettingKey::Connections, SettingKey::MaxSide,   SettingKey::Quality, SettingKey::KeepLocation};

void AddWindowOptions(QCommandLineParser &parser)
{
    ServiceOptions::Add(parser, WindowSettingOptions);
    CommandRegistry::AddCommonOptions(parser);
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")},
                      QCoreApplication::translate("picaroon", "Shows the version.")});
}

int PrintVersion(StandardOutput &out)
{
    out.Line(QStringLiteral("picaroon %1").arg(QLatin1String(BuildSettings::Version)));
    return ExitStatus::Success;
}

// Wrong usage, help and the version are told on the terminal, in the
// terminal's language, before any display is needed. Returns -1 when the
// window is to open.
int CheckWindowArguments(int argc, char *argv[], QCommandLineParser &parser)
{
    QCoreApplication terminal(argc, argv);
    ProgramLanguage::Use(ProgramLanguage::OfLocale(QLocale::system()));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandRegistry commands;
    StandardOutput out;
    AddWindowOptions(parser);
    if (!parser.parse(arguments))
        return commands.UsageError(out, QString(), parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return commands.UsageError(
            out, QString(),
            QCoreApplication::translate("picaroon", "unknown command %1").arg(parser.positionalArguments().first()));
    if (parser.isSet(QStringLiteral("help"))) {
        out.Line(commands.ProgramHelp(parser).chopped(1));
        return out.Finish(QStringLiteral("picaroon"), ExitStatus::Success);
    }
    if (parser.isSet(QStringLiteral("version")))
        return out.Finish(QStringLiteral("picaroon"), PrintVersion(out));
    for (SettingKey key : WindowSettingOptions) {
        const QString problem = ServiceOptions::Problem(parser, key);
        if (!problem.isEmpty())
            return commands.UsageError(out, QString(), problem);
    }
    return -1;
}

int RunWindow(int argc, char *argv[], const QStringList &notices)
{
    QCommandLineParser parser;
    if (const int status = CheckWindowArguments(argc, argv, parser); status >= 0)
        return status;
    StandardOutput out;
    QApplication app(argc, argv);
    ProgramLanguage::Use(ProgramLanguage::Language::Russian);
    QCoreApplication::setApplicationName(QString::fromLatin1(BuildSettings::ApplicationName));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Picaroon"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(BuildSettings::AppId));

    ProgramSettings settings;
    Main::Options options = WindowSettings::FromSettings(settings, Main::Options());
    if (ServiceOptions::IsSet(parser, SettingKey::UploadHost)) {
        QString problem;
        HostAddress::Parse(ServiceOptions::Value(parser, SettingKey::UploadHost), true, &options.upload, &problem);
    }
    if (ServiceOptions::IsSet(parser, SettingKey::ImageHost))
        options.imageHost = ServiceOptions::Value(parser, SettingKey::ImageHost);
    if (ServiceOptions::IsSet(parser, SettingKey::Account))
        options.account = ServiceOptions::Value(parser, SettingKey::Account);
    if (ServiceOptions::IsSet(parser, SettingKey::Timeout))
        options.timeout = ServiceOptions::Value(parser, SettingKey::Timeout).toInt();
    if (ServiceOptions::IsSet(parser, SettingKey::RetryFor))
        options.retryFor = ServiceOptions::Value(parser, SettingKey::RetryFor).toInt();
    if (ServiceOptions::IsSet(parser, SettingKey::Connections))
        options.connections = ServiceOptions::Value(parser, SettingKey::Connections).toInt();
    if (ServiceOptions::IsSet(parser, SettingKey::KeepLocation))
        options.pictures.keepLocation = true;
    if (ServiceOptions::IsSet(parser, SettingKey::MaxSide))
        options.pictures.maxSide = ServiceOptions::Value(parser, SettingKey::MaxSide).toInt();
    if (ServiceOptions::IsSet(parser, SettingKey::Quality))
        options.pictures.quality = ServiceOptions::Value(parser, SettingKey::Quality).toInt();
    QStringList problems = notices;
    QString error;
    const HomeLocation::Choice home = CommandRegistry::Home(parser);
    options.home = home.folder;
    if (!HomeLocation::Prepare(home, &error))
        problems.append(error);
    // Without a home folder the image folder would land wherever the
    // program was started, "/" often enough.
    if (options.home.isEmpty()) {
        out.Error(QStringLiteral("picaroon: ") + error);
        return ExitStatus::Usage;
    }
    options.logPath = UploadLog::PathFor(options.home, parser.isSet(QStringLiteral("home")));

    SingleWindow single(options.home);
    if (single.CallRunning())
        return ExitStatus::Success;
    single.Listen();
    Main window(options);
    QObject::connect(&single, &SingleWindow::Called, &window, &Main::BringToFront);
    window.Load();
    auto *tie = new WindowSettings(window, settings, options);
    if (!tie->RestorePosition()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            window.move(screen->availableGeometry().center() - window.rect().center());
    }
    window.show();
    tie->ShowStartupNotices(problems);
    return app.exec();
}
}

// The window; picaroon starts it when no command is given, so that the
// commands load none of the display's libraries.
int main(int argc, char *argv[])
{
    AllocatorTuning::Apply();
    // Before anything, Qt included, reads the folders from the environment.
    const QStringList notices = HomeLocation::SettleEnvironment();
    return RunWindow(argc, argv, notices);
}
