#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// The service stand-in as a process of its own on loopback, with its
// request log (standard error) read as it comes.
class StandinProcess
{
public:
    StandinProcess() = default;
    ~StandinProcess() { Kill(); }
    StandinProcess(const StandinProcess &) = delete;
    StandinProcess &operator=(const StandinProcess &) = delete;

    // Starts it on port (0: a free one) with these arguments besides
    // --port; false unless it says where it listens.
    bool Start(const QString &program, const QStringList &arguments, quint16 port = 0);
    quint16 Port() const { return m_port; }
    // "127.0.0.1:PORT", as --host takes it.
    QString Address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // Waits for the log to hold the text.
    bool LogShows(const QByteArray &text);
    // Stops it as a member would (SIGTERM) and waits for its end.
    void Stop() { m_process.terminate(), m_process.waitForFinished(); }
    void Kill() { m_process.kill(), m_process.waitForFinished(); }

private:
    QProcess m_process;
    QByteArray m_log;
    quint16 m_port = 0;
};
