#include "app/Main.h"
#include "cli/CommandLine.h"
#include "config/BuildSettings.h"
#include "folder/NativeName.h"
#include "settings/HostAddress.h"
#include "settings/ProgramSettings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QScreen>


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
        return CommandLine::UsageError(QString(), QStringLiteral("unknown command ") + parser.positionalArguments().first());
    if (CommandLine::HelpAsked(parser))
        return CommandLine::Finish(QString(), CommandLine::PrintHelp(QString(), parser));
    if (parser.isSet(QStringLiteral("version")))
        return CommandLine::Finish(QString(), CommandLine::PrintVersion());

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationName);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Picaroon"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(BuildSettings::AppId));

    Main::Options options;
    QString error;
    CommandLine::HomeFolder(parser, &options.home, &error);
    options.uploadHost = QString::fromLatin1(BuildSettings::UploadHost);
    options.imageHost = parser.value(QStringLiteral("image-host"));
    if (options.imageHost.isEmpty())
        options.imageHost = QString::fromLatin1(BuildSettings::ImageHost);
    if (parser.isSet(QStringLiteral("host"))
        && !CommandLine::ParseHost(parser.value(QStringLiteral("host")), &options.uploadHost, &options.uploadPort)) {
        return CommandLine::UsageError(QString(), QStringLiteral("--host wants HOST or HOST:PORT"));
    }

    Main window(options);
    window.Load();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}

}

int main(int argc, char *argv[])
{
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
