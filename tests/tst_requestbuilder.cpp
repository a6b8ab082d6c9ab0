#include "upload/RequestBuilder.h"

#include <QCryptographicHash>
#include <QTest>

namespace {

const QByteArray BodyHead =
    "------------IueSxZI5qhfr8cpW1iNd7v\r\n"
    "Content-Disposition: form-data; name=\"module\"\r\n"
    "\r\n"
    "photolib\r\n"
    "------------IueSxZI5qhfr8cpW1iNd7v\r\n"
    "Content-Disposition: form-data; name=\"new_file\"; filename=\"Virtual File\"\r\n"
    "Content-Type: image/pjpeg\r\n"
    "\r\n";

const QByteArray BodyTail =
    "\r\n"
    "------------IueSxZI5qhfr8cpW1iNd7v--\r\n"
    "\r\n";

QByteArray Build(RequestBuilder &builder, const QString &login, const QString &password,
                 QByteArrayView picture)
{
    QString error;
    return builder.BuildRequest(login, password, picture, &error).value_or(QByteArray());
}

QByteArray Md5Hex(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

const QByteArray Sample("\xFF\xD8\0\r\n\x7F\x80-", 8);

}

class TestRequestBuilder : public QObject
{
    Q_OBJECT

private slots:
    void goldenRequest()
    {
        RequestBuilder builder(QStringLiteral("first.example.invalid"));
        builder.SetHostHeader(QStringLiteral("upload.example.test:8080"));
        const QByteArray picture("\xFF\xD8\0\r\nZ", 6);
        const QByteArray expected =
            QByteArray("POST /kiplog.php HTTP/1.0\r\n"
                       "Accept: */*\r\n"
                       "Accept-Language: ru\r\n"
                       "Content-Type: multipart/form-data; boundary=----------IueSxZI5qhfr8cpW1iNd7v\r\n"
                       "Host: upload.example.test:8080\r\n"
                       "Cookie: user_login=%CA%EE%F2+%61%62; user_pass=749789e4982b0c563f6729aac100a614\r\n"
                       "Content-Length: 282\r\n"
                       "Connection: Close\r\n"
                       "\r\n")
            + BodyHead + picture + BodyTail;
        QCOMPARE(Build(builder, QStringLiteral(u"Кот ab"), QStringLiteral(u"пароль"), picture), expected);
    }

    void bodyCarriesPictureUnchanged_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("1000 bytes") << Sample.repeated(125);
        QTest::newRow("zeros only") << QByteArray(300, '\0');
        QTest::newRow("delimiter text inside") << BodyTail + BodyHead + "--\r\n";
        QTest::newRow("CRLF pairs and blank lines") << QByteArray("\r\n\r\n\n\r\r\n");
    }

    void bodyCarriesPictureUnchanged()
    {
        QFETCH(QByteArray, picture);
        RequestBuilder builder(QStringLiteral("h"));
        const QByteArray request = Build(builder, QStringLiteral("x"), QString(), picture);
        const QByteArray lastLines = "\r\nContent-Length: " + QByteArray::number(picture.size() + 276)
                                     + "\r\nConnection: Close\r\n\r\n";
        const qsizetype bodyAt = request.indexOf(lastLines) + lastLines.size();
        QCOMPARE(request.mid(bodyAt), BodyHead + picture + BodyTail);
    }

    void login_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QByteArray>("cookie");

        QTest::newRow("cyrillic first, all encoded")
            << QStringLiteral(u"Кот ab") << "rus" << "%CA%EE%F2+%61%62" << QByteArray("%CA%EE%F2+%61%62");
        QTest::newRow("small ya first") << QStringLiteral(u"я1") << "rus" << "%FF%31" << QByteArray("%FF%31");
        QTest::newRow("tab in an encoded login")
            << QStringLiteral(u"А\tb") << "rus" << "%C0%09%62" << QByteArray("%C0%09%62");
        QTest::newRow("latin first, cyrillic and spaces as typed")
            << QStringLiteral(u"ab Кот") << "en" << "%61%62+%CA%EE%F2" << QByteArray("ab \xCA\xEE\xF2");
        QTest::newRow("capital yo first as typed") << QStringLiteral(u"Ёж") << "en" << "%A8%E6" << QByteArray("\xA8\xE6");
        QTest::newRow("small yo first as typed") << QStringLiteral(u"ёж") << "en" << "%B8%E6" << QByteArray("\xB8\xE6");
        QTest::newRow("percent first left alone") << "%41 b" << "en" << "%41 b" << QByteArray("%41 b");
        QTest::newRow("empty") << QString() << "en" << QString() << QByteArray();
        QTest::newRow("CR LF in a typed login")
            << "bob\r\nX" << "en" << "%62%6F%62%0D%0A%58" << QByteArray("bob%0D%0AX");
        QTest::newRow("CR after a cyrillic first letter")
            << QStringLiteral(u"Я\r") << "rus" << "%DF%0D" << QByteArray("%DF%0D");
    }

    void login()
    {
        QFETCH(QString, login);
        QFETCH(QString, lang);
        QFETCH(QString, encoded);
        QFETCH(QByteArray, cookie);

        QCOMPARE(RequestBuilder::NickLang(login), lang);
        QCOMPARE(RequestBuilder::NickConv(login), encoded);
        QCOMPARE(RequestBuilder::CookieLogin(login), cookie);

        RequestBuilder builder(QStringLiteral("h"));
        const QByteArray line = "\r\nCookie: user_login=" + cookie + "; user_pass=" + Md5Hex("pw") + "\r\n";
        QVERIFY(Build(builder, login, QStringLiteral("pw"), "jpeg").contains(line + "Content-Length: 280\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestRequestBuilder)
#include "tst_requestbuilder.moc"
