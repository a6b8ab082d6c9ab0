#include "ScriptedPeer.h"
#include "TestFiles.h"

#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
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
    void cleanup()
    {
        if (m_child > 0) {
            ::kill(m_child, SIGKILL);
            ::waitpid(m_child, nullptr, 0);
        }
        m_child = -1;
        m_shownNotifier.reset();
        if (m_terminal >= 0)
            ::close(m_terminal);
        m_terminal = -1;
    }

    // Echo is off while the password is typed, and a program ended by a
    // signal midway gives the terminal back as it found it.
    void terminalGivenBackWhenTerminatedAtThePrompt()
    {
        QVERIFY(TestFiles::Write(m_home.filePath("img/a.jpg"), "picture"));
        ScriptedPeer peer;
        QVERIFY(peer.Listen());
        m_shown.clear();
        Spawn({"upload", "--login", "member", "--home", m_home.path(), "--host",
               QStringLiteral("127.0.0.1:%1").arg(peer.serverPort())});
        QTRY_VERIFY2(m_shown.contains("Password: "), m_shown.constData());
        QVERIFY(!Echoing());
        QCOMPARE(::write(m_terminal, "se", 2), 2);
        ::kill(m_child, SIGTERM);
        int status = 0;
        pid_t ended = 0;
        // The peer answers from this event loop, so it must keep running.
        QTRY_VERIFY_WITH_TIMEOUT(ended != 0 || (ended = ::waitpid(m_child, &status, WNOHANG)) != 0, 20000);
        QCOMPARE(ended, m_child);
        m_child = -1;
        QVERIFY(Echoing());
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGTERM);
        QVERIFY(peer.requests.isEmpty());
        QCOMPARE(TestFiles::Read(m_home.filePath("img/a.jpg")), "picture");
    }

private:
    void Spawn(const QStringList &arguments)
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
        // What the terminal shows, taken as it comes; it stays readable after
        // the program closed its end (EIO), which ends the taking.
        m_shownNotifier = std::make_unique<QSocketNotifier>(m_terminal, QSocketNotifier::Read);
        connect(m_shownNotifier.get(), &QSocketNotifier::activated, this, [this] {
            char buffer[512];
            const ssize_t got = ::read(m_terminal, buffer, sizeof buffer);
            if (got > 0)
                m_shown.append(buffer, got);
            else if (got == 0 || errno != EAGAIN)
                m_shownNotifier->setEnabled(false);
        });
    }

    bool Echoing() const
    {
        struct termios settings;
        return ::tcgetattr(m_terminal, &settings) == 0 && (settings.c_lflag & ECHO);
    }

    QTemporaryDir m_home;
    std::unique_ptr<QSocketNotifier> m_shownNotifier;
    int m_terminal = -1;
    pid_t m_child = -1;
    QByteArray m_shown;
};

QTEST_GUILESS_MAIN(TestPasswordPrompt)
#include "tst_passwordprompt.moc"
