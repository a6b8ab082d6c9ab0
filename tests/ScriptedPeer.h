#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
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
    // Steps for particular pictures, by their bytes, ahead of the script.
    QHash<QByteArray, Step> stepFor;
    // Each request read whole waits for AnswerHeld.
    bool holdReplies = false;
    QList<QByteArray> requests;

    qsizetype Held() const { return m_held.size(); }
    // Answers the index-th request held as its step says.
    void AnswerHeld(qsizetype index);
    // Connections accepted and neither answered nor closed by the client:
    // never more than the client has open.
    int Unanswered() const { return m_unanswered; }
    int MostUnanswered() const { return m_mostUnanswered; }

    static QByteArray HeaderValue(const QByteArray &request, const QByteArray &name);
    // The picture bytes inside a request's multipart body.
    static QByteArray PictureOf(const QByteArray &request);

signals:
    void RequestReceived(int index);

private:
    void OnReadyRead(QTcpSocket *socket);
    void Answer(QTcpSocket *socket, const Step &step);
    void Settle(QTcpSocket *socket);

    QList<std::pair<QPointer<QTcpSocket>, Step>> m_held;
    int m_unanswered = 0;
    int m_mostUnanswered = 0;
};
