#pragma once

#include "standin/RequestReader.h"

#include <QObject>
#include <QTimer>

class QTcpSocket;
class StandinService;
struct HttpReply;

// One client: read one request, answer it, close, as the service does with
// every HTTP/1.0 request. A client that vanishes or stalls is dropped and
// leaves nothing behind.
class StandinConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr int IdleLimitMs = 120 * 1000;

    StandinConnection(QTcpSocket *socket, StandinService &service, QObject *parent);

private:
    void OnReadyRead();
    void OnDisconnected();
    void OnIdle();
    void Answer(const HttpReply &reply);
    void Log(const QByteArray &outcome, qint64 bytesOut) const;
    void Finish();

    QTcpSocket *m_socket;
    StandinService &m_service;
    RequestReader m_reader;
    QTimer m_idle;
    bool m_answered = false;
    bool m_finished = false;
};
