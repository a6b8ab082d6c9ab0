// The upload log's cost per picture: records as a run writes them, one per
// picture, into a log in the given folder. Set against the time a picture
// takes in bench/upload-bench.sh, it shows the log's share of a run.
#include "upload/UploadLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString where = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp");
    const int count = argc > 2 ? atoi(argv[2]) : 10000;
    QTemporaryDir home(where + QStringLiteral("/picaroon-log-bench.XXXXXX"));
    UploadLog log(UploadLog::PathInHome(home.path()));
    bool trouble = false;
    QObject::connect(&log, &UploadLog::Trouble, [&](const QString &message) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        trouble = true;
    });
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        log.BeginRun();
        for (int i = 0; i < count; ++i) {
            log.Record({i % 10 ? PictureOutcome::Kind::Accepted : PictureOutcome::Kind::SetAside,
                        QStringLiteral("/home/member/img/p%1.jpg").arg(i, 6, 10, QLatin1Char('0')), 10240,
                        QStringLiteral("p%1.jpg_!").arg(i), i % 10 ? QString() : QStringLiteral("Try later"),
                        QString()});
        }
        log.EndRun();
        best = qMin(best, timer.nsecsElapsed() / 1000.0 / count);
    }
    std::printf("upload log: %.2f us a picture (best of 5 runs of %d records, log in %s)\n", best, count,
                qPrintable(where));
    return trouble ? 1 : 0;
}
