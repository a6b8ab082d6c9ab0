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
    enum class Then { Close, Hold, Reset, Echo };
    struct Step
    {
        QByteArray reply;
        Then then = Then::Close;
    };

    // An empty reply closes the connection without a byte.
    static Step Reply(const QByteArray &bytes) { return {bytes, Then::Close}; }
    // Keeps the connection open and silent, as a service still storing would.
    static Step Hold() { return {{}, Then::Hold}; }
    // Resets the connection once the request is read whole.
    static Step Reset() { return {{}, Then::Reset}; }
    // An error page that shows the request's head, as some servers' do.
    static Step Echo() { return {{}, Then::Echo}; }
    // Windows-1251 pages holding the service's markers.
    static QByteArray AcceptedPage();
    static QByteArray RefusedPage();

    explicit ScriptedPeer(QObject *parent = nullptr);
    bool Listen(quint16 port = 0) { return listen(QHostAddress::LocalHost, port); }

    // The last step repeats once the script runs out.
    QList<Step> script;
    QList<QByteArray> requests;

    static QByteArray HeaderValue(const QByteArray &request, const QByteArray &name);
    // The picture bytes inside a request's multipart body.
    static QByteArray PictureOf(const QByteArray &request);

signals:
    void RequestReceived(int index);

private:
    void OnReadyRead(QTcpSocket *socket);
};
