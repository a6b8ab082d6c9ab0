#include "app/Main.h"
#include "app/WindowSettings.h"
#include "cli/CommandLine.h"
#include "config/BuildSettings.h"
#include "folder/NativeName.h"
#include "upload/UploadLog.h"
#include "settings/ProgramSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QScreen>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Lower case: the user's data folder is named after it.
const QString ApplicationName = QStringLiteral("picaroon");

void AddWindowOptions(QCommandLineParser &parser)
{
    CommandLine::AddHomeOption(parser);
    parser.addOption({QStringLiteral("host"), QStringLiteral("The upload host, for this run."),
                      QStringLiteral("HOST[:PORT]")});
    parser.addOption({QStringLiteral("image-host"), QStringLiteral("The host that serves the pictures, for this run."),
                      QStringLiteral("HOST")});
    parser.addOption({QStringLiteral("account"),
                      QStringLiteral("The account number whose pictures the link tools pick out, for this run."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("timeout"),
                      QStringLiteral("Seconds without a byte moving before a run gives up (0: wait for ever), "
                                     "for this run."),
                      QStringLiteral("SECONDS")});
    CommandLine::AddHelpOption(parser);
    parser.addOption({{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Shows the version.")});
}

// The options that stand in for a setting, each as ProgramSettings checks it.
const QList<std::pair<QString, const char *>> SettingOptions = {
    {QStringLiteral("host"), ProgramSettings::UploadHostKey},
    {QStringLiteral("image-host"), ProgramSettings::ImageHostKey},
    {QStringLiteral("account"), ProgramSettings::AccountKey},
    {QStringLiteral("timeout"), ProgramSettings::TimeoutKey},
};

int RunWindow(int argc, char *argv[])
{
    // Wrong usage, help and the version are told on the terminal before
    // any display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    AddWindowOptions(parser);
    if (!parser.parse(arguments))
        return CommandLine::UsageError(QString(), parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return CommandLine::UsageError(QString(),
                                       QStringLiteral("unknown command ") + parser.positionalArguments().first());
    if (CommandLine::HelpAsked(parser))
        return CommandLine::Finish(QString(), CommandLine::PrintHelp(QString(), parser));
    if (parser.isSet(QStringLiteral("version")))
        return CommandLine::Finish(QString(), CommandLine::PrintVersion());
    for (const auto &[option, key] : SettingOptions) {
        const QString problem = parser.isSet(option) ? ProgramSettings::Check(key, parser.value(option)) : QString();
        if (!problem.isEmpty())
            return CommandLine::UsageError(QString(), QStringLiteral("--%1: %2").arg(option, problem));
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationName);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Picaroon"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(BuildSettings::AppId));

    ProgramSettings settings;
    Main::Options options = WindowSettings::FromSettings(settings, Main::Options());
    if (parser.isSet(QStringLiteral("host")))
        CommandLine::ParseHost(parser.value(QStringLiteral("host")), &options.uploadHost, &options.uploadPort);
    if (parser.isSet(QStringLiteral("image-host")))
        options.imageHost = parser.value(QStringLiteral("image-host"));
    if (parser.isSet(QStringLiteral("account")))
        options.account = parser.value(QStringLiteral("account"));
    if (parser.isSet(QStringLiteral("timeout")))
        options.timeout = parser.value(QStringLiteral("timeout")).toInt();
    QStringList problems;
    QString error;
    if (!CommandLine::HomeFolder(parser, &options.home, &error))
        problems.append(error);
    options.logPath = parser.isSet(QStringLiteral("home")) ? UploadLog::PathInHome(options.home) : UploadLog::DefaultPath();

    Main window(options);
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

int main(int argc, char *argv[])
{
#ifdef __GLIBC__
    // A picture's request is one block of its size. The allocator would
    // map and unmap the first on its own before it keeps such blocks for
    // reuse; starting where it would end up spares each run a request's
    // worth of fresh pages, which cost more to take than to send.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
    if (argc > 1 && CommandLine::IsCommand(QString::fromLocal8Bit(argv[1]))) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(ApplicationName);
        // A folder named in bytes that are not valid text must still be found.
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments.append(NativeName::Decode(QByteArray(argv[i])));
        return CommandLine::Run(arguments);
    }
    return RunWindow(argc, argv);
}
