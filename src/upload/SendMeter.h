#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QTcpSocket;

// How much of a request the peer has taken: the bytes handed to the system
// less those still in the socket's send queue. The system takes megabytes
// at once on a fast machine, so counting what was handed over reaches 100%
// long before the service has the picture. Read on a short timer while
// sending, since the queue drains without telling anyone.
class SendMeter : public QObject
{
    Q_OBJECT

public:
    explicit SendMeter(QObject *parent = nullptr);

    void Watch(QTcpSocket *socket, qint64 requestSize);
    void Stop();
    // The bytes the system still holds for the socket; 0 where it cannot tell.
    static qint64 Queued(const QTcpSocket &socket);

signals:
    void Taken(qint64 taken, qint64 total);

public slots:
    void Measure();

private:
    QPointer<QTcpSocket> m_socket;
    QTimer m_timer;
    qint64 m_total = 0;
    qint64 m_taken = -1;
};
