#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class QTcpSocket;

// Plays the service on loopback: reads each request whole, then answers as
// the next step of its script says.
class ScriptedPeer : public QTcpServer
{
    Q_OBJECT

public:
    enum class Answer { Reply, CloseSilently, Hold };
    struct Step
    {
        Answer answer = Answer::Reply;
        QByteArray reply;
    };

    static Step Reply(const QByteArray &bytes) { return {Answer::Reply, bytes}; }
    static Step Silent() { return {Answer::CloseSilently, {}}; }
    static Step Hold() { return {Answer::Hold, {}}; }
    // Windows-1251 pages holding the service's markers.
    static QByteArray AcceptedPage();
    static QByteArray RefusedPage();

    explicit ScriptedPeer(QObject *parent = nullptr);
    bool Listen(quint16 port = 0);

    // The last step repeats once the script runs out.
    QList<Step> script;
    QList<QByteArray> requests;
    int connections = 0;

    static QByteArray BodyOf(const QByteArray &request);
    static QByteArray HeaderValue(const QByteArray &request, const QByteArray &name);
    // The picture bytes inside a request's multipart body.
    static QByteArray PictureOf(const QByteArray &request);

signals:
    void RequestReceived(int index);

private:
    void OnNewConnection();
    void OnReadyRead(QTcpSocket *socket);
};
