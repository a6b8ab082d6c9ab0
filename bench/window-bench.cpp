// Drives the real window through whole upload runs and prints the cost per
// picture: `picaroon-window-bench HOME HOST PORT LOGIN` with HOME/img filled.
#include "app/Main.h"
#include "controls/XpB.h"
#include "upload/RunScheduler.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: picaroon-window-bench HOME HOST PORT LOGIN (password in PICAROON_PASSWORD)\n");
        return 2;
    }
    Main::Options options;
    options.home = args[1];
    options.upload = HostAddress(args[2], quint16(args[3].toUInt()));
    Main window(options);
    window.Load();
    window.show();
    window.Text1()->setText(args[4]);
    window.Text2()->setText(qEnvironmentVariable("PICAROON_PASSWORD"));
    const qsizetype pictures = QDir(args[1] + QStringLiteral("/img")).entryList({"*.jpg"}, QDir::Files).size();

    QEventLoop loop;
    RunScheduler::Outcome outcome = RunScheduler::Outcome::Unexpected;
    QObject::connect(&window.Run(), &RunScheduler::RunEnded, &loop, [&](RunScheduler::Outcome o) {
        outcome = o;
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    emit window.Start()->Click();
    loop.exec();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    if (outcome != RunScheduler::Outcome::Done) {
        std::fprintf(stderr, "the run did not end with Готово\n");
        return 1;
    }
    std::printf("%lld pictures in %.1f ms: %.4f ms per picture\n", static_cast<long long>(pictures), ms,
                ms / double(pictures));
    return 0;
}
