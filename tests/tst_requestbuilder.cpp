#include "upload/RequestBuilder.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

// The body the service expects, framed by this boundary.
QByteArray Body(const QByteArray &boundary, const QByteArray &picture)
{
    return "--" + boundary + "\r\nContent-Disposition: form-data; name=\"module\"\r\n\r\nphotolib\r\n--" + boundary
        + "\r\nContent-Disposition: form-data; name=\"new_file\"; filename=\"Virtual File\"\r\n"
          "Content-Type: image/pjpeg\r\n\r\n"
        + picture + "\r\n--" + boundary + "--\r\n\r\n";
}

QByteArray Build(RequestBuilder &builder, const QString &login, const QString &password,
                 QByteArrayView picture)
{
    QString error;
    return builder.BuildRequest(login, password, picture, &error).value_or(QByteArray());
}

}

class TestRequestBuilder : public QObject
{
    Q_OBJECT

private slots:
    void goldenRequest()
    {
        const QByteArray picture("\xFF\xD8\0\r\nZ", 6);
        RequestBuilder builder(QStringLiteral("first.example.invalid"));
        builder.SetHostHeader(QStringLiteral("upload.example.test:8080"));
        const QByteArray expected =
            "POST /kiplog.php HTTP/1.0\r\n"
            "Accept: */*\r\n"
            "Accept-Language: ru\r\n"
            "Content-Type: multipart/form-data; boundary=----------IueSxZI5qhfr8cpW1iNd7v\r\n"
            "Host: upload.example.test:8080\r\n"
            "Cookie: user_login=%CA%EE%F2+%61%62; user_pass=749789e4982b0c563f6729aac100a614\r\n"
            "Content-Length: 282\r\n"
            "Connection: Close\r\n"
            "\r\n"
            + Body(RequestBuilder::DefaultBoundary, picture);
        QCOMPARE(Build(builder, QStringLiteral(u"Кот ab"), QStringLiteral(u"пароль"), picture), expected);
    }

    // The whole line, so that a line break the login smuggled in would show.
    void loginInTheCookie_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QByteArray>("cookie");
        QTest::newRow("small ya first: percent-encoded") << QStringLiteral(u"я1") << QByteArray("%FF%31");
        QTest::newRow("latin first, cyrillic and spaces as typed") << QStringLiteral(u"ab Кот") << QByteArray("ab \xCA\xEE\xF2");
        QTest::newRow("percent first left alone") << "%41 b" << QByteArray("%41 b");
        QTest::newRow("lone LF and lone CR in a typed login") << "bob\nX\rY" << QByteArray("bob%0AX%0DY");
    }

    void loginInTheCookie()
    {
        QFETCH(QString, login);
        QFETCH(QByteArray, cookie);
        RequestBuilder builder(QStringLiteral("h"));
        const QByteArray line = "\r\nCookie: user_login=" + cookie
                                + "; user_pass=" + QCryptographicHash::hash("pw", QCryptographicHash::Md5).toHex()
                                + "\r\nContent-Length: 280\r\n";
        QVERIFY(Build(builder, login, QStringLiteral("pw"), "jpeg").contains(line));
    }

    void boundaryNeverInThePicture_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<bool>("fixedBoundary");

        const QByteArray delimiter = "------------IueSxZI5qhfr8cpW1iNd7v";
        QTest::newRow("empty picture") << QByteArray() << true;
        QTest::newRow("delimiter text short of the boundary") << QByteArray("--IueSxZI5qhfr8cpW1iNd7v\r\n") << true;
        QTest::newRow("delimiter line after CRLF") << "\xFF\xD8\r\n" + delimiter + "\r\nrest\xFF\xD9" << false;
        QTest::newRow("picture starts with the boundary") << delimiter.mid(2) + "tail" << false;
        QTest::newRow("picture holds the first alternative too")
            << delimiter + "\r\n" + RequestBuilder::BoundaryFor(delimiter) << false;
        const QByteArray filler(RequestBuilder::ReadBlock, '\xA5');
        QTest::newRow("boundary straddling two read blocks")
            << filler.left(RequestBuilder::ReadBlock - 10) + delimiter + "\r\n" << false;
        QTest::newRow("boundary at the end of a compared window")
            << filler.left(3000 + 57) + delimiter.mid(2) + filler.left(5000) << false;
        QByteArray large(1 << 20, '\0');
        for (int i = 0; i < large.size(); ++i)
            large[i] = char((quint32(i) * 7919u) >> 3);
        QTest::newRow("a megabyte of every byte value") << large << true;
    }

    // The service cuts a picture at the first delimiter line it finds, and
    // the member's original is deleted on its reply: a picture that holds
    // the delimiter must travel under a boundary it does not hold, and a
    // standard parser must get it back whole.
    void boundaryNeverInThePicture()
    {
        QFETCH(QByteArray, picture);
        QFETCH(bool, fixedBoundary);

        RequestBuilder builder(QStringLiteral("upload.example.org"));
        const QByteArray request = Build(builder, QStringLiteral("member"), QStringLiteral("secret"), picture);
        const qsizetype typeAt = request.indexOf("boundary=") + 9;
        const QByteArray boundary = request.mid(typeAt, request.indexOf("\r\n", typeAt) - typeAt);

        QCOMPARE(boundary == RequestBuilder::DefaultBoundary, fixedBoundary);
        QCOMPARE(boundary.size(), RequestBuilder::DefaultBoundary.size());
        QVERIFY(!picture.contains(boundary));
        QVERIFY(request.contains("Content-Length: " + QByteArray::number(picture.size() + 276) + "\r\n"));
        QVERIFY(request.endsWith("\r\n\r\n" + Body(boundary, picture)));
        QCOMPARE(request.count(boundary), 4);

        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
        if (python.isEmpty())
            QSKIP("python3 with werkzeug is needed (scripts/install-deps.sh installs python3-werkzeug)");
        QProcess parser;
        parser.start(python, {QStringLiteral(PICAROON_MULTIPART_PARTS)});
        QVERIFY(parser.waitForStarted());
        parser.write(request);
        parser.closeWriteChannel();
        QVERIFY(parser.waitForFinished(30000));
        QVERIFY2(parser.exitCode() == 0, parser.readAllStandardError().constData());
        const QByteArray sha = QCryptographicHash::hash(picture, QCryptographicHash::Sha256).toHex();
        const QByteArray module = QCryptographicHash::hash("photolib", QCryptographicHash::Sha256).toHex();
        QCOMPARE(parser.readAllStandardOutput(),
                 "module - " + module + " 8\nnew_file Virtual File " + sha + " " + QByteArray::number(picture.size()) + "\n");
    }
};

QTEST_APPLESS_MAIN(TestRequestBuilder)
#include "tst_requestbuilder.moc"
