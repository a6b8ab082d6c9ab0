#include "ScriptedPeer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

// What every headless command gets from the shared dispatcher, seen from a
// script: output it could not write is a failure, not a success.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void lostOutputFailsTheCommand_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("reply"); // the service's, for the upload
        QTest::addColumn<int>("written");      // the exit status when the output is written
        QTest::addColumn<int>("lost");         // and when it goes to a full disk

        QTest::newRow("extract-links") << QStringList{"extract-links"} << QByteArray() << 0 << 1;
        QTest::newRow("make-posts") << QStringList{"make-posts"} << QByteArray() << 0 << 1;
        QTest::newRow("import") << QStringList{"import", "source"} << QByteArray() << 0 << 1;
        QTest::newRow("upload done") << QStringList{"upload", "--login", "member"} << ScriptedPeer::AcceptedPage()
                                     << 0 << 1;
        QTest::newRow("upload refused keeps its own status")
            << QStringList{"upload", "--login", "member"} << ScriptedPeer::RefusedPage() << 3 << 3;
    }

    void lostOutputFailsTheCommand()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, reply);
        QFETCH(int, written);
        QFETCH(int, lost);

        for (const bool full : {false, true}) {
            QTemporaryDir home;
            const QDir top(home.path());
            QVERIFY(top.mkpath("img") && top.mkpath("source"));
            for (const char *name : {"img/a.jpg", "source/b.jpg", "url.txt"}) {
                QFile file(top.filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write("\xFF\xD8\r\n") == 4);
            }
            ScriptedPeer peer;
            QVERIFY(peer.Listen());
            peer.script = {ScriptedPeer::Reply(reply)};
            QStringList all = arguments;
            if (all.first() == "import")
                all[1] = top.filePath("source");
            if (all.first() == "upload")
                all << "--host" << QStringLiteral("127.0.0.1:%1").arg(peer.serverPort());
            all << "--home" << home.path();

            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("PICAROON_PASSWORD", "secret");
            process.setProcessEnvironment(environment);
            const QString output = full ? QStringLiteral("/dev/full") : top.filePath("output");
            process.setStandardOutputFile(output);
            process.start(PICAROON_BIN, all);
            QVERIFY(process.waitForStarted());
            process.closeWriteChannel();
            // The peer answers from this process's event loop.
            QTRY_COMPARE_WITH_TIMEOUT(process.state(), QProcess::NotRunning, 20000);

            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), full ? lost : written);
            const QByteArray errors = process.readAllStandardError();
            const QByteArray told = "picaroon " + arguments.first().toUtf8()
                + ": Cannot write standard output: " + QByteArray(std::strerror(ENOSPC)) + "\n";
            QCOMPARE(errors.endsWith(told), full);
            if (!full)
                QVERIFY(QFileInfo(output).size() > 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
