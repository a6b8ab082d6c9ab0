#include "cli/StopSignals.h"
#include "config/BuildSettings.h"
#include "standin/SampleMaker.h"
#include "standin/StandinServer.h"
#include "standin/StandinService.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <optional>
#include <utility>

namespace {

int Fail(const QString &message)
{
    std::fprintf(stderr, "picaroon-standin: %s\n", qPrintable(message));
    return 2;
}

// "300", "64K", "512M", "1G": bytes, or binary multiples of them.
std::optional<qint64> ParseBytes(QString text)
{
    qint64 unit = 1;
    const QChar suffix = text.isEmpty() ? QChar() : text.back().toUpper();
    if (suffix == QLatin1Char('K') || suffix == QLatin1Char('M') || suffix == QLatin1Char('G')) {
        unit = suffix == QLatin1Char('K') ? 1024 : suffix == QLatin1Char('M') ? 1024 * 1024 : 1024 * 1024 * 1024;
        text.chop(1);
    }
    bool ok = false;
    const qint64 count = text.toLongLong(&ok);
    if (!ok || count < 0 || count > (qint64(1) << 50) / unit)
        return std::nullopt;
    return count * unit;
}

// Seconds, fractions allowed, as milliseconds: at least one, at most a day.
std::optional<int> ParseSeconds(const QString &text)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds >= 0.001 && seconds <= 86400))
        return std::nullopt;
    return int(seconds * 1000);
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
    const StandinLimits defaults;
    const QCommandLineOption maxConnections(QStringLiteral("max-connections"),
                                            QStringLiteral("Connections served at once (%1).").arg(defaults.maxConnections),
                                            QStringLiteral("N"), QString::number(defaults.maxConnections));
    const QString maxBodyDefault = QStringLiteral("%1M").arg(defaults.maxBody >> 20);
    const QCommandLineOption maxBody(QStringLiteral("max-body"),
                                     QStringLiteral("Largest request body in bytes, K, M or G (%1).").arg(maxBodyDefault),
                                     QStringLiteral("BYTES"), maxBodyDefault);
    const QString maxBufferedDefault = QStringLiteral("%1M").arg(defaults.maxBuffered >> 20);
    const QCommandLineOption maxBuffered(QStringLiteral("max-buffered"),
                                         QStringLiteral("Request bodies held at once, across connections (%1).")
                                             .arg(maxBufferedDefault),
                                         QStringLiteral("BYTES"), maxBufferedDefault);
    const QString headDefault = QString::number(defaults.headTimeoutMs / 1000.0);
    const QCommandLineOption headTimeout(QStringLiteral("head-timeout"),
                                         QStringLiteral("Seconds a client has for its request head (%1).").arg(headDefault),
                                         QStringLiteral("SECONDS"), headDefault);
    const QString idleDefault = QString::number(defaults.idleTimeoutMs / 1000.0);
    const QCommandLineOption idleTimeout(QStringLiteral("idle-timeout"),
                                         QStringLiteral("Seconds a connection may pass without a byte either way (%1).")
                                             .arg(idleDefault),
                                         QStringLiteral("SECONDS"), idleDefault);
    const QCommandLineOption holdAfter(QStringLiteral("hold-after"),
                                       QStringLiteral("Answer the first N requests, then hold every later one open "
                                                      "without an answer."),
                                       QStringLiteral("N"));
    parser.addOptions({port, login, password, store, imageHost, makeSamples, count, size,
                       maxConnections, maxBody, maxBuffered, headTimeout, idleTimeout, holdAfter});
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

    StandinLimits limits;
    bool connectionsOk = false;
    limits.maxConnections = parser.value(maxConnections).toInt(&connectionsOk);
    if (!connectionsOk || limits.maxConnections < 1 || limits.maxConnections > 10000)
        return Fail(QStringLiteral("bad --max-connections: %1").arg(parser.value(maxConnections)));
    for (const auto &[option, bytes] : {std::pair{&maxBody, &limits.maxBody}, std::pair{&maxBuffered, &limits.maxBuffered}}) {
        const std::optional<qint64> value = ParseBytes(parser.value(*option));
        if (!value)
            return Fail(QStringLiteral("bad --%1: %2").arg(option->names().front(), parser.value(*option)));
        *bytes = *value;
    }
    if (limits.maxBuffered < limits.maxBody)
        return Fail(QStringLiteral("--max-buffered is smaller than --max-body"));
    for (const auto &[option, ms] : {std::pair{&headTimeout, &limits.headTimeoutMs}, std::pair{&idleTimeout, &limits.idleTimeoutMs}}) {
        const std::optional<int> value = ParseSeconds(parser.value(*option));
        if (!value)
            return Fail(QStringLiteral("bad --%1: %2").arg(option->names().front(), parser.value(*option)));
        *ms = *value;
    }

    StandinAccount account(parser.value(login), parser.value(password));
    if (!account.IsValid())
        return Fail(QStringLiteral("the password is too long"));
    PictureStore pictures(parser.value(store));
    if (!pictures.Open(&error))
        return Fail(error);

    StandinService service(std::move(account), std::move(pictures), PhotoLibraryPage(parser.value(imageHost)));
    if (parser.isSet(holdAfter)) {
        bool holdOk = false;
        const qint64 requests = parser.value(holdAfter).toLongLong(&holdOk);
        if (!holdOk || requests < 0)
            return Fail(QStringLiteral("bad --hold-after: %1").arg(parser.value(holdAfter)));
        service.HoldAfter(requests);
    }
    // Armed before the port is announced: a script may signal right after.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::StopRequested, &app, &QCoreApplication::quit);
    StandinServer server(service, limits);
    if (!server.Listen(portNumber, &error))
        return Fail(error);
    std::printf("listening on 127.0.0.1:%u\n", unsigned(server.Port()));
    std::fflush(stdout);

    return app.exec();
}
