#include "ScriptedPeer.h"
#include "TestFiles.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using TestFiles::ProgramResult;

// The headless upload as a script would run it: the real program as a
// process, the service played on loopback. How each reply is judged is the
// cycle's test's; the password from the environment is the end-to-end test's.
class TestUploadCommand : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(m_home->path()).mkdir(QStringLiteral("img")));
        m_peer = std::make_unique<ScriptedPeer>();
        QVERIFY(m_peer->Listen());
    }

    void runEndsWithItsExitStatus_data()
    {
        QTest::addColumn<ScriptedPeer::Step>("answer");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("stdoutEnd");
        QTest::addColumn<QByteArray>("stderrHas");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QByteArray>("logged");

        // One byte short of the longest name: "_!" cannot be added to it.
        const QString longest = QString(251, 'a') + QStringLiteral(".jpg");
        QTest::newRow("accepted") << ScriptedPeer::Reply(ScriptedPeer::AcceptedPage()) << "a.jpg" << 0
                                  << "Готово\nЗагружено 1, отложено 0, пропущено 0\n"_ba << QByteArray() << QStringList()
                                  << "\ta.jpg\t7\taccepted\n"_ba;
        QTest::newRow("login refused: kept, exit 3")
            << ScriptedPeer::Reply(ScriptedPeer::RefusedPage()) << "a.jpg" << 3
            << "Неверное имя или пароль\nЗагружено 0, отложено 0, пропущено 0\n"_ba << QByteArray() << QStringList{"a.jpg"}
            << "\ta.jpg\t7\trefused\n"_ba;
        QTest::newRow("terminated while the service stores: stopped")
            << ScriptedPeer::Hold() << "a.jpg" << 5 << "Остановлено\nЗагружено 0, отложено 0, пропущено 0\n"_ba
            << QByteArray() << QStringList{"a.jpg"} << "\ta.jpg\t7\tstopped\n"_ba;
        QTest::newRow("failed with the service's words: set aside, said, exit 6")
            << ScriptedPeer::Reply("HTTP/1.0 200 OK\r\nX-Note: head\r\n\r\n<html><head><title>t</title></head><body>"
                                   "<p>\xD4\xE0\xE9\xEB   \xF1\xEB\xE8\xF8\xEA\xEE\xEC</p><p>\xE2\xE5\xEB\xE8\xEA</p>"
                                   "</body></html>")
            << "a.jpg" << 6 << "Failed\nservice: Файл слишком велик\nГотово\nЗагружено 0, отложено 1, пропущено 0\n"_ba
            << QByteArray() << QStringList{"a.jpg_!"} << "\ta.jpg\t7\tset aside as a.jpg_!\tФайл слишком велик\n"_ba;
        const QByteArray lost = "no reply came; the picture may have arrived, so it is set aside, not sent again";
        QTest::newRow("reset once the request went out whole: set aside, said, exit 6")
            << ScriptedPeer::Reset() << "a.jpg" << 6 << "Failed\nservice: " + lost + "\nГотово\nЗагружено 0, отложено 1, пропущено 0\n"
            << QByteArray() << QStringList{"a.jpg_!"} << "\ta.jpg\t7\tset aside as a.jpg_!\t" + lost + "\n";
        QTest::newRow("name too long to set aside: passed over by name, the run goes on, exit 6")
            << ScriptedPeer::Reply("<html>no marker</html>") << longest << 6
            << "Failed\nservice: no marker\nГотово\nЗагружено 0, отложено 0, пропущено 1\n"_ba << "passed over"_ba
            << QStringList{longest} << "\t7\tpassed over\tCannot set "_ba;
    }

    void runEndsWithItsExitStatus()
    {
        QFETCH(ScriptedPeer::Step, answer);
        QFETCH(QString, name);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, stdoutEnd);
        QFETCH(QByteArray, stderrHas);
        QFETCH(QStringList, left);
        QFETCH(QByteArray, logged);

        QVERIFY(TestFiles::Write(Img(name), "picture"));
        m_peer->script = {answer};
        QSignalSpy received(m_peer.get(), &ScriptedPeer::RequestReceived);
        // With no password in the environment, the first input line is the password.
        const auto process = Start(Upload(), "typed pass\r\nsecond line\n");
        if (answer.then == ScriptedPeer::Then::Hold) {
            QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
            process->terminate();
        }
        const ProgramResult run = Wait(*process);

        QCOMPARE(run.status, exitCode);
        QVERIFY2(run.output.endsWith(stdoutEnd), run.output.constData());
        QVERIFY2(stderrHas.isEmpty() ? run.errors.isEmpty() : run.errors.contains(stderrHas), run.errors.constData());
        QCOMPARE(QDir(Img({})).entryList(QDir::Files), left);
        const QByteArray records = TestFiles::Read(m_home->filePath("uploads.log"));
        QCOMPARE(records.count('\n'), 1);
        QVERIFY2(records.contains(logged), records.constData());
        const QByteArray pass = QCryptographicHash::hash("typed pass", QCryptographicHash::Md5).toHex();
        QVERIFY(!records.contains(pass));
        QCOMPARE(ScriptedPeer::HeaderValue(m_peer->requests.value(0), "Cookie"), "user_login=member; user_pass=" + pass);
    }

    // Only set-aside pictures go back, each under the first free name (a
    // numbered one keeps its number), none written over, so a clash with a
    // picture imported meanwhile costs neither. A name one longer than the
    // folder allows cannot take its number: it is named, the others go back
    // all the same, and the exit status says so.
    void requeuedPicturesGoUpInTheNextRun()
    {
        QVERIFY(TestFiles::Write(Img("a.jpg"), "first"));
        m_peer->script = {ScriptedPeer::Reply("<html>busy</html>")};
        QCOMPARE(Run(Upload(), "pass\n").status, 6);
        const QString stem = QString(249, 'x') + ".jpg";
        for (const QString &name : QStringList{stem, stem + "_!", ".e.jpg_!", "a (2).jpg", "a.jpg", "d.txt_!", "f.JPEG_!",
                                               "n (2).jpg_!", "z.jpg_!"})
            QVERIFY(TestFiles::Write(Img(name), name.toUtf8()));

        const ProgramResult requeue = Run({"requeue", "--home", m_home->path()});
        QCOMPARE(requeue.status, 6);
        QCOMPARE(requeue.output, "Returned to the queue: 4\n"_ba);
        QVERIFY2(requeue.errors.startsWith("picaroon requeue: Cannot return ") && requeue.errors.contains(stem.toUtf8() + "_!"),
                 requeue.errors.constData());
        const QStringList kept = {".e.jpg_!", "d.txt_!", stem + "_!"};
        QStringList found;
        for (const QString &name : QDir(Img({})).entryList(QDir::Files | QDir::Hidden, QDir::Name))
            found << name + '=' + TestFiles::Read(Img(name));
        QCOMPARE(found, QStringList({".e.jpg_!=.e.jpg_!", "a (2).jpg=a (2).jpg", "a (3).jpg=first", "a.jpg=a.jpg",
                                     "d.txt_!=d.txt_!", "f.JPEG=f.JPEG_!", "n (2).jpg=n (2).jpg_!", stem + '=' + stem,
                                     stem + "_!=" + stem + "_!", "z.jpg=z.jpg_!"}));

        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        m_peer->requests.clear();
        QCOMPARE(Run(Upload(), "pass\n").status, 0);
        QCOMPARE(m_peer->requests.size(), 7);
        QCOMPARE(QDir(Img({})).entryList(QDir::Files | QDir::Hidden, QDir::Name), kept);
    }

    // How each stored value is checked is the settings' test.
    void settingsAndOptions_data()
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
            << QByteArray() << QStringList {"--login", "m"} << 2
            << "picaroon upload: No upload server is set: give it in the settings dialog (Ctrl+,), in the file "
               "CONFIG/picaroon/picaroon.conf (key uploadHost in the section [service]) or with --host.\n"_ba
            << QByteArray();
        QTest::newRow("the placeholder given on the command line is no host either")
            << QByteArray() << QStringList {"--login", "m", "--host", "upload.example.invalid"} << 2
            << "No upload server is set"_ba << QByteArray();
        QTest::newRow("a stored value that does not check, though the host is given: named, exit 2")
            << "[upload]\ntimeout=soon\n"_ba << QStringList {"--login", "m", "--host", "127.0.0.1:PORT"} << 2
            << "picaroon upload: upload/timeout in CONFIG/picaroon/picaroon.conf: the timeout"_ba << QByteArray();
        QTest::newRow("retry window not a number") << QByteArray()
            << QStringList{"--login", "x", "--host", "127.0.0.1:PORT", "--retry-for", "soon"} << 2 << "usage: picaroon"_ba
            << QByteArray();
        QTest::newRow("no login given or kept") << "[service]\nuploadHost=127.0.0.1:PORT\n"_ba << QStringList{} << 2
                                                << "--login is required"_ba << QByteArray();
        QTest::newRow("a settings file that cannot be read: exit 1")
            << "(folder)"_ba << QStringList{"--login", "m", "--host", "127.0.0.1:PORT"} << 1
            << "picaroon upload: Cannot read CONFIG/picaroon/picaroon.conf: Is a directory"_ba << QByteArray();
    }

    void settingsAndOptions()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, said);
        QFETCH(QByteArray, login);

        const QByteArray port = QByteArray::number(m_peer->serverPort());
        const QString config = m_home->filePath(QStringLiteral("config"));
        const QString file = config + QStringLiteral("/picaroon/picaroon.conf");
        if (settings == "(folder)")
            QVERIFY(QDir().mkpath(file));
        else if (!settings.isEmpty())
            QVERIFY(TestFiles::Write(file, settings.replace("PORT", port)));
        QVERIFY(TestFiles::Write(Img("a.jpg"), "picture"));
        m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
        const ProgramResult run = Run(QStringList{"upload", "--home", m_home->path()}
                                          + options.replaceInStrings("PORT", QString::fromLatin1(port)), "pass\n");

        QCOMPARE(run.status, exitCode);
        said.replace("CONFIG", QFile::encodeName(config));
        QVERIFY2(said.isEmpty() ? run.errors.isEmpty() : run.errors.contains(said), run.errors.constData());
        QCOMPARE(QFile::exists(Img("a.jpg")), login.isEmpty());
        QCOMPARE(ScriptedPeer::HeaderValue(m_peer->requests.value(0), "Cookie").startsWith("user_login=" + login + ";"),
                 !login.isEmpty());
        // A headless run reads the settings and never writes them.
        QCOMPARE(QFileInfo::exists(file), !settings.isEmpty());
    }

private:
    QString Img(const QString &name) const { return m_home->filePath("img/" + name); }
    QStringList Upload() const
    {
        return {"upload", "--login", "member", "--home", m_home->path(), "--host", u"127.0.0.1:%1"_s.arg(m_peer->serverPort())};
    }
    std::unique_ptr<QProcess> Start(const QStringList &arguments, const QByteArray &input = {}) const
    {
        return TestFiles::ProgramRun(QStringLiteral(PICAROON_BIN), arguments)
            .Input(input).Unset("PICAROON_PASSWORD").Set("XDG_CONFIG_HOME", m_home->filePath("config")).Start();
    }
    // The peer lives in this process's event loop, so wait without blocking it.
    static ProgramResult Wait(QProcess &process)
    {
        [&] { QTRY_COMPARE_WITH_TIMEOUT(process.state(), QProcess::NotRunning, 20000); }();
        const bool ended = process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
        process.kill();
        process.waitForFinished();
        return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
    }
    ProgramResult Run(const QStringList &arguments, const QByteArray &input = {}) const { return Wait(*Start(arguments, input)); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<ScriptedPeer> m_peer;
};

QTEST_GUILESS_MAIN(TestUploadCommand)
#include "tst_uploadcommand.moc"
