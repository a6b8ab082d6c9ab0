#include "config/BuildSettings.h"
#include "text/Cp1251.h"
#include "upload/RequestBuilder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QBuffer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

// The real stand-in as a process on loopback, spoken to byte by byte the way
// the uploader and a browser would.
class TestStandin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void acceptedUploadKeepsEveryByte_data();
    void acceptedUploadKeepsEveryByte();
    void cookieDecidesAccess_data();
    void cookieDecidesAccess();
    void requestsAreJudged_data();
    void requestsAreJudged();
    void truncatedUploadStoresNothing();
    void pageListsPicturesInUploadOrder_data();
    void pageListsPicturesInUploadOrder();
    void thumbnailIsScaledDown();
    void terminateEndsCleanly();

private:
    bool Start(const QString &login = QStringLiteral("member"),
               const QString &password = QStringLiteral("secret"), const QStringList &extra = {});
    QByteArray Exchange(const QByteArray &request, qsizetype sendOnly = -1);
    QByteArray Request(const QByteArray &picture, const QString &login = QStringLiteral("member"),
                       const QString &password = QStringLiteral("secret"));
    QByteArray Get(const QByteArray &path) { return Exchange("GET " + path + " HTTP/1.0\r\n\r\n"); }
    QStringList Stored() const;
    QByteArray StoredBytes(const QString &name) const;
    QString StorePath() const { return m_home->filePath(QStringLiteral("store")); }

    std::unique_ptr<QTemporaryDir> m_home;
    QProcess *m_process = nullptr;
    quint16 m_port = 0;
};

namespace {

const QByteArray Accepted = Cp1251::FromUnicode(u"Изображение добавлено");
const QByteArray Refused = Cp1251::FromUnicode(u"Доступ запрещен");
const QByteArray AccountDir = "/userdir/4/1/8/2/418265/";

QByteArray BodyOf(const QByteArray &reply)
{
    const qsizetype end = reply.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : reply.mid(end + 4);
}

// The extraction rule of the link tools, so the page is tried as they read it.
QStringList ExtractAddresses(const QString &page, const QString &imageHost)
{
    const QString marker = QStringLiteral("class=\"other\"></a><span><a href='http://") + imageHost
        + QString::fromLatin1(AccountDir);
    QStringList found;
    QString text = page;
    for (qsizetype at = text.indexOf(marker); at >= 0; at = text.indexOf(marker)) {
        text = text.mid(at + 33);
        const qsizetype end = text.indexOf(QStringLiteral(".jpg' "));
        if (end < 0)
            break;
        found.append(text.left(end + 4));
    }
    return found;
}

QByteArray Jpeg(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

}

void TestStandin::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_port = 0;
}

void TestStandin::cleanup()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished();
    }
    delete m_process;
}

bool TestStandin::Start(const QString &login, const QString &password, const QStringList &extra)
{
    m_process->start(QStringLiteral(PICAROON_STANDIN_BIN),
                     QStringList{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--login"), login,
                                 QStringLiteral("--password"), password, QStringLiteral("--store"), StorePath()}
                         + extra);
    while (!m_process->canReadLine()) {
        if (!m_process->waitForReadyRead(10000))
            return false;
    }
    const QByteArray line = m_process->readLine().trimmed();
    if (!line.startsWith("listening on 127.0.0.1:"))
        return false;
    m_port = line.mid(line.lastIndexOf(':') + 1).toUShort();
    return m_port != 0;
}

QByteArray TestStandin::Exchange(const QByteArray &request, qsizetype sendOnly)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_port);
    if (!socket.waitForConnected(10000))
        return "no connection";
    if (sendOnly >= 0) {
        socket.write(request.left(sendOnly));
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(10000)) {}
        socket.disconnectFromHost();
        return {};
    }
    socket.write(request);
    QByteArray reply;
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(30000))
        reply += socket.readAll();
    return reply + socket.readAll();
}

QByteArray TestStandin::Request(const QByteArray &picture, const QString &login, const QString &password)
{
    RequestBuilder builder(QStringLiteral("127.0.0.1:%1").arg(m_port));
    QString error;
    return builder.BuildRequest(login, password, picture, &error).value_or(QByteArray());
}

QStringList TestStandin::Stored() const
{
    return QDir(StorePath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray TestStandin::StoredBytes(const QString &name) const
{
    QFile file(StorePath() + QLatin1Char('/') + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

void TestStandin::acceptedUploadKeepsEveryByte_data()
{
    QTest::addColumn<QByteArray>("picture");
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte += char(b);
    QByteArray large(5 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(large.data()), large.size() / 4);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("jpeg") << Jpeg(64, 48);
    QTest::newRow("every byte value") << everyByte;
    QTest::newRow("CRLF and the delimiter text")
        << QByteArray("\r\n\r\nA------------IueSxZI5qhfr8cpW1iNd7v--\r\n"
                      "------------IueSxZI5qhfr8cpW1iNd7vX\r\n\0\r\n", 83);
    QTest::newRow("ends in CRLF") << QByteArray("picture\r\n");
    QTest::newRow("5 MB") << large;
}

void TestStandin::acceptedUploadKeepsEveryByte()
{
    QFETCH(QByteArray, picture);
    QVERIFY(Start());
    const QByteArray reply = Exchange(Request(picture));
    QVERIFY(reply.startsWith("HTTP/1.0 200 OK\r\n"));
    QVERIFY(reply.contains(Accepted));
    QCOMPARE(Stored(), QStringList{QStringLiteral("000001.jpg")});
    QCOMPARE(StoredBytes(QStringLiteral("000001.jpg")), picture);
    QCOMPARE(BodyOf(Get(AccountDir + "000001.jpg")), picture);
}

void TestStandin::cookieDecidesAccess_data()
{
    QTest::addColumn<QString>("accountLogin");
    QTest::addColumn<QString>("accountPassword");
    QTest::addColumn<QString>("sentLogin");
    QTest::addColumn<QString>("sentPassword");
    QTest::addColumn<bool>("admitted");

    const QString member = QStringLiteral("member");
    const QString secret = QStringLiteral("secret");
    QTest::newRow("latin") << member << secret << member << secret << true;
    QTest::newRow("cyrillic, percent-encoded") << QStringLiteral("Кот ab") << QStringLiteral("пароль")
                                               << QStringLiteral("Кот ab") << QStringLiteral("пароль") << true;
    QTest::newRow("cyrillic after latin, as typed") << QStringLiteral("aКот") << secret
                                                    << QStringLiteral("aКот") << secret << true;
    QTest::newRow("wrong password") << member << secret << member << QStringLiteral("Secret") << false;
    QTest::newRow("wrong login") << member << secret << QStringLiteral("other") << secret << false;
    QTest::newRow("login in other case") << member << secret << QStringLiteral("Member") << secret << false;
    QTest::newRow("wrong cyrillic login") << QStringLiteral("Кот") << secret << QStringLiteral("Кит") << secret << false;
    QTest::newRow("empty login") << member << secret << QString() << secret << false;
}

void TestStandin::cookieDecidesAccess()
{
    QFETCH(QString, accountLogin);
    QFETCH(QString, accountPassword);
    QFETCH(QString, sentLogin);
    QFETCH(QString, sentPassword);
    QFETCH(bool, admitted);
    QVERIFY(Start(accountLogin, accountPassword));
    const QByteArray reply = Exchange(Request("bytes", sentLogin, sentPassword));
    QCOMPARE(reply.contains(Accepted), admitted);
    QCOMPARE(reply.contains(Refused), !admitted);
    QCOMPARE(Stored().size(), admitted ? 1 : 0);
}

void TestStandin::requestsAreJudged_data()
{
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<QByteArray>("replace");
    QTest::addColumn<QByteArray>("verdict");

    const QByteArray neither = "neither";
    QTest::newRow("as built") << QByteArray() << QByteArray() << Accepted;
    QTest::newRow("no Content-Length") << QByteArray("Content-Length: 281\r\n") << QByteArray() << neither;
    QTest::newRow("Content-Length not a number") << QByteArray("Length: 281") << QByteArray("Length: 28l") << neither;
    QTest::newRow("wrong boundary") << QByteArray("boundary=-") << QByteArray("boundary=X") << neither;
    QTest::newRow("not multipart") << QByteArray("multipart/form-data") << QByteArray("text/plain") << neither;
    QTest::newRow("no new_file part") << QByteArray("\"new_file\"") << QByteArray("\"old_file\"") << neither;
    QTest::newRow("no file name") << QByteArray("; filename=") << QByteArray("; filetype=") << neither;
    QTest::newRow("other module") << QByteArray("\r\nphotolib") << QByteArray("\r\nphotoblg") << neither;
    QTest::newRow("wrong path") << QByteArray("POST /kiplog.php") << QByteArray("POST /upload.php") << neither;
    QTest::newRow("no closing delimiter") << QByteArray("7v--\r\n\r\n") << QByteArray("7v**\r\n\r\n") << neither;
    QTest::newRow("no request line") << QByteArray("POST /kiplog.php HTTP/1.0") << QByteArray("HELLO") << neither;
    QTest::newRow("oversized body") << QByteArray("Content-Length: 281") << QByteArray("Content-Length: 600000000")
                                    << neither;
    QTest::newRow("head over 64 KiB") << QByteArray("Accept: */*") << QByteArray("Accept: " + QByteArray(70000, 'a'))
                                      << neither;
    QTest::newRow("no cookie") << QByteArray("Cookie:") << QByteArray("X-Cookie:") << Refused;
    QTest::newRow("cookie pairs swapped")
        << QByteArray("user_login=member; user_pass=")
        << QByteArray("user_pass=5ebe2294ecd0e0f08eab7690d2a6ee69; user_login=member; x=") << Accepted;
    QTest::newRow("latin login percent-encoded") << QByteArray("user_login=member")
                                                 << QByteArray("user_login=%6d%65%6D%62%65%72") << Accepted;
}

void TestStandin::requestsAreJudged()
{
    QFETCH(QByteArray, find);
    QFETCH(QByteArray, replace);
    QFETCH(QByteArray, verdict);
    QVERIFY(Start());
    QByteArray request = Request("bytes");
    QVERIFY(find.isEmpty() || request.contains(find));
    request.replace(find, replace);
    if (request.contains("600000000"))
        request.truncate(request.indexOf("\r\n\r\n") + 4);

    const QByteArray reply = Exchange(request);
    QVERIFY(reply.startsWith("HTTP/1.0 "));
    QCOMPARE(reply.contains(Accepted), verdict == Accepted);
    QCOMPARE(reply.contains(Refused), verdict == Refused);
    QCOMPARE(Stored().size(), verdict == Accepted ? 1 : 0);

    QVERIFY(Exchange(Request("next")).contains(Accepted));
    QCOMPARE(StoredBytes(Stored().constLast()), QByteArray("next"));
}

void TestStandin::truncatedUploadStoresNothing()
{
    QVERIFY(Start());
    const QByteArray cut = Request(QByteArray(100000, 'x'));
    Exchange(cut, cut.size() - 5000);
    Exchange(cut, 20);
    QVERIFY(Exchange(Request("whole")).contains(Accepted));
    QCOMPARE(Stored(), QStringList{QStringLiteral("000001.jpg")});
    QCOMPARE(StoredBytes(QStringLiteral("000001.jpg")), QByteArray("whole"));
}

void TestStandin::pageListsPicturesInUploadOrder_data()
{
    QTest::addColumn<QString>("imageHost");
    QTest::newRow("given host") << QStringLiteral("pics.test.invalid");
    QTest::newRow("default host") << QString();
}

void TestStandin::pageListsPicturesInUploadOrder()
{
    QFETCH(QString, imageHost);
    QVERIFY(QDir().mkpath(StorePath()));
    QFile earlier(StorePath() + QStringLiteral("/000007.jpg"));
    QVERIFY(earlier.open(QIODevice::WriteOnly));
    earlier.write("earlier");
    earlier.close();
    QVERIFY(Start(QStringLiteral("member"), QStringLiteral("secret"),
                  imageHost.isEmpty() ? QStringList() : QStringList{QStringLiteral("--image-host"), imageHost}));
    const QList<QByteArray> pictures = {"earlier", "first", "second", "third"};
    for (qsizetype i = 1; i < pictures.size(); ++i)
        QVERIFY(Exchange(Request(pictures[i])).contains(Accepted));

    const QByteArray reply = Get("/");
    QVERIFY(reply.startsWith("HTTP/1.0 200 OK\r\n"));
    QVERIFY(reply.contains("Content-Type: text/html; charset=windows-1251\r\n"));
    const QString host = imageHost.isEmpty() ? QString::fromLatin1(BuildSettings::ImageHost) : imageHost;
    const QString page = Cp1251::ToUnicode(BodyOf(reply));
    QVERIFY(page.contains(QStringLiteral("/userdir/1/7/3/5/173590/")));
    const QStringList addresses = ExtractAddresses(page, host);
    QCOMPARE(addresses.size(), pictures.size());
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const QString name = QStringLiteral("%1.jpg").arg(7 + i, 6, 10, QLatin1Char('0'));
        QCOMPARE(addresses[i], QStringLiteral("http://") + host + QString::fromLatin1(AccountDir) + name);
        QCOMPARE(BodyOf(Get(AccountDir + name.toLatin1())), pictures[i]);
    }
    QVERIFY(Get(AccountDir + "000099.jpg").startsWith("HTTP/1.0 404"));
    QVERIFY(Get(AccountDir + "../000007.jpg").startsWith("HTTP/1.0 404"));
}

void TestStandin::thumbnailIsScaledDown()
{
    QVERIFY(Start());
    QVERIFY(Exchange(Request(Jpeg(800, 400))).contains(Accepted));
    QVERIFY(Exchange(Request("not a picture")).contains(Accepted));
    const QByteArray thumbReply = Get(AccountDir + "thumb/000001.jpg");
    QVERIFY(thumbReply.contains("Content-Type: image/jpeg\r\n"));
    const QImage thumb = QImage::fromData(BodyOf(thumbReply), "JPG");
    QCOMPARE(thumb.size(), QSize(160, 80));
    QCOMPARE(BodyOf(Get(AccountDir + "thumb/000002.jpg")), QByteArray("not a picture"));
}

void TestStandin::terminateEndsCleanly()
{
    QVERIFY(Start());
    m_process->terminate();
    QVERIFY(m_process->waitForFinished(10000));
    QCOMPARE(m_process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_process->exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
