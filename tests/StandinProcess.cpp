#include "StandinProcess.h"

bool StandinProcess::Start(const QString &program, const QStringList &arguments, quint16 port)
{
    Kill();
    m_log.clear();
    m_process.setReadChannel(QProcess::StandardOutput);
    m_process.start(program, QStringList{"--port", QString::number(port)} + arguments);
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {}
    const QByteArray line = m_process.readLine().trimmed();
    m_port = line.startsWith("listening on 127.0.0.1:") ? line.mid(line.lastIndexOf(':') + 1).toUShort() : 0;
    m_process.setReadChannel(QProcess::StandardError);
    return m_port != 0;
}

bool StandinProcess::LogShows(const QByteArray &text)
{
    // What an event loop took in meanwhile is waiting already.
    for (m_log += m_process.readAll(); !m_log.contains(text); m_log += m_process.readAll()) {
        if (!m_process.waitForReadyRead(10000))
            return false;
    }
    return true;
}
