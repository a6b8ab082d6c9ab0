#include "ScriptedPeer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The headless upload as a script would run it: the real program as a
// process, the service played on loopback. How each reply is judged is the
// cycle's test's; the password from the environment is the end-to-end test's.
class TestUploadCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void wrongUsageIsRefused_data();
    void wrongUsageIsRefused();
    void runEndsWithItsExitStatus_data();
    void runEndsWithItsExitStatus();
    void requeuedPictureGoesUpInTheNextRun();
    void settingsAndOptions_data();
    void settingsAndOptions();

private:
    void Start(const QStringList &arguments, const QByteArray &input = {});
    void WaitForExit();

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
    environment.remove(QStringLiteral("PICAROON_PASSWORD"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->filePath(QStringLiteral("config")));
    m_process->setProcessEnvironment(environment);
}

void TestUploadCommand::cleanup()
{
    m_process->kill();
    m_process->waitForFinished();
    delete m_process;
    delete m_peer;
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

void TestUploadCommand::wrongUsageIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("unknown command") << QStringList{"download"};
    QTest::newRow("no login") << QStringList{"upload", "--host", "127.0.0.1"};
    QTest::newRow("port zero") << QStringList{"upload", "--login", "x", "--host", "h:0"};
    QTest::newRow("stray argument") << QStringList{"upload", "--login", "x", "extra"};
    QTest::newRow("unknown option") << QStringList{"upload", "--login", "x", "--passwd", "p"};
    QTest::newRow("timeout not a number") << QStringList{"upload", "--login", "x", "--timeout", "soon"};
    QTest::newRow("negative timeout") << QStringList{"upload", "--login", "x", "--timeout", "-1"};
}

void TestUploadCommand::wrongUsageIsRefused()
{
    QFETCH(QStringList, arguments);
    Start(arguments);
    WaitForExit();
    QCOMPARE(m_process->exitCode(), 2);
    QVERIFY(m_process->readAllStandardError().contains("usage: picaroon"));
    QVERIFY(m_peer->requests.isEmpty());
}

void TestUploadCommand::runEndsWithItsExitStatus_data()
{
    QTest::addColumn<ScriptedPeer::Step>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("stdoutEnd");
    QTest::addColumn<QByteArray>("stderrHas");
    QTest::addColumn<bool>("stays");
    QTest::addColumn<QByteArray>("logged");

    // One byte short of the longest name: "_!" cannot be added to it.
    const QString longest = QString(251, 'a') + QStringLiteral(".jpg");
    QTest::newRow("accepted") << ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()) << "a.jpg" << 0
                              << "Готово\nЗагружено 1, отложено 0, пропущено 0\n"_ba << QByteArray() << false
                              << "\ta.jpg\t7\taccepted\n"_ba;
    QTest::newRow("terminated while the service stores: stopped")
        << ScriptedPeer::Hold() << "a.jpg" << 5 << "Остановлено\nЗагружено 0, отложено 0, пропущено 0\n"_ba
        << QByteArray() << true << "\ta.jpg\t7\tstopped\n"_ba;
    QTest::newRow("failed with the service's words: set aside, said, exit 6")
        << ScriptedPeer::Reply("HTTP/1.0 200 OK\r\nX-Note: head\r\n\r\n<html><head><title>t</title></head><body>"
                               "<p>\xD4\xE0\xE9\xEB   \xF1\xEB\xE8\xF8\xEA\xEE\xEC</p><p>\xE2\xE5\xEB\xE8\xEA</p>"
                               "</body></html>")
        << "a.jpg" << 6 << "Failed\nservice: Файл слишком велик\nГотово\nЗагружено 0, отложено 1, пропущено 0\n"_ba
        << QByteArray() << false << "\ta.jpg\t7\tset aside as a.jpg_!\tФайл слишком велик\n"_ba;
    QTest::newRow("name too long to set aside: passed over by name, the run goes on, exit 6")
        << ScriptedPeer::Reply("<html>no marker</html>") << longest << 6
        << "Failed\nservice: no marker\nГотово\nЗагружено 0, отложено 0, пропущено 1\n"_ba << "passed over"_ba << true << "\t7\tpassed over\tCannot set "_ba;
}

void TestUploadCommand::runEndsWithItsExitStatus()
{
    QFETCH(ScriptedPeer::Step, answer);
    QFETCH(QString, name);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, stdoutEnd);
    QFETCH(QByteArray, stderrHas);
    QFETCH(bool, stays);
    QFETCH(QByteArray, logged);

    QFile picture(m_home->filePath("img/" + name));
    QVERIFY(picture.open(QIODevice::WriteOnly) && picture.write("picture") == 7);
    picture.close();
    m_peer->script = {answer};
    QSignalSpy received(m_peer, &ScriptedPeer::RequestReceived);
    // With no password in the environment, the first input line is the password.
    Start({"upload", "--login", "member", "--home", m_home->path(),
           "--host", QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort())},
          "typed pass\r\nsecond line\n");
    if (answer.hold) {
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
        m_process->terminate();
    }
    WaitForExit();

    QCOMPARE(m_process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_process->exitCode(), exitCode);
    const QByteArray stdoutText = m_process->readAllStandardOutput();
    QVERIFY2(stdoutText.endsWith(stdoutEnd), stdoutText.constData());
    const QByteArray stderrText = m_process->readAllStandardError();
    QVERIFY2(stderrHas.isEmpty() ? stderrText.isEmpty() : stderrText.contains(stderrHas), stderrText.constData());
    QCOMPARE(picture.exists(), stays);
    QFile log(m_home->filePath("uploads.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray records = log.readAll();
    QCOMPARE(records.count('\n'), 1);
    QVERIFY2(records.contains(logged), records.constData());
    QVERIFY(!records.contains(QCryptographicHash::hash("typed pass", QCryptographicHash::Md5).toHex()));
    QCOMPARE(QDir(m_home->filePath("img")).entryList(QDir::Files).size(), int(stays) + int(exitCode == 6 && !stays));
    QCOMPARE(ScriptedPeer::HeaderValue(m_peer->requests.value(0), "Cookie"),
             "user_login=member; user_pass=" + QCryptographicHash::hash("typed pass", QCryptographicHash::Md5).toHex());
}

// A clash with a picture imported meanwhile must not cost either picture.
void TestUploadCommand::requeuedPictureGoesUpInTheNextRun()
{
    const QDir img(m_home->filePath("img"));
    QFile picture(img.filePath("a.jpg"));
    QVERIFY(picture.open(QIODevice::WriteOnly) && picture.write("first") == 5);
    picture.close();
    m_peer->script = {ScriptedPeer::Reply("<html>busy</html>"), ScriptedPeer::Hold()};
    const QStringList upload = {"upload", "--login", "member", "--home", m_home->path(),
                                "--host", QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort())};
    Start(upload, "pass\n");
    WaitForExit();
    QCOMPARE(m_process->exitCode(), 6);
    QVERIFY(picture.open(QIODevice::WriteOnly) && picture.write("imported later") == 14);
    picture.close();

    Start({"requeue", "--home", m_home->path()});
    WaitForExit();
    QCOMPARE(m_process->exitCode(), 0);
    QCOMPARE(m_process->readAllStandardOutput(), "Возвращено в очередь: 1\n"_ba);
    QCOMPARE(img.entryList(QDir::Files), QStringList({"a (2).jpg", "a.jpg"}));

    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    m_peer->requests.clear();
    Start(upload, "pass\n");
    WaitForExit();
    QCOMPARE(m_process->exitCode(), 0);
    QCOMPARE(QSet<QByteArray>({ScriptedPeer::PictureOf(m_peer->requests.value(0)),
                               ScriptedPeer::PictureOf(m_peer->requests.value(1))}),
             QSet<QByteArray>({"first", "imported later"}));
    QVERIFY(img.entryList(QDir::Files).isEmpty());
}

void TestUploadCommand::settingsAndOptions_data()
{
    QTest::addColumn<QByteArray>("settings"); // PORT: the peer's
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("said"); // on standard error
    QTest::addColumn<QByteArray>("login"); // in the cookie; empty: nothing sent

    QTest::newRow("the stored host and login")
        << "[service]\nuploadHost=127.0.0.1:PORT\n[upload]\nlastLogin=kept\n"_ba << QStringList{} << 0 << QByteArray()
        << "kept"_ba;
    QTest::newRow("options win for the run")
        << "[service]\nuploadHost=127.0.0.1:1\n[upload]\nlastLogin=kept\n"_ba
        << QStringList{"--host", "127.0.0.1:PORT", "--login", "given"} << 0 << QByteArray() << "given"_ba;
    QTest::newRow("no host set: where to set it, exit 2")
        << QByteArray() << QStringList{"--login", "m"} << 2
        << "picaroon upload: Сервер загрузки не задан: укажите его в окне настроек (Ctrl+,), в файле CONFIG/picaroon/"
           "picaroon.conf (ключ uploadHost в разделе [service]) или ключом --host.\n"_ba
        << QByteArray();
    QTest::newRow("the placeholder given on the command line is no host either")
        << QByteArray() << QStringList{"--login", "m", "--host", "upload.example.invalid"} << 2
        << "Сервер загрузки не задан"_ba << QByteArray();
    QTest::newRow("a stored host that does not check: named, exit 2")
        << "[service]\nuploadHost=127.0.0.1:0\n"_ba << QStringList{"--login", "m"} << 2
        << "picaroon upload: service/uploadHost in CONFIG/picaroon/picaroon.conf: порт — число от 1 до 65535"_ba
        << QByteArray();
    QTest::newRow("a stored timeout that does not check, though the host is given")
        << "[upload]\ntimeout=soon\n"_ba << QStringList{"--login", "m", "--host", "127.0.0.1:PORT"} << 2
        << "upload/timeout in CONFIG/picaroon/picaroon.conf: тайм-аут"_ba << QByteArray();
    QTest::newRow("no login given or kept") << "[service]\nuploadHost=127.0.0.1:PORT\n"_ba << QStringList{} << 2
                                            << "--login is required"_ba << QByteArray();
    QTest::newRow("a settings file that cannot be read: exit 1")
        << "(folder)"_ba << QStringList{"--login", "m", "--host", "127.0.0.1:PORT"} << 1
        << "picaroon upload: Cannot read CONFIG/picaroon/picaroon.conf: Is a directory"_ba << QByteArray();
}

void TestUploadCommand::settingsAndOptions()
{
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, said);
    QFETCH(QByteArray, login);

    const QByteArray port = QByteArray::number(m_peer->serverPort());
    const QString config = m_home->filePath(QStringLiteral("config"));
    const QString file = config + QStringLiteral("/picaroon/picaroon.conf");
    QVERIFY(QDir().mkpath(config + QStringLiteral("/picaroon")));
    if (settings == "(folder)") {
        QVERIFY(QDir().mkpath(file));
    } else if (!settings.isEmpty()) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(settings.replace("PORT", port)) > 0);
    }
    QFile picture(m_home->filePath("img/a.jpg"));
    QVERIFY(picture.open(QIODevice::WriteOnly) && picture.write("picture") == 7);
    picture.close();
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    options.replaceInStrings("PORT", QString::fromLatin1(port));
    Start(QStringList{"upload", "--home", m_home->path()} + options, "pass\n");
    WaitForExit();

    QCOMPARE(m_process->exitCode(), exitCode);
    const QByteArray errors = m_process->readAllStandardError();
    said.replace("CONFIG", QFile::encodeName(config));
    QVERIFY2(said.isEmpty() ? errors.isEmpty() : errors.contains(said), errors.constData());
    QCOMPARE(picture.exists(), login.isEmpty());
    if (!login.isEmpty())
        QVERIFY(ScriptedPeer::HeaderValue(m_peer->requests.value(0), "Cookie").startsWith("user_login=" + login + ";"));
    else
        QVERIFY(m_peer->requests.isEmpty());
    // A headless run reads the settings and never writes them.
    QCOMPARE(QFileInfo::exists(file), !settings.isEmpty());
}

QTEST_GUILESS_MAIN(TestUploadCommand)
#include "tst_uploadcommand.moc"
