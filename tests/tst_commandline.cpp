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
        QTest::addColumn<int>("exitCode");

        QTest::newRow("extract-links") << QStringList{"extract-links"} << QByteArray() << 1;
        QTest::newRow("make-posts") << QStringList{"make-posts"} << QByteArray() << 1;
        QTest::newRow("import") << QStringList{"import", "source"} << QByteArray() << 1;
        QTest::newRow("upload done") << QStringList{"upload", "--login", "member"} << ScriptedPeer::AcceptedPage() << 1;
        QTest::newRow("upload refused keeps its own status")
            << QStringList{"upload", "--login", "member"} << ScriptedPeer::RefusedPage() << 3;
    }

    // Each of these runs exits 0 or 3 with its output written, as the
    // commands' own tests show.
    void lostOutputFailsTheCommand()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, reply);
        QFETCH(int, exitCode);

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

        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PICAROON_PASSWORD", "secret");
        process.setProcessEnvironment(environment);
        process.setStandardOutputFile("/dev/full");
        process.start(PICAROON_BIN, all << "--home" << home.path());
        QVERIFY(process.waitForStarted());
        process.closeWriteChannel();
        // The peer answers from this process's event loop.
        QTRY_COMPARE_WITH_TIMEOUT(process.state(), QProcess::NotRunning, 20000);

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const QByteArray errors = process.readAllStandardError();
        QVERIFY2(errors.endsWith("picaroon " + arguments.first().toUtf8() + ": Cannot write standard output: "
                                 + QByteArray(std::strerror(ENOSPC)) + "\n"),
                 errors.constData());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
