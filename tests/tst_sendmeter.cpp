#include "upload/SendMeter.h"

#include <QSignalSpy>
#include <QTcpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// The peer is a listening socket with a tiny receive buffer that nobody
// reads: the system takes far more of the request than the peer does.
class TestSendMeter : public QObject
{
    Q_OBJECT

private slots:
    void countsWhatThePeerTookNotWhatTheSystemHolds()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(listener >= 0);
        const int small = 4096;
        QCOMPARE(::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &small, sizeof small), 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QCOMPARE(::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        QCOMPARE(::listen(listener, 1), 0);
        QCOMPARE(::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length), 0);

        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, ntohs(address.sin_port));
        QVERIFY(client.waitForConnected(5000));
        const int large = 1 << 20;
        ::setsockopt(int(client.socketDescriptor()), SOL_SOCKET, SO_SNDBUF, &large, sizeof large);
        const qint64 total = 4 << 20;
        client.write(QByteArray(total, 'x'));

        SendMeter meter;
        QSignalSpy taken(&meter, &SendMeter::Taken);
        meter.Watch(&client, total);
        QTRY_VERIFY(total - client.bytesToWrite() >= 64 * 1024);
        const qint64 handed = total - client.bytesToWrite();
        meter.Measure();
        const qint64 seen = taken.last().at(0).toLongLong();
        QVERIFY2(seen < handed / 2 && seen < total / 20,
                 qPrintable(QStringLiteral("%1 taken of %2 handed").arg(seen).arg(handed)));

        // The peer reads at last: the figure reaches the whole request.
        const int accepted = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        QVERIFY(accepted >= 0);
        QTcpSocket peer;
        QVERIFY(peer.setSocketDescriptor(accepted));
        qint64 received = 0;
        connect(&peer, &QTcpSocket::readyRead, this, [&] { received += peer.readAll().size(); });
        QTRY_COMPARE(received, total);
        QTRY_COMPARE(taken.last().at(0).toLongLong(), total);
        ::close(listener);
    }
};

QTEST_GUILESS_MAIN(TestSendMeter)
#include "tst_sendmeter.moc"
