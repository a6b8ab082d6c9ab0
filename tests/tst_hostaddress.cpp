#include "settings/HostAddress.h"

#include <QtTest>

// What a member may type for a service host, and what is named as wrong.
class TestHostAddress : public QObject
{
    Q_OBJECT

private slots:
    void acceptsAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");

        QTest::newRow("name without port: 80") << "upload.example.org" << "upload.example.org" << 80;
        QTest::newRow("name with port") << "up-1.example.org:8080" << "up-1.example.org" << 8080;
        QTest::newRow("IPv4 with the highest port") << "127.0.0.1:65535" << "127.0.0.1" << 65535;
        QTest::newRow("IPv6 in brackets") << "[::1]:8080" << "::1" << 8080;
        QTest::newRow("IPv6 in brackets, no port") << "[fe80::2]" << "fe80::2" << 80;
    }

    void acceptsAddresses()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        HostAddress address;
        QString problem;
        QVERIFY2(HostAddress::Parse(text, true, &address, &problem), qPrintable(problem));
        QCOMPARE(address.Host(), host);
        QCOMPARE(int(address.Port()), port);
    }

    void namesWhatIsWrong_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("portAllowed");
        QTest::addColumn<QString>("named");

        QTest::newRow("empty") << "" << true << "не указано имя хоста";
        QTest::newRow("port zero") << "h:0" << true << "порт — число от 1 до 65535, а не «0»";
        QTest::newRow("port too high") << "h:65536" << true << "а не «65536»";
        QTest::newRow("port not a number") << "h:80a" << true << "а не «80a»";
        QTest::newRow("port where none may be") << "h:8080" << false << "без порта";
        QTest::newRow("space inside") << "upload host" << true << "только латинские буквы";
        QTest::newRow("scheme typed along") << "http://h" << true << "без «http://»";
        QTest::newRow("empty label") << "a..b" << true << "пустая часть";
        QTest::newRow("IPv4 out of range") << "256.1.1.1" << true << "не адрес IPv4";
        QTest::newRow("IPv4 short") << "10.1:80" << true << "не адрес IPv4";
        QTest::newRow("IPv6 bare") << "::1" << true << "в квадратных скобках";
        QTest::newRow("IPv6 unclosed") << "[::1" << true << "закрывающей скобки";
        QTest::newRow("IPv6 wrong") << "[::g]" << true << "не адрес IPv6";
        QTest::newRow("junk after the bracket") << "[::1]80" << true << "только «:» и порт";
        QTest::newRow("Cyrillic name") << "фото.рф" << true << "только латинские буквы";
    }

    void namesWhatIsWrong()
    {
        QFETCH(QString, text);
        QFETCH(bool, portAllowed);
        QFETCH(QString, named);
        HostAddress address;
        QString problem;
        QVERIFY(!HostAddress::Parse(text, portAllowed, &address, &problem));
        QVERIFY2(problem.contains(named), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestHostAddress)
#include "tst_hostaddress.moc"
