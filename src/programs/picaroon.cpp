#include "app/Main.h"
#include "cli/CommandLine.h"
#include "config/BuildSettings.h"
#include "folder/NativeName.h"
#include "upload/UploadLog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QScreen>


namespace {

int RunWindow(int argc, char *argv[])
{
    // Wrong usage is told on the terminal before any display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    CommandLine::AddHomeOption(parser);
    parser.addOption({QStringLiteral("host"), QStringLiteral("The upload host."), QStringLiteral("HOST[:PORT]")});
    parser.addOption({QStringLiteral("image-host"), QStringLiteral("The image host."), QStringLiteral("HOST")});
    if (!parser.parse(arguments))
        return CommandLine::UsageError(QString(), parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return CommandLine::UsageError(QString(), QStringLiteral("unknown command ") + parser.positionalArguments().first());

    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Picaroon"));

    Main::Options options;
    options.home = CommandLine::HomeFolder(parser);
    options.logPath = parser.isSet(QStringLiteral("home")) ? UploadLog::PathInHome(options.home) : UploadLog::DefaultPath();
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
        QCoreApplication::setApplicationName(QStringLiteral("Picaroon"));
        // A folder named in bytes that are not valid text must still be found.
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments.append(NativeName::Decode(QByteArray(argv[i])));
        return CommandLine::Run(arguments);
    }
    return RunWindow(argc, argv);
}
