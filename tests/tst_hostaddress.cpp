#include "settings/HostAddress.h"

#include <QtTest>

// What a member may type for a service host, and what is named as wrong.
class TestHostAddress : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("portAllowed");
        QTest::addColumn<QString>("said"); // the Host header when taken, else part of the problem named

        const QString unfit = "cannot hold spaces, line breaks or control characters";
        QTest::newRow("name without port") << "upload.example.org" << true << "=upload.example.org";
        QTest::newRow("name with port") << "up-1.example.org:8080" << true << "=up-1.example.org:8080";
        QTest::newRow("IPv6 in brackets") << "[::1]:8080" << true << "=[::1]:8080";
        QTest::newRow("IPv6 with an interface zone") << "[fe80::2%eth0.5]" << true << "=[fe80::2%eth0.5]";
        QTest::newRow("empty") << "" << true << "no host name given";
        QTest::newRow("port zero") << "h:0" << true << "the port is a number from 1 to 65535, not “0”";
        QTest::newRow("port too high") << "h:65536" << true << "not “65536”";
        QTest::newRow("port where none may be") << "h:8080" << false << "without a port";
        QTest::newRow("address pasted from a browser") << "https://up.example.org:8080/photo?x=1" << true << "=up.example.org:8080";
        QTest::newRow("address pasted, IPv6") << "http://[::1]/" << true << "=[::1]";
        QTest::newRow("another scheme typed along") << "ftp://h" << true << "without “http://”";
        QTest::newRow("empty label") << "a..b" << true << "empty part";
        QTest::newRow("IPv4 out of range") << "256.1.1.1" << true << "is not an IPv4 address";
        QTest::newRow("IPv6 bare") << "::1" << true << "in square brackets";
        QTest::newRow("IPv6 wrong") << "[::g]" << true << "is not an IPv6 address";
        QTest::newRow("junk after the bracket") << "[::1]80" << true << "only “:” and a port";
        QTest::newRow("internationalised name, in its ASCII form") << "фото.рф:81" << true << "=xn--n1aalg.xn--p1ai:81";
        QTest::newRow("internationalised name in a pasted address") << "http://фото.рф/a" << true << "=xn--n1aalg.xn--p1ai";
        QTest::newRow("not a name even so") << "фото_.рф" << true << "only Latin letters";
        QTest::newRow("space inside") << "upload host" << true << unfit;
        QTest::newRow("a header smuggled after the name") << "h\r\nX-Evil: 1" << true << unfit;
        QTest::newRow("C1 next line") << QString("h") + QChar(0x85) << true << unfit;
        QTest::newRow("a byte that is not text") << QString("h") + QChar(0xDCFF) << true << unfit;
        QTest::newRow("a header smuggled in an IPv6 zone") << "[fe80::1%eth0\r\nX: 1]" << true << unfit;
        QTest::newRow("IPv6 zone with a slash") << "[fe80::1%a/b]" << true << "network interface's name";
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, portAllowed);
        QFETCH(QString, said);
        HostAddress address;
        QString problem;
        const bool taken = HostAddress::Parse(text, portAllowed, &address, &problem);
        QVERIFY2(taken == said.startsWith('='), qPrintable(problem));
        if (taken)
            QCOMPARE("=" + address.HostHeader(), said);
        else
            QVERIFY2(problem.contains(said), qPrintable(problem));
    }
};

QTEST_GUILESS_MAIN(TestHostAddress)
#include "tst_hostaddress.moc"
