#include "linktools/LinkExtractor.h"
#include "text/Cp1251.h"
#include "upload/RequestBuilder.h"

#include <QDir>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Accepted = Cp1251::FromUnicode(u"Изображение добавлено");
const QByteArray Refused = Cp1251::FromUnicode(u"Доступ запрещен");
const QByteArray AccountDir = "/userdir/4/1/8/2/418265/";
const QByteArray ImageHost = "pics.test.invalid";
// Goes out percent-encoded, so every accepted request is a check of the decoding.
const QString Login = u"Кот ab"_s;

QByteArray BodyOf(const QByteArray &reply) { return reply.mid(reply.indexOf("\r\n\r\n") + 4); }

}

// The real stand-in as a process on loopback, spoken to byte by byte the way
// the uploader and a browser would.
class TestStandin : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void uploadIsJudgedThenServed_data();
    void uploadIsJudgedThenServed();

private:
    bool Start();
    QByteArray Exchange(const QByteArray &request, qsizetype unsent = 0);
    QByteArray Request(const QByteArray &picture);

    QTemporaryDir m_home;
    QString m_store;
    QProcess m_process;
    quint16 m_port = 0;
    int m_starts = 0;
};

void TestStandin::cleanup()
{
    m_process.kill();
    m_process.waitForFinished();
}

bool TestStandin::Start()
{
    // A store of its own for each run.
    m_store = m_home.filePath(QString::number(++m_starts));
    m_process.setReadChannel(QProcess::StandardOutput);
    m_process.start(PICAROON_STANDIN_BIN, {"--port", "0", "--login", Login, "--password", "secret", "--store", m_store,
                                           "--image-host", ImageHost});
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {}
    const QByteArray line = m_process.readLine().trimmed();
    m_port = line.startsWith("listening on 127.0.0.1:") ? line.mid(line.lastIndexOf(':') + 1).toUShort() : 0;
    m_process.setReadChannel(QProcess::StandardError);
    return m_port != 0;
}

// unsent > 0: the client hangs up that many bytes short of the whole request.
QByteArray TestStandin::Exchange(const QByteArray &request, qsizetype unsent)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    if (!socket.waitForConnected(10000))
        return "no connection";
    socket.write(request.chopped(unsent));
    if (unsent > 0) {
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(10000)) {}
        socket.disconnectFromHost();
        // Only once the stand-in has logged the hang-up could it have stored anything.
        QByteArray log;
        while (!log.contains(" dropped ") && m_process.waitForReadyRead(10000))
            log += m_process.readAll();
        return {};
    }
    QByteArray reply;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(30000))
        reply += socket.readAll();
    return reply + socket.readAll();
}

QByteArray TestStandin::Request(const QByteArray &picture)
{
    QString error;
    return *RequestBuilder(u"127.0.0.1:%1"_s.arg(m_port)).BuildRequest(Login, u"secret"_s, picture, &error);
}

void TestStandin::uploadIsJudgedThenServed_data()
{
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<QByteArray>("replace");
    QTest::addColumn<int>("unsent");
    QTest::addColumn<bool>("accepted");

    // A wrong password is the end-to-end test's.
    QTest::newRow("as built") << QByteArray() << QByteArray() << 0 << true;
    QTest::newRow("no Content-Length") << "Content-Length:"_ba << "X-Length:"_ba << 0 << false;
    QTest::newRow("wrong boundary") << "boundary=-"_ba << "boundary=X"_ba << 0 << false;
    QTest::newRow("no closing delimiter") << "--\r\n\r\n"_ba << "**\r\n\r\n"_ba << 0 << false;
    QTest::newRow("hung up mid-body") << QByteArray() << QByteArray() << 20 << false;
}

void TestStandin::uploadIsJudgedThenServed()
{
    QFETCH(QByteArray, find);
    QFETCH(QByteArray, replace);
    QFETCH(int, unsent);
    QFETCH(bool, accepted);

    // Line breaks, a NUL and the delimiter text, short of a whole delimiter
    // line, inside the picture must not end it early.
    const QByteArray picture = "\xFF\xD8\r\n\r\nA------------IueSxZI5qhfr8cpW1iNd7v--\r\n"
                               "------------IueSxZI5qhfr8cpW1iNd7vX\r\n\0\r\n\xFF\xD9"_ba;
    QVERIFY(Start());
    QByteArray request = Request(picture);
    QVERIFY(find.isEmpty() || request.count(find) == 1);
    const QByteArray reply = Exchange(request.replace(find, replace), unsent);
    QCOMPARE(reply.contains(Accepted), accepted);
    // A refusal would end the member's whole run instead of setting one picture aside.
    QVERIFY(!reply.contains(Refused));

    // Still serving, and whatever was turned away left nothing behind.
    QVERIFY(Exchange(Request("next")).contains(Accepted));
    const QByteArrayList stored = accepted ? QByteArrayList{picture, "next"} : QByteArrayList{"next"};
    QCOMPARE(QDir(m_store).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), stored.size());
    const QByteArray page = Exchange("GET / HTTP/1.0\r\n\r\n");
    // As the link tools read it: this account's pictures alone, in upload order,
    // each served as it came.
    const QByteArrayList listed = LinkExtractor(ImageHost).Extract(Cp1251::ToUnicode(BodyOf(page)));
    QCOMPARE(listed.size(), stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QByteArray path = AccountDir + QByteArray::number(i + 1).rightJustified(6, '0') + ".jpg";
        QCOMPARE(listed[i], "http://" + ImageHost + path);
        QCOMPARE(BodyOf(Exchange("GET " + path + " HTTP/1.0\r\n\r\n")), stored[i]);
    }
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
