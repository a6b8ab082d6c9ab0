#include "linktools/LinkExtractor.h"
#include "text/Cp1251.h"
#include "upload/RequestBuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
// As long as the uploader's own, as its other boundary will be.
const QByteArray Boundary = "----------Xq7Tz2Lp9Rw4Ks6Vn1Bc3M";

QByteArray BodyOf(const QByteArray &reply) { return reply.mid(reply.indexOf("\r\n\r\n") + 4); }

// The uploader's framing around a picture, by any boundary.
QByteArray Framed(const QByteArray &boundary, const QByteArray &picture)
{
    const QByteArray delimiter = "--" + boundary + "\r\n";
    return delimiter + "Content-Disposition: form-data; name=\"module\"\r\n\r\nphotolib\r\n" + delimiter
        + "Content-Disposition: form-data; name=\"new_file\"; filename=\"Virtual File\"\r\n"
          "Content-Type: image/pjpeg\r\n\r\n"
        + picture + "\r\n--" + boundary + "--\r\n\r\n";
}


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
    void boundaryComesFromTheRequest_data();
    void boundaryComesFromTheRequest();
    void strangerIsRefusedBeforeItsBody();
    void slowClientIsCut_data();
    void slowClientIsCut();
    void uploadIsServedWhileConnectionsAreHeld();
    void bodiesShareTheBudget();
    void logLinesCannotBeForged();

private:
    bool Start(const QStringList &limits = {});
    QByteArray Exchange(const QByteArray &request, qsizetype unsent = 0);
    QByteArray Request(const QByteArray &picture);
    QByteArray Head(const QByteArray &contentType, qint64 contentLength, const QByteArray &password = "secret");
    bool LogShows(const QByteArray &text);
    QByteArrayList Stored() const;

    QTemporaryDir m_home;
    QString m_store;
    QProcess m_process;
    QByteArray m_log;
    quint16 m_port = 0;
    int m_starts = 0;
};

void TestStandin::cleanup()
{
    m_process.kill();
    m_process.waitForFinished();
}

bool TestStandin::Start(const QStringList &limits)
{
    // A store of its own for each run.
    m_store = m_home.filePath(QString::number(++m_starts));
    m_log.clear();
    m_process.setReadChannel(QProcess::StandardOutput);
    m_process.start(PICAROON_STANDIN_BIN, QStringList{"--port", "0", "--login", Login, "--password", "secret",
                                                      "--store", m_store, "--image-host", ImageHost} + limits);
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
        LogShows(" dropped ");
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

// The uploader's head with another Content-Type and Content-Length.
QByteArray TestStandin::Head(const QByteArray &contentType, qint64 contentLength, const QByteArray &password)
{
    QString error;
    QByteArray head = *RequestBuilder(u"127.0.0.1:%1"_s.arg(m_port))
                           .BuildRequest(Login, QString::fromLatin1(password), QByteArray(), &error);
    head.truncate(head.indexOf("\r\n\r\n") + 4);
    const qsizetype type = head.indexOf("Content-Type: ") + 14;
    head.replace(type, head.indexOf("\r\n", type) - type, contentType);
    const qsizetype length = head.indexOf("Content-Length: ") + 16;
    return head.replace(length, head.indexOf("\r\n", length) - length, QByteArray::number(contentLength));
}

// Waits for the stand-in to log the text; the log so far is kept in m_log.
bool TestStandin::LogShows(const QByteArray &text)
{
    // What the event loop took in meanwhile is waiting already.
    for (m_log += m_process.readAll(); !m_log.contains(text); m_log += m_process.readAll()) {
        if (!m_process.waitForReadyRead(10000))
            return false;
    }
    return true;
}

QByteArrayList TestStandin::Stored() const
{
    QByteArrayList contents;
    for (const QFileInfo &info : QDir(m_store).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        QFile file(info.filePath());
        contents.append(file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable " + info.fileName().toUtf8());
    }
    return contents;
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

void TestStandin::boundaryComesFromTheRequest_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("another boundary") << "multipart/form-data; boundary=" + Boundary << true;
    QTest::newRow("quoted") << "multipart/form-data; boundary=\"" + Boundary + '"' << true;
    QTest::newRow("no boundary") << "multipart/form-data"_ba << false;
    QTest::newRow("the default one, which the picture holds")
        << "multipart/form-data; boundary=----------IueSxZI5qhfr8cpW1iNd7v"_ba << false;
}

void TestStandin::boundaryComesFromTheRequest()
{
    QFETCH(QByteArray, contentType);
    QFETCH(bool, accepted);

    // What makes the uploader choose another boundary: the default's
    // delimiter lines, whole, inside the picture.
    const QByteArray picture = "\xFF\xD8\r\n------------IueSxZI5qhfr8cpW1iNd7v\r\n"
                               "Content-Disposition: form-data; name=\"x\"\r\n\r\n"
                               "\r\n------------IueSxZI5qhfr8cpW1iNd7v--\r\n\xFF\xD9"_ba;
    QVERIFY(Start());
    const QByteArray body = Framed(Boundary, picture);
    const QByteArray reply = Exchange(Head(contentType, body.size()) + body);
    QCOMPARE(reply.contains(Accepted), accepted);
    QVERIFY(!reply.contains(Refused));
    QCOMPARE(Stored(), accepted ? QByteArrayList{picture} : QByteArrayList{});
}

void TestStandin::strangerIsRefusedBeforeItsBody()
{
    QVERIFY(Start());
    QTcpSocket socket;
    QByteArray reply;
    connect(&socket, &QTcpSocket::readyRead, this, [&] { reply += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    QVERIFY(socket.waitForConnected(10000));
    // A body far larger than the test sends: the refusal must come without
    // it. And, driven by events like the uploader, the client is still
    // sending when the refusal comes: closed under it, the connection would
    // be reset and the refusal lost, which the uploader would take for a
    // failed picture.
    socket.write(Head("multipart/form-data; boundary=" + Boundary, 400 * 1024 * 1024, "guess")
                 + QByteArray(16 * 1024 * 1024, 'x'));
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, 10000);
    reply += socket.readAll();
    QVERIFY2(reply.contains(Refused), reply.constData());
    QVERIFY(LogShows("POST /kiplog.php refused"));
    QVERIFY(Exchange(Request("next")).contains(Accepted));
}

void TestStandin::slowClientIsCut_data()
{
    QTest::addColumn<QStringList>("limits");
    QTest::addColumn<bool>("headSent");
    QTest::addColumn<QByteArray>("logged");

    QTest::newRow("head trickled") << QStringList{"--head-timeout", "0.3", "--idle-timeout", "30"} << false
                                   << "- - head-timeout"_ba;
    QTest::newRow("body stalled") << QStringList{"--head-timeout", "30", "--idle-timeout", "0.3"} << true
                                  << "POST /kiplog.php idle"_ba;
}

void TestStandin::slowClientIsCut()
{
    QFETCH(QStringList, limits);
    QFETCH(bool, headSent);
    QFETCH(QByteArray, logged);

    QVERIFY(Start(limits));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    QVERIFY(socket.waitForConnected(10000));
    if (headSent) {
        socket.write(Head("multipart/form-data; boundary=" + Boundary, 1000) + "--");
    } else {
        // A byte every 20 ms never lets the connection go idle.
        socket.write("POST /kiplog.php HTTP/1.0\r\n");
        for (int i = 0; i < 1000 && socket.state() == QAbstractSocket::ConnectedState; ++i) {
            socket.write("X");
            QTest::qWait(20);
        }
    }
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, 10000);
    QVERIFY(LogShows(logged));
    QVERIFY(Exchange(Request("next")).contains(Accepted));
    QCOMPARE(Stored(), QByteArrayList{"next"});
}

void TestStandin::uploadIsServedWhileConnectionsAreHeld()
{
    // Deadlines far beyond the test's own waits: only room made by the
    // stand-in lets the upload through.
    QVERIFY(Start({"--max-connections", "4", "--head-timeout", "60", "--idle-timeout", "60"}));
    std::vector<std::unique_ptr<QTcpSocket>> held;
    const QByteArrayList openings = {
        QByteArray(),
        "POST /kiplog.php HTTP/1.0\r\nCookie: user_login=",
        Head("multipart/form-data; boundary=" + Boundary, 400 * 1024 * 1024, "guess") + "--",
        "GET / HTTP/1.0\r\nX-Padding: " + QByteArray(60 * 1024, 'x'),
    };
    for (int round = 0; round < 3; ++round) {
        for (const QByteArray &opening : openings) {
            held.push_back(std::make_unique<QTcpSocket>());
            held.back()->connectToHost(QHostAddress::LocalHost, m_port);
            QVERIFY(held.back()->waitForConnected(10000));
            held.back()->write(opening);
            held.back()->waitForBytesWritten(10000);
        }
    }
    QVERIFY(Exchange(Request("while held")).contains(Accepted));
    QCOMPARE(Stored(), QByteArrayList{"while held"});
    QVERIFY(LogShows(" evicted "));
}

void TestStandin::bodiesShareTheBudget()
{
    QVERIFY(Start({"--max-body", "64K", "--max-buffered", "100K"}));
    const QByteArray type = "multipart/form-data; boundary=" + Boundary;
    const QByteArray picture(60 * 1024, 'p');
    const QByteArray body = Framed(Boundary, picture);

    // Holds 60 KB of the 100 KB until it is sent whole.
    QTcpSocket first;
    first.connectToHost(QHostAddress::LocalHost, m_port);
    QVERIFY(first.waitForConnected(10000));
    first.write(Head(type, body.size()) + body.first(1000));
    QVERIFY(first.waitForBytesWritten(10000));
    // Answered only after the stand-in has read the head above, which was
    // waiting before this connection was made.
    QVERIFY(Exchange("GET / HTTP/1.0\r\n\r\n").startsWith("HTTP/1.0 200"));

    const QByteArray crowded = Exchange(Head(type, body.size()) + body);
    QVERIFY(!crowded.contains(Accepted) && !crowded.contains(Refused));
    const QByteArray tooLarge = Framed(Boundary, QByteArray(64 * 1024, 'q'));
    const QByteArray oversized = Exchange(Head(type, tooLarge.size()) + tooLarge);
    QVERIFY(!oversized.contains(Accepted) && !oversized.contains(Refused));

    first.write(body.sliced(1000));
    QByteArray reply;
    while (first.state() == QAbstractSocket::ConnectedState && first.waitForReadyRead(10000))
        reply += first.readAll();
    QVERIFY((reply + first.readAll()).contains(Accepted));
    // Given back once answered.
    QVERIFY(Exchange(Head(type, body.size()) + body).contains(Accepted));
    QCOMPARE(Stored(), (QByteArrayList{picture, picture}));
    QVERIFY(LogShows("rejected(too many uploads at once)"));
    QVERIFY(LogShows("rejected(body too large)"));
}

void TestStandin::logLinesCannotBeForged()
{
    QVERIFY(Start());
    // A lone LF is no line break to a request line, but it would be one in the log.
    const QByteArray reply = Exchange("G\x1b[2JT /a\nPOST_/kiplog.php_stored(000001.jpg)\r\\\xFF HTTP/1.0\r\n\r\n");
    QVERIFY(reply.startsWith("HTTP/1.0 404"));
    QVERIFY(LogShows("G\\x1b[2JT /a\\x0aPOST_/kiplog.php_stored(000001.jpg)\\x0d\\x5c\\xff not-found in="));
    const QByteArray line = m_log.first(m_log.indexOf('\n'));
    for (char c : line)
        QVERIFY2(c >= 0x20 && c < 0x7f, line.constData());
    QCOMPARE(m_log.count('\n'), 1);
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
