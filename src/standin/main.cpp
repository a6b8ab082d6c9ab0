#include "cli/StopSignals.h"
#include "config/BuildSettings.h"
#include "standin/SampleMaker.h"
#include "standin/StandinServer.h"
#include "standin/StandinService.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

int Fail(const QString &message)
{
    std::fprintf(stderr, "picaroon-standin: %s\n", qPrintable(message));
    return 2;
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("picaroon-standin"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Loopback stand-in for the blogging service's upload script and photo library."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port on 127.0.0.1; 0 picks a free one."), QStringLiteral("N"));
    const QCommandLineOption login(QStringLiteral("login"), QStringLiteral("The account's login."), QStringLiteral("L"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("The account's password."), QStringLiteral("P"));
    const QCommandLineOption store(QStringLiteral("store"), QStringLiteral("Folder of the stored pictures."), QStringLiteral("DIR"));
    const QCommandLineOption imageHost(QStringLiteral("image-host"), QStringLiteral("Host named in picture addresses."),
                                       QStringLiteral("HOST"), QString::fromLatin1(BuildSettings::ImageHost));
    const QCommandLineOption makeSamples(QStringLiteral("make-samples"),
                                         QStringLiteral("Write sample JPEG pictures into DIR and exit."), QStringLiteral("DIR"));
    const QCommandLineOption count(QStringLiteral("count"), QStringLiteral("How many samples."), QStringLiteral("N"),
                                   QStringLiteral("6"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Sample size in pixels."), QStringLiteral("WxH"),
                                  QStringLiteral("640x480"));
    parser.addOptions({port, login, password, store, imageHost, makeSamples, count, size});
    parser.process(app);

    QString error;
    if (parser.isSet(makeSamples)) {
        const QStringList wh = parser.value(size).split(QLatin1Char('x'));
        const int width = wh.value(0).toInt();
        const int height = wh.value(1).toInt();
        const int samples = parser.value(count).toInt();
        if (width <= 0 || height <= 0 || width > 10000 || height > 10000 || samples < 0)
            return Fail(QStringLiteral("bad --count or --size"));
        return SampleMaker::Make(parser.value(makeSamples), samples, width, height, &error) ? 0 : Fail(error);
    }

    for (const QCommandLineOption &required : {port, login, password, store}) {
        if (!parser.isSet(required))
            return Fail(QStringLiteral("--%1 is required").arg(required.names().front()));
    }
    bool portOk = false;
    const quint16 portNumber = parser.value(port).toUShort(&portOk);
    if (!portOk)
        return Fail(QStringLiteral("bad port: %1").arg(parser.value(port)));

    StandinAccount account(parser.value(login), parser.value(password));
    if (!account.IsValid())
        return Fail(QStringLiteral("the password is too long"));
    PictureStore pictures(parser.value(store));
    if (!pictures.Open(&error))
        return Fail(error);

    StandinService service(std::move(account), std::move(pictures), PhotoLibraryPage(parser.value(imageHost)));
    // Armed before the port is announced: a script may signal right after.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::StopRequested, &app, &QCoreApplication::quit);
    StandinServer server(service);
    if (!server.Listen(portNumber, &error))
        return Fail(error);
    std::printf("listening on 127.0.0.1:%u\n", unsigned(server.Port()));
    std::fflush(stdout);

    return app.exec();
}
