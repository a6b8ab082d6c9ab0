#include "cli/PasswordPrompt.h"

#include "cli/ExitStatus.h"
#include "cli/StandardInput.h"
#include "folder/PlainFile.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <termios.h>
#include <unistd.h>

namespace {

// Longer than any password; keeps a key held down, or input that never
// ends, from filling memory.
constexpr qsizetype LongestLine = 64 * 1024;
const int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

struct termios Found;
volatile sig_atomic_t Quieted = 0;

// A signal that ends the program must not leave the terminal without
// echo: put it back, then let the signal do what it would have done.
void RestoreAndResend(int signal)
{
    if (Quieted)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &Found);
    struct sigaction plain = {};
    plain.sa_handler = SIG_DFL;
    sigemptyset(&plain.sa_mask);
    ::sigaction(signal, &plain, nullptr);
    ::raise(signal);
}

class QuietTerminal
{
public:
    bool Begin(QString *error)
    {
        if (::tcgetattr(STDIN_FILENO, &Found) != 0) {
            *error = QCoreApplication::translate("PasswordPrompt", "Cannot read the terminal's settings: %1")
                         .arg(PlainFile::SystemError(errno));
            return false;
        }
        struct sigaction restore = {};
        restore.sa_handler = RestoreAndResend;
        sigemptyset(&restore.sa_mask);
        for (size_t i = 0; i < std::size(EndingSignals); ++i)
            ::sigaction(EndingSignals[i], &restore, &m_before[i]);
        // Stopped at the prompt, the shell would show the typing again.
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGTSTP, &ignore, &m_beforeStop);
        m_armed = true;

        struct termios quiet = Found;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        Quieted = 1;
        if (::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) != 0) {
            *error = QCoreApplication::translate("PasswordPrompt", "Cannot turn off the terminal's echo: %1")
                         .arg(PlainFile::SystemError(errno));
            return false;
        }
        return true;
    }

    ~QuietTerminal()
    {
        if (Quieted)
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &Found);
        Quieted = 0;
        if (!m_armed)
            return;
        for (size_t i = 0; i < std::size(EndingSignals); ++i)
            ::sigaction(EndingSignals[i], &m_before[i], nullptr);
        ::sigaction(SIGTSTP, &m_beforeStop, nullptr);
    }

private:
    struct sigaction m_before[std::size(EndingSignals)] = {};
    struct sigaction m_beforeStop = {};
    bool m_armed = false;
};

}

namespace PasswordPrompt {

int Read(QString *password, QString *error)
{
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    // Echo goes off before the prompt shows, so that no key typed at the
    // sight of it is shown.
    QuietTerminal quiet;
    if (terminal) {
        if (!quiet.Begin(error))
            return ExitStatus::Unexpected;
        const QByteArray prompt = QCoreApplication::translate("PasswordPrompt", "Password: ").toUtf8();
        if (std::fwrite(prompt.constData(), 1, size_t(prompt.size()), stderr) != size_t(prompt.size())
            || std::fflush(stderr) != 0) {
            *error = QCoreApplication::translate("PasswordPrompt", "Cannot write the prompt to standard error: %1")
                         .arg(PlainFile::SystemError(errno));
            return ExitStatus::Unexpected;
        }
    }
    QByteArray line;
    switch (StandardInput::Line(LongestLine, &line, error)) {
    case StandardInput::Result::Failed:
        *error = QCoreApplication::translate("PasswordPrompt", "Cannot read the password from standard input: %1")
                     .arg(*error);
        return ExitStatus::Unexpected;
    case StandardInput::Result::TooLong:
        *error = QCoreApplication::translate("PasswordPrompt", "The password on standard input is longer than %1 bytes")
                     .arg(LongestLine);
        return ExitStatus::Usage;
    case StandardInput::Result::Ended:
        if (terminal) {
            *error = QCoreApplication::translate("PasswordPrompt", "The terminal closed before a password was typed");
            return ExitStatus::Unexpected;
        }
        break;
    case StandardInput::Result::Read: break;
    }
    *password = QString::fromUtf8(line);
    return ExitStatus::Success;
}

}
