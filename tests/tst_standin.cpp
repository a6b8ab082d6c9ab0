#include "StandinProcess.h"
#include "TestFiles.h"

#include "text/Cp1251.h"
#include "upload/RequestBuilder.h"

#include <QDir>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Accepted = Cp1251::FromUnicode(u"Изображение добавлено");
const QByteArray Refused = Cp1251::FromUnicode(u"Доступ запрещен");
// Goes out percent-encoded, so every accepted request is a check of the decoding.
const QString Login = u"Кот ab"_s;

}

// The real stand-in as a process on loopback, spoken to byte by byte the way
// the uploader and a browser would.
class TestStandin : public QObject
{
    Q_OBJECT

private slots:
    // As when the member stops a run mid-picture.
    void cutShortUploadStoresNothing()
    {
        QVERIFY(Start());
        Exchange(Request("cut short"), 20);
        QVERIFY(Exchange(Request("next")).contains(Accepted));
        QCOMPARE(Stored(), QByteArrayList{"next"});
    }

    void strangerIsRefusedBeforeItsBody()
    {
        QVERIFY(Start());
        QTcpSocket socket;
        QByteArray reply;
        connect(&socket, &QTcpSocket::readyRead, this, [&] { reply += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, m_standIn.Port());
        QVERIFY(socket.waitForConnected(10000));
        // A body far larger than the test sends: the refusal must come without
        // it. And, driven by events like the uploader, the client is still
        // sending when the refusal comes: closed under it, the connection would
        // be reset and the refusal lost, which the uploader would take for a
        // failed picture.
        socket.write(Head(400 * 1024 * 1024) + QByteArray(16 * 1024 * 1024, 'x'));
        QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, 10000);
        reply += socket.readAll();
        QVERIFY2(reply.contains(Refused), reply.constData());
        QVERIFY(m_standIn.LogShows("POST /kiplog.php refused"));
        QVERIFY(Exchange(Request("next")).contains(Accepted));
    }

private:
    // A store of its own for each run.
    bool Start()
    {
        m_store = m_home.filePath(QString::number(++m_starts));
        return m_standIn.Start(PICAROON_STANDIN_BIN,
                               {"--login", Login, "--password", "secret", "--store", m_store});
    }

    // unsent > 0: the client hangs up that many bytes short of the whole request.
    QByteArray Exchange(const QByteArray &request, qsizetype unsent = 0)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_standIn.Port());
        if (!socket.waitForConnected(10000))
            return "no connection";
        socket.write(request.chopped(unsent));
        if (unsent > 0) {
            while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(10000)) {}
            socket.disconnectFromHost();
            // Only once the stand-in has logged the hang-up could it have stored anything.
            m_standIn.LogShows(" dropped ");
            return {};
        }
        QByteArray reply;
        while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(30000))
            reply += socket.readAll();
        return reply + socket.readAll();
    }

    QByteArray Request(const QByteArray &picture, const QString &password = u"secret"_s) const
    {
        QString error;
        return *RequestBuilder(m_standIn.Address()).BuildRequest(Login, password, picture, &error);
    }

    // The uploader's head with a wrong password, announcing another body length.
    QByteArray Head(qint64 contentLength) const
    {
        QByteArray head = Request({}, u"guess"_s);
        head.truncate(head.indexOf("\r\n\r\n") + 4);
        const qsizetype length = head.indexOf("Content-Length: ") + 16;
        return head.replace(length, head.indexOf("\r\n", length) - length, QByteArray::number(contentLength));
    }

    QByteArrayList Stored() const
    {
        QByteArrayList contents;
        for (const QFileInfo &info : QDir(m_store).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            contents.append(TestFiles::Read(info.filePath()));
        return contents;
    }

    QTemporaryDir m_home;
    QString m_store;
    StandinProcess m_standIn;
    int m_starts = 0;
};

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
