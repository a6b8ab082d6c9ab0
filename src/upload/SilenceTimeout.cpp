#include "upload/SilenceTimeout.h"

#include <QAbstractSocket>

SilenceTimeout::SilenceTimeout(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SilenceTimeout::TimedOut);
}

void SilenceTimeout::SetSeconds(int seconds)
{
    // The timer counts milliseconds in an int: about 24 days at most.
    m_seconds = qBound(0, seconds, 2000000);
}

void SilenceTimeout::Watch(QAbstractSocket *socket)
{
    Release();
    if (m_seconds == 0)
        return;
    m_socket = socket;
    connect(socket, &QAbstractSocket::connected, this, &SilenceTimeout::Restart);
    connect(socket, &QAbstractSocket::bytesWritten, this, &SilenceTimeout::Restart);
    connect(socket, &QAbstractSocket::readyRead, this, &SilenceTimeout::Restart);
    Restart();
}

void SilenceTimeout::Release()
{
    m_timer.stop();
    if (m_socket)
        m_socket->disconnect(this);
    m_socket = nullptr;
}

void SilenceTimeout::Restart()
{
    m_timer.start(m_seconds * 1000);
}
