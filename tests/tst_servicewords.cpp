#include "text/Cp1251.h"
#include "upload/ServiceWords.h"

#include <QtTest>

namespace {

const QString Login = QStringLiteral("Кот ab");
const QString Password = QStringLiteral("пар   оль");
const QByteArray Digest = QCryptographicHash::hash(Cp1251::FromUnicode(Password), QCryptographicHash::Md5).toHex();

}

class TestServiceWords : public QObject
{
    Q_OBJECT

private slots:
    void visibleTextOfTheReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("words");

        const QByteArray tooLarge = Cp1251::FromUnicode(u"Файл слишком велик");
        QTest::newRow("page in Windows-1251") << "<html><body><p>" + tooLarge + "</p></body></html>"
                                              << QStringLiteral("Файл слишком велик");
        QTest::newRow("HTTP head left out")
            << QByteArray("HTTP/1.0 500 Internal Server Error\r\nContent-Type: text/html\r\n\r\n<b>Busy</b>")
            << "Busy";
        QTest::newRow("script, style and head left out")
            << QByteArray("<html><head><title>T</title><style>p{}</style></head><body><script>var a = '<p>';"
                          "</script>Try later</body></html>") << "Try later";
        QTest::newRow("block tags part words, inline ones do not")
            << QByteArray("<div>Quota</div><div>exceeded</div>: <b>1</b>0 MB<br/>max") << "Quota exceeded : 10 MB max";
        QTest::newRow("white space and control bytes folded, entities")
            << QByteArray("  a &amp; \t\r\n b &lt;c&gt; &#1060;&#x444; &nbsp;d &unknown;\x01\x02" "e & f\n\n ")
            << QStringLiteral("a & b <c> Фф d &unknown; e & f");
        QTest::newRow("long reply cut to 300 characters")
            << QByteArray(10 * 1024 * 1024, 'x') << QString(299, 'x') + QChar(0x2026);
        // The secrets of the request these words answer, as set below.
        QTest::newRow("cookie, digest in any case and password masked")
            << "<pre>Cookie: user_login=%CA%EE%F2+%61%62; user_pass=" + Digest + "</pre> " + Digest.toUpper()
                   + " (\xEF\xE0\xF0  \xEE\xEB\xFC)"
            << QStringLiteral("Cookie: *** *** (***)");
        QTest::newRow("a secret the cut would split is masked whole")
            << QByteArray(290, 'x') + Digest << QString(290, 'x') + QStringLiteral("***") + QChar(0x2026);
    }

    // Fed whole and a byte at a time, as the socket may deliver it, after
    // what the last picture's reply left unfinished.
    void visibleTextOfTheReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, words);

        ServiceWords whole;
        whole.SetCredentials(Login, Password);
        whole.Append("<script>never closed");
        whole.Clear();
        whole.Append(reply);
        QCOMPARE(whole.Text(), words);
        QVERIFY(whole.Text().size() <= ServiceWords::MaxLength);

        ServiceWords pieces;
        pieces.SetCredentials(Login, Password);
        pieces.Append("<script>never closed " + Digest);
        pieces.Clear();
        for (qsizetype i = 0; i < qMin<qsizetype>(reply.size(), 4096); ++i)
            pieces.Append(reply.mid(i, 1));
        pieces.Append(reply.mid(4096));
        QCOMPARE(pieces.Text(), words);
    }
};

QTEST_GUILESS_MAIN(TestServiceWords)
#include "tst_servicewords.moc"
