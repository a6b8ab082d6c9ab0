#pragma once

#include "standin/RequestReader.h"
#include "standin/StandinLimits.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

class BodyBudget;
class QFile;
class QTcpSocket;
class StandinService;
struct HttpReply;

// One client: read one request, answer it, close, as the service does with
// every HTTP/1.0 request. A client that vanishes, stalls or trickles its
// head is dropped and leaves nothing behind; a body is held only for the
// account's own upload, and only while the budget has room for all of it.
class StandinConnection : public QObject
{
    Q_OBJECT

public:
    enum class Phase { Head, Body, Answered };

    // Between the reply and the close: time for the client to take the
    // reply and to stop sending, so that what it still sends does not reset
    // the connection under the reply.
    static constexpr int LingerMs = 2000;
    // What the socket may hold ahead of the reader, and a streamed picture
    // behind the writer.
    static constexpr qint64 ReadBufferSize = 256 * 1024;
    static constexpr qint64 StreamChunk = 256 * 1024;

    StandinConnection(QTcpSocket *socket, StandinService &service, BodyBudget &budget, const StandinLimits &limits,
                      QObject *parent);
    ~StandinConnection() override;

    void Start();
    Phase GetPhase() const { return m_phase; }
    // The account's cookie admitted the request: it is never evicted.
    bool AdmittedByCookie() const { return m_admitted; }
    // Ends the connection at once to make room for a newer one.
    void Evict();

signals:
    void Finished(StandinConnection *connection);

private:
    void OnReadyRead();
    void OnBytesWritten();
    void OnDisconnected();
    void OnIdle();
    void OnHeadDeadline();
    std::optional<HttpReply> JudgeHead();
    void Answer(const HttpReply &reply);
    void SendMore();
    void HalfClose();
    void ReleaseBody();
    void Log(const QByteArray &outcome, qint64 bytesOut) const;
    void Finish();

    QTcpSocket *m_socket;
    StandinService &m_service;
    BodyBudget &m_budget;
    StandinLimits m_limits;
    RequestReader m_reader;
    QTimer m_idle;
    QTimer m_headDeadline;
    Phase m_phase = Phase::Head;
    bool m_admitted = false;
    qint64 m_held = 0;
    std::shared_ptr<QFile> m_file;
    qint64 m_fileLeft = 0;
    qint64 m_sent = 0;
    bool m_halfClosed = false;
    bool m_finished = false;
};
