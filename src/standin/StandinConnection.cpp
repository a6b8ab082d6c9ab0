#include "standin/StandinConnection.h"

#include "standin/StandinService.h"

#include <QTcpSocket>

#include <cstdio>

StandinConnection::StandinConnection(QTcpSocket *socket, StandinService &service, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_service(service)
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &StandinConnection::OnReadyRead);
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this] { m_idle.start(); });
    connect(m_socket, &QTcpSocket::disconnected, this, &StandinConnection::OnDisconnected);
    m_idle.setSingleShot(true);
    m_idle.setInterval(IdleLimitMs);
    connect(&m_idle, &QTimer::timeout, this, &StandinConnection::OnIdle);
    m_idle.start();
    OnReadyRead();
}

void StandinConnection::OnReadyRead()
{
    if (m_answered) {
        m_socket->skip(m_socket->bytesAvailable());
        return;
    }
    m_idle.start();
    m_reader.ReadFrom(*m_socket);
    if (m_reader.GetState() == RequestReader::State::Complete)
        Answer(m_service.Respond(m_reader.Request()));
    else if (m_reader.GetState() == RequestReader::State::Failed)
        Answer(StandinService::Reject(m_reader.FailStatus(), m_reader.FailReason()));
}

void StandinConnection::Answer(const HttpReply &reply)
{
    m_answered = true;
    const QByteArray head = reply.Head();
    Log(reply.outcome, head.size() + reply.body.size());
    m_socket->write(head);
    m_socket->write(reply.body);
    // Waits for the reply to leave before closing.
    m_socket->disconnectFromHost();
}

void StandinConnection::OnDisconnected()
{
    if (!m_answered)
        Log("dropped", 0);
    Finish();
}

void StandinConnection::OnIdle()
{
    if (!m_answered)
        Log("idle", 0);
    Finish();
}

void StandinConnection::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_idle.stop();
    m_socket->disconnect(this);
    m_socket->abort();
    deleteLater();
}

void StandinConnection::Log(const QByteArray &outcome, qint64 bytesOut) const
{
    const HttpRequest &request = m_reader.Request();
    const QByteArray line = (request.method.isEmpty() ? QByteArray("-") : request.method) + ' '
        + (request.path.isEmpty() ? QByteArray("-") : request.path) + ' ' + outcome
        + " in=" + QByteArray::number(m_reader.BytesTaken()) + " out=" + QByteArray::number(bytesOut) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}
