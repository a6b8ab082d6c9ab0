#include "ScriptedPeer.h"

#include "text/Cp1251.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

// The headless upload on a real terminal: a pseudo-terminal stands in for
// the member's, so that echo and the prompt are the system's own.
class TestPasswordPrompt : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void typedPasswordIsNotShown_data();
    void typedPasswordIsNotShown();
    void interruptedPromptGivesTheTerminalBack_data();
    void interruptedPromptGivesTheTerminalBack();

private:
    void Spawn(const QStringList &arguments);
    // Reads what the terminal shows until it holds text; false when the
    // program ended or went silent first.
    bool WaitFor(const QByteArray &text);
    bool Echoing() const;
    int WaitForExit();

    std::unique_ptr<QTemporaryDir> m_home;
    ScriptedPeer *m_peer = nullptr;
    int m_terminal = -1;
    pid_t m_child = -1;
    QByteArray m_shown;
};

void TestPasswordPrompt::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_home->path()).mkdir("img"));
    QFile picture(m_home->filePath("img/a.jpg"));
    QVERIFY(picture.open(QIODevice::WriteOnly) && picture.write("picture") == 7);
    m_peer = new ScriptedPeer(this);
    QVERIFY(m_peer->Listen());
    m_peer->script = {ScriptedPeer::Reply(ScriptedPeer::AcceptedPage())};
    m_shown.clear();
}

void TestPasswordPrompt::cleanup()
{
    if (m_child > 0) {
        ::kill(m_child, SIGKILL);
        ::waitpid(m_child, nullptr, 0);
    }
    m_child = -1;
    if (m_terminal >= 0)
        ::close(m_terminal);
    m_terminal = -1;
    delete m_peer;
}

void TestPasswordPrompt::Spawn(const QStringList &arguments)
{
    QList<QByteArray> bytes{PICAROON_BIN};
    for (const QString &argument : arguments)
        bytes.append(argument.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::unsetenv("PICAROON_PASSWORD");
    m_child = ::forkpty(&m_terminal, nullptr, nullptr, nullptr);
    QVERIFY(m_child >= 0);
    if (m_child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    QVERIFY(::fcntl(m_terminal, F_SETFL, O_NONBLOCK) == 0);
}

bool TestPasswordPrompt::WaitFor(const QByteArray &text)
{
    // The peer answers from this event loop, so it must keep running.
    QDeadlineTimer deadline(20000);
    while (!m_shown.contains(text) && !deadline.hasExpired()) {
        char buffer[512];
        const ssize_t got = ::read(m_terminal, buffer, sizeof buffer);
        if (got > 0)
            m_shown.append(buffer, got);
        else if (got < 0 && errno != EAGAIN)
            return false; // EIO: the program closed the terminal
        else
            QTest::qWait(10);
    }
    return m_shown.contains(text);
}

bool TestPasswordPrompt::Echoing() const
{
    struct termios settings;
    return ::tcgetattr(m_terminal, &settings) == 0 && (settings.c_lflag & ECHO);
}

int TestPasswordPrompt::WaitForExit()
{
    int status = 0;
    QDeadlineTimer deadline(20000);
    while (::waitpid(m_child, &status, WNOHANG) == 0 && !deadline.hasExpired()) {
        WaitFor("\x01"); // keeps the terminal drained while waiting
        QTest::qWait(10);
    }
    m_child = -1;
    return status;
}

void TestPasswordPrompt::typedPasswordIsNotShown_data()
{
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("password");
    QTest::newRow("Latin letters") << QByteArray("s3cret\n") << QByteArray("s3cret");
    QTest::newRow("Cyrillic, in the terminal's UTF-8") << QByteArray("пароль\n") << QByteArray("пароль");
}

void TestPasswordPrompt::typedPasswordIsNotShown()
{
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, password);
    Spawn({"upload", "--login", "member", "--home", m_home->path(), "--host",
           QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort())});
    QVERIFY2(WaitFor("Пароль: "), m_shown.constData());
    QVERIFY(!Echoing());
    QCOMPARE(::write(m_terminal, typed.constData(), typed.size()), typed.size());
    QVERIFY2(WaitFor("Загружено 1, отложено 0, пропущено 0"), m_shown.constData());

    const int status = WaitForExit();
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QVERIFY2(!m_shown.contains(password), m_shown.constData());
    // The digest is of the password's Windows-1251 bytes.
    const QByteArray digest =
        QCryptographicHash::hash(Cp1251::FromUnicode(QString::fromUtf8(password)), QCryptographicHash::Md5).toHex();
    QCOMPARE(ScriptedPeer::HeaderValue(m_peer->requests.value(0), "Cookie"), "user_login=member; user_pass=" + digest);
}

void TestPasswordPrompt::interruptedPromptGivesTheTerminalBack_data()
{
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << QByteArray("se\x03") << SIGINT;
    QTest::newRow("terminated by another program") << QByteArray("se") << SIGTERM;
}

void TestPasswordPrompt::interruptedPromptGivesTheTerminalBack()
{
    QFETCH(QByteArray, keys);
    QFETCH(int, signal);
    Spawn({"upload", "--login", "member", "--home", m_home->path(), "--host",
           QStringLiteral("127.0.0.1:%1").arg(m_peer->serverPort())});
    QVERIFY2(WaitFor("Пароль: "), m_shown.constData());
    QVERIFY(!Echoing());
    QCOMPARE(::write(m_terminal, keys.constData(), keys.size()), keys.size());
    if (signal == SIGTERM) {
        QTest::qWait(100);
        ::kill(m_child, SIGTERM);
    }

    const int status = WaitForExit();
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), signal);
    QVERIFY(Echoing());
    QVERIFY(m_peer->requests.isEmpty());
    QVERIFY(QFile::exists(m_home->filePath("img/a.jpg")));
}

QTEST_GUILESS_MAIN(TestPasswordPrompt)
#include "tst_passwordprompt.moc"
