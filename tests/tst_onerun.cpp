#include "StandinProcess.h"
#include "TestFiles.h"
#include "app/SingleWindow.h"

#include <QDir>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace TestFiles;

// One run per image folder, between real processes on one home folder.
class TestOneRun : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(Write(Img("a.jpg")) && Write(Img("b.jpg")) && Write(Home("card/c.jpg")));
    }

    void secondRunIsRefusedWhileTheFirstHoldsTheFolder()
    {
        StandinProcess standIn;
        QVERIFY(standIn.Start(PICAROON_STANDIN_BIN, {"--login", "cat", "--password", "pw", "--store",
                                                    Home("store"), "--hold-after", "1"}));
        const QStringList upload{"upload", "--login", "cat", "--home", m_home->path(), "--host", standIn.Address()};
        const std::unique_ptr<QProcess> first = ProgramRun(PICAROON_BIN, upload).Set("PICAROON_PASSWORD", "pw").Start();
        QVERIFY(standIn.LogShows(" held "));
        const QByteArray holder = "picaroon upload (process " + QByteArray::number(first->processId()) + ")";
        for (const QStringList &second : {upload, QStringList{"import", Home("card"), "--home", m_home->path()}}) {
            const ProgramResult run = ProgramRun(PICAROON_BIN, second).Set("PICAROON_PASSWORD", "pw").Run();
            QCOMPARE(run.status, 7);
            QVERIFY2(run.errors.contains(holder), run.errors.constData());
            QCOMPARE(run.output, QByteArray());
        }
        QCOMPARE(Read(Img("c.jpg")), Missing);
        standIn.Stop();
        // The lock went with the run, however it ended.
        QVERIFY(ProgramRun::Finish(*first).status > 0);
        QCOMPARE(ProgramRun(PICAROON_BIN, {"import", Home("card"), "--home", m_home->path()}).Run().status, 0);
    }

    void lockFileThatIsNoPlainFileIsRefusedAtOnce_data()
    {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("named pipe") << true;
        QTest::newRow("link to a file elsewhere") << false;
    }

    void lockFileThatIsNoPlainFileIsRefusedAtOnce()
    {
        QFETCH(bool, fifo);
        const QByteArray lock = QFile::encodeName(Home("img.lock"));
        if (fifo)
            QCOMPARE(::mkfifo(lock.constData(), 0600), 0);
        else
            QVERIFY(Write(Home("elsewhere")) && QFile::link(Home("elsewhere"), Home("img.lock")));
        const ProgramResult run = ProgramRun(PICAROON_BIN, {"import", Home("card"), "--home", m_home->path()}).Run();
        QCOMPARE(run.status, 1);
        QVERIFY2(run.errors.contains("Cannot lock the image folder"), run.errors.constData());
        QCOMPARE(Read(Home("elsewhere")), fifo ? Missing : QByteArray("\xFF\xD8jpeg"));
    }

    void nextRunRemovesWhatAnInterruptedCopyLeft_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("import") << QStringList{"import", "card"};
        QTest::newRow("upload") << QStringList{"upload", "--login", "cat", "--host", "127.0.0.1:9", "--timeout", "1"};
    }

    void nextRunRemovesWhatAnInterruptedCopyLeft()
    {
        QFETCH(QStringList, arguments);
        if (arguments.first() == "import")
            arguments[1] = Home("card");
        QVERIFY(QFile::remove(Img("a.jpg")) && QFile::remove(Img("b.jpg")));
        const QStringList foreign{".picaroon-copy-notes", ".picaroon-copy-0123456789ABCDEF",
                                  "picaroon-copy-0123456789abcdef"};
        for (const QString &name : foreign + QStringList{".picaroon-copy-0123456789abcdef"})
            QVERIFY(Write(Img(name)));
        const ProgramResult run = ProgramRun(PICAROON_BIN, arguments + QStringList{"--home", m_home->path()})
                                      .Set("PICAROON_PASSWORD", "pw")
                                      .Run();
        QVERIFY2(run.status == 0, run.errors.constData());
        QCOMPARE(Read(Img(".picaroon-copy-0123456789abcdef")), Missing);
        for (const QString &name : foreign)
            QVERIFY2(QFile::exists(Img(name)), qPrintable(name));
    }

    void secondWindowCallsTheFirstAndEnds()
    {
        const std::unique_ptr<QProcess> first = ProgramRun(PICAROON_BIN, {"--home", m_home->path()}).Start();
        QTRY_VERIFY_WITH_TIMEOUT(Answers(SingleWindow::ServerName(m_home->path())), 20000);
        const ProgramResult second = ProgramRun(PICAROON_BIN, {"--home", m_home->path() + "/."}).Run(20000);
        QCOMPARE(second.status, 0);
        QCOMPARE(first->state(), QProcess::Running);
        first->terminate();
        QVERIFY(first->waitForFinished());
    }

private:
    QString Home(const QString &name) const { return m_home->filePath(name); }
    QString Img(const QString &name) const { return m_home->filePath("img/" + name); }
    static bool Answers(const QString &name)
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        return socket.waitForConnected(1000);
    }

    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TestOneRun)
#include "tst_onerun.moc"
