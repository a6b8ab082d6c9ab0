#include "ScriptedPeer.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

// What every headless command gets from the shared dispatcher, seen from a
// script: output it could not write is a failure, not a success; what comes
// from outside (hosts, standard input, the environment, names) is checked
// and told on one line each.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void faultsAreToldAndEndTheRun_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("reply"); // the service's, for the upload
        QTest::addColumn<QStringList>("environment"); // NAME=VALUE sets, a bare NAME unsets
        QTest::addColumn<QString>("input"); // standard input's file; none: empty
        QTest::addColumn<QString>("output"); // standard output's file; none: collected
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("said"); // on standard error

        const QStringList upload{"upload", "--login", "member"};
        const QByteArray accepted = ScriptedPeer::AcceptedPage();
        const QByteArray lost = ": Cannot write standard output: " + QByteArray(std::strerror(ENOSPC)) + "\n";
        QTest::newRow("extract-links, output lost") << QStringList{"extract-links"} << QByteArray() << QStringList{}
                                                    << "" << "/dev/full" << 1 << "picaroon extract-links" + lost;
        QTest::newRow("upload refused, output lost, keeps its own status")
            << upload << ScriptedPeer::RefusedPage() << QStringList{} << "" << "/dev/full" << 3 << "picaroon upload" + lost;
        QTest::newRow("a header smuggled in --host")
            << upload + QStringList {"--host", "127.0.0.1\r\nX-Evil: 1"} << accepted << QStringList {} << ""
            << "" << 2 << QByteArray("--host: a host address cannot");
        QTest::newRow("an endless password") << upload << accepted << QStringList{"PICAROON_PASSWORD"} << "/dev/zero" << ""
                                             << 2 << QByteArray("The password on standard input is longer than 65536 bytes");
        QTest::newRow("an endless page") << QStringList{"extract-links"} << QByteArray() << QStringList{} << "/dev/zero" << ""
                                         << 2 << QByteArray("The page on standard input is larger than 64 MiB");
        QTest::newRow("control characters of a name passed over, escaped")
            << upload << accepted << QStringList{"PIPE=img/p\x1b[2J\xc2\x85\xff.jpg"} << "" << "" << 6
            << QByteArray("img/p\\x1b[2J\\xc2\\x85\\xff.jpg (it stays in the image folder)");
    }

    void faultsAreToldAndEndTheRun()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, environment);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QByteArray, said);

        QTemporaryDir home;
        const QDir top(home.path());
        for (const char *name : {"img/a.jpg", "url.txt"})
            QVERIFY(TestFiles::Write(top.filePath(name), "\xFF\xD8\r\n"));
        ScriptedPeer peer;
        QVERIFY(peer.Listen());
        peer.script = {ScriptedPeer::Reply(reply)};
        QStringList all = arguments;
        if (all.first() == "upload" && !all.contains("--host"))
            all << "--host" << QStringLiteral("127.0.0.1:%1").arg(peer.serverPort());
        TestFiles::ProgramRun run(PICAROON_BIN, all << "--home" << home.path());
        run.Set("PICAROON_PASSWORD", "secret").Set("XDG_CONFIG_HOME", top.filePath("config"));
        for (const QString &change : environment) {
            const QString name = change.section('=', 0, 0), value = change.mid(name.size() + 1);
            if (name == "PIPE")
                QCOMPARE(::mkfifo(QFile::encodeName(top.filePath(value)).replace("\uFFFD", "\xFF").constData(), 0600), 0);
            else
                value.isEmpty() && !change.contains('=') ? run.Unset(name) : run.Set(name, value);
        }
        if (!input.isEmpty())
            run.InputFile(input);
        if (!output.isEmpty())
            run.OutputFile(output);
        const std::unique_ptr<QProcess> process = run.Start();
        // The peer answers from this process's event loop.
        QTRY_COMPARE_WITH_TIMEOUT(process->state(), QProcess::NotRunning, 20000);
        const TestFiles::ProgramResult result = TestFiles::ProgramRun::Finish(*process);
        QCOMPARE(result.status, status);
        QVERIFY2(result.errors.contains(said), result.errors.constData());
        if (status == 2)
            QVERIFY(peer.requests.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
