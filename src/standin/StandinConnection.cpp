#include "standin/StandinConnection.h"

#include "standin/BodyBudget.h"
#include "standin/RequestLog.h"
#include "standin/StandinService.h"

#include <QFile>
#include <QTcpSocket>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

StandinConnection::StandinConnection(QTcpSocket *socket, StandinService &service, BodyBudget &budget,
                                     const StandinLimits &limits, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_service(service)
    , m_budget(budget)
    , m_limits(limits)
{
    m_socket->setParent(this);
    m_socket->setReadBufferSize(ReadBufferSize);
    connect(m_socket, &QTcpSocket::readyRead, this, &StandinConnection::OnReadyRead);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &StandinConnection::OnBytesWritten);
    connect(m_socket, &QTcpSocket::disconnected, this, &StandinConnection::OnDisconnected);
    m_idle.setSingleShot(true);
    m_idle.setInterval(m_limits.idleTimeoutMs);
    connect(&m_idle, &QTimer::timeout, this, &StandinConnection::OnIdle);
    m_headDeadline.setSingleShot(true);
    m_headDeadline.setInterval(m_limits.headTimeoutMs);
    connect(&m_headDeadline, &QTimer::timeout, this, &StandinConnection::OnHeadDeadline);
}

StandinConnection::~StandinConnection()
{
    ReleaseBody();
}

void StandinConnection::Start()
{
    m_idle.start();
    m_headDeadline.start();
    OnReadyRead();
}

void StandinConnection::OnReadyRead()
{
    if (m_finished)
        return;
    if (m_phase == Phase::Answered) {
        m_socket->skip(m_socket->bytesAvailable());
        return;
    }
    m_idle.start();
    m_reader.ReadFrom(*m_socket);
    if (m_reader.GetState() == RequestReader::State::HeadDone) {
        if (std::optional<HttpReply> early = JudgeHead())
            return Answer(*early);
        m_reader.ReadFrom(*m_socket);
    }
    if (m_reader.GetState() == RequestReader::State::Complete)
        Answer(m_service.Respond(m_reader.Request()));
    else if (m_reader.GetState() == RequestReader::State::Failed)
        Answer(StandinService::Reject(m_reader.FailStatus(), m_reader.FailReason()));
}

std::optional<HttpReply> StandinConnection::JudgeHead()
{
    m_headDeadline.stop();
    if (std::optional<HttpReply> reply = m_service.RespondToHead(m_reader.Request()))
        return reply;
    m_admitted = true;
    const qint64 length = m_reader.BodyLength();
    if (length > m_limits.maxBody)
        return StandinService::Reject(413, "body too large");
    if (!m_budget.Take(length))
        return StandinService::Reject(503, "too many uploads at once");
    m_held = length;
    m_phase = Phase::Body;
    m_reader.StartBody();
    return std::nullopt;
}

void StandinConnection::Answer(const HttpReply &reply)
{
    m_phase = Phase::Answered;
    m_headDeadline.stop();
    ReleaseBody();
    const QByteArray head = reply.Head();
    if (reply.hold) {
        Log(reply.outcome, 0);
        m_idle.stop();
        return;
    }
    Log(reply.outcome, head.size() + reply.BodySize());
    m_socket->write(head);
    if (reply.file) {
        m_file = reply.file;
        m_fileLeft = m_file->size();
    } else {
        m_socket->write(reply.body);
    }
    m_sent = head.size() + reply.body.size();
    SendMore();
}

void StandinConnection::OnBytesWritten()
{
    m_idle.start();
    if (m_phase == Phase::Answered)
        SendMore();
}

void StandinConnection::SendMore()
{
    while (m_file && m_fileLeft > 0 && m_socket->bytesToWrite() < StreamChunk) {
        const QByteArray chunk = m_file->read(qMin(StreamChunk, m_fileLeft));
        if (chunk.isEmpty()) {
            // The promised length can no longer be kept; the client must not
            // take a short picture for a whole one.
            Log("unreadable(" + m_file->errorString().toUtf8() + ")", m_sent);
            return Finish();
        }
        m_socket->write(chunk);
        m_fileLeft -= chunk.size();
        m_sent += chunk.size();
    }
    if (m_fileLeft == 0)
        m_file.reset();
    if (!m_file && m_socket->bytesToWrite() == 0)
        HalfClose();
}

void StandinConnection::HalfClose()
{
    if (m_halfClosed)
        return;
    m_halfClosed = true;
#ifdef Q_OS_UNIX
    // The reply is ended by our FIN while whatever the client still sends
    // is read and dropped until it closes too.
    if (::shutdown(int(m_socket->socketDescriptor()), SHUT_WR) == 0) {
        m_idle.setInterval(qMin(LingerMs, m_limits.idleTimeoutMs));
        m_idle.start();
        return;
    }
#endif
    m_socket->disconnectFromHost();
}

void StandinConnection::OnDisconnected()
{
    if (m_phase != Phase::Answered)
        Log("dropped", 0);
    Finish();
}

void StandinConnection::OnIdle()
{
    if (m_phase != Phase::Answered)
        Log("idle", 0);
    Finish();
}

void StandinConnection::OnHeadDeadline()
{
    if (m_phase != Phase::Head)
        return;
    Log("head-timeout", 0);
    Finish();
}

void StandinConnection::Evict()
{
    if (m_phase != Phase::Answered)
        Log("evicted", 0);
    Finish();
}

void StandinConnection::ReleaseBody()
{
    m_reader.DropBody();
    m_budget.Give(m_held);
    m_held = 0;
}

void StandinConnection::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_idle.stop();
    m_headDeadline.stop();
    m_socket->disconnect(this);
    m_socket->abort();
    m_file.reset();
    ReleaseBody();
    emit Finished(this);
    deleteLater();
}

void StandinConnection::Log(const QByteArray &outcome, qint64 bytesOut) const
{
    const HttpRequest &request = m_reader.Request();
    const QByteArray line = RequestLog::Line(request.method, request.path, outcome, m_reader.BytesTaken(), bytesOut);
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}
