#include "ScriptedPeer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The headless upload as a script would run it: the real program as a
// process, the service played on loopback.
class TestUploadCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wrongUsageIsRefused_data();
    void wrongUsageIsRefused();
    void passwordAndLoginReachTheCookie_data();
    void passwordAndLoginReachTheCookie();
    void terminateActsAsStop();
    void unexpectedErrorIsNamed();

private:
    void Write(const QString &name, const QByteArray &bytes);
    QString Img(const QString &name) const { return m_home->filePath(QStringLiteral("img/") + name); }
    QStringList Arguments(const QString &login = QStringLiteral("member")) const;
    void Start(const QStringList &arguments, const QByteArray &input = {});
    void WaitForExit();
    QStringList OutputLines() const;

    std::unique_ptr<QTemporaryDir> m_home;
    ScriptedPeer *m_peer = nullptr;
    QProcess *m_process = nullptr;
};

void TestUploadCommand::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_home->path()).mkdir(QStringLiteral("img")));
    m_peer = new ScriptedPeer(this);
    QVERIFY(m_peer->Listen());
    m_process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PICAROON_PASSWORD"), QStringLiteral("secret"));
    m_process->setProcessEnvironment(environment);
}

void TestUploadCommand::cleanup()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished();
    }
    delete m_process;
    delete m_peer;
}

void TestUploadCommand::Write(const QString &name, const QByteArray &bytes)
{
    QFile file(Img(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList TestUploadCommand::Arguments(const QString &login) const
{
    return {QStringLiteral("upload"), QStringLiteral("--login"), login,
            QStringLiteral("--home"), m_home->path(),
            QStringLiteral("--host"), QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort())};
}

void TestUploadCommand::Start(const QStringList &arguments, const QByteArray &input)
{
    m_process->start(QStringLiteral(PICAROON_BIN), arguments);
    QVERIFY(m_process->waitForStarted());
    m_process->write(input);
    m_process->closeWriteChannel();
}

void TestUploadCommand::WaitForExit()
{
    // The peer lives in this process's event loop, so wait without blocking it.
    QTRY_COMPARE_WITH_TIMEOUT(m_process->state(), QProcess::NotRunning, 20000);
}

QStringList TestUploadCommand::OutputLines() const
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(m_process->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        if (!line.endsWith(QLatin1String("%)")))
            lines.append(line);
    }
    return lines;
}

void TestUploadCommand::wrongUsageIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("unknown command") << QStringList{"download"};
    QTest::newRow("no login") << QStringList{"upload", "--host", "127.0.0.1"};
    QTest::newRow("port zero") << QStringList{"upload", "--login", "x", "--host", "h:0"};
    QTest::newRow("port not a number") << QStringList{"upload", "--login", "x", "--host", "h:http"};
    QTest::newRow("stray argument") << QStringList{"upload", "--login", "x", "extra"};
    QTest::newRow("unknown option") << QStringList{"upload", "--login", "x", "--passwd", "p"};
}

void TestUploadCommand::wrongUsageIsRefused()
{
    QFETCH(QStringList, arguments);
    Start(arguments);
    WaitForExit();
    QCOMPARE(m_process->exitCode(), 2);
    QVERIFY(m_process->readAllStandardError().contains("picaroon upload --login LOGIN"));
    QCOMPARE(m_peer->connections, 0);
}

void TestUploadCommand::passwordAndLoginReachTheCookie_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<bool>("fromInput");
    QTest::addColumn<QByteArray>("cookie");

    const QByteArray secretDigest = QCryptographicHash::hash("secret", QCryptographicHash::Md5).toHex();
    const QByteArray typedDigest = QCryptographicHash::hash("typed pass", QCryptographicHash::Md5).toHex();
    QTest::newRow("password from the environment")
        << "member" << false << "user_login=member; user_pass=" + secretDigest;
    QTest::newRow("password from the first input line")
        << "member" << true << "user_login=member; user_pass=" + typedDigest;
    QTest::newRow("Cyrillic login is percent-encoded")
        << "Кот ab" << false << "user_login=%CA%EE%F2+%61%62; user_pass=" + secretDigest;
}

void TestUploadCommand::passwordAndLoginReachTheCookie()
{
    QFETCH(QString, login);
    QFETCH(bool, fromInput);
    QFETCH(QByteArray, cookie);

    if (fromInput) {
        QProcessEnvironment environment = m_process->processEnvironment();
        environment.remove(QStringLiteral("PICAROON_PASSWORD"));
        m_process->setProcessEnvironment(environment);
    }
    Write(QStringLiteral("a.jpg"), "picture");
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    Start(Arguments(login), "typed pass\r\nsecond line\n");
    WaitForExit();

    QCOMPARE(m_process->exitCode(), 0);
    QCOMPARE(ScriptedPeer::HeaderValue(m_peer->requests.value(0), "Cookie"), cookie);
}

void TestUploadCommand::terminateActsAsStop()
{
    Write(QStringLiteral("a.jpg"), "picture");
    m_peer->script = {ScriptedPeer::Hold()};
    QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
    Start(Arguments());
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
    m_process->terminate();
    WaitForExit();

    QCOMPARE(m_process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_process->exitCode(), 5);
    QCOMPARE(OutputLines().last(), QStringLiteral("Остановлено"));
    QVERIFY(QFile::exists(Img("a.jpg")));
}

void TestUploadCommand::unexpectedErrorIsNamed()
{
    Write(QStringLiteral("a.jpg"), "picture");
    QVERIFY(QDir(m_home->filePath("img")).mkpath(QStringLiteral("a.jpg_!/inside")));
    m_peer->script = {ScriptedPeer::Reply("<html>no marker</html>")};
    Start(Arguments());
    WaitForExit();

    QCOMPARE(m_process->exitCode(), 1);
    QVERIFY(m_process->readAllStandardError().contains("a.jpg"));
    QVERIFY(QFile::exists(Img("a.jpg")));
}

QTEST_GUILESS_MAIN(TestUploadCommand)
#include "tst_uploadcommand.moc"
