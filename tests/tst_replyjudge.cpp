#include "upload/ReplyJudge.h"

#include "text/Cp1251.h"

#include <QTest>

namespace {

using Verdict = ReplyJudge::Verdict;

const QByteArray Accepted = Cp1251::FromUnicode(u"Изображение добавлено");
const QByteArray Refused = Cp1251::FromUnicode(u"Доступ запрещен");

Verdict Judge(const QByteArrayList &arrivals)
{
    ReplyJudge judge;
    for (const QByteArray &bytes : arrivals)
        judge.Append(bytes);
    return judge.Judge();
}

}

class TestReplyJudge : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<Verdict>("verdict");
        const QByteArray before(5000, 'x');
        QTest::newRow("accepted") << before + Accepted + "</html>" << Verdict::Accepted;
        QTest::newRow("refused") << before + Refused << Verdict::Refused;
        QTest::newRow("both, refused first") << Refused + Accepted << Verdict::Refused;
        QTest::newRow("marker in UTF-8") << QStringLiteral(u"Изображение добавлено").toUtf8() << Verdict::Failed;
        QTest::newRow("marker in other letter case")
            << Cp1251::FromUnicode(u"изображение добавлено") << Verdict::Failed;
    }

    // Whole, in two arrivals split anywhere, and a byte at a time, as the
    // socket may deliver it.
    void verdict()
    {
        QFETCH(QByteArray, reply);
        QFETCH(Verdict, verdict);
        QCOMPARE(Judge({reply}), verdict);
        for (qsizetype split = 1; split < reply.size(); ++split)
            QVERIFY2(Judge({reply.left(split), reply.mid(split)}) == verdict, qPrintable(QString::number(split)));
        QByteArrayList bytes;
        for (char b : reply)
            bytes.append(QByteArray(1, b));
        QCOMPARE(Judge(bytes), verdict);
    }

    // A byte between two arrivals breaks the marker they would make together;
    // near misses of a marker must not make a judge keeping partial matches grow.
    void markersAcrossArrivals()
    {
        for (qsizetype split = 1; split < Accepted.size(); ++split)
            QVERIFY2(Judge({Accepted.left(split), "x", Accepted.mid(split)}) == Verdict::Failed, qPrintable(QString::number(split)));
        const QByteArray chunk = Refused.left(14).repeated(5000);
        ReplyJudge judge;
        for (int i = 0; i < 64; ++i) {
            judge.Append(chunk);
            QVERIFY(judge.Retained() <= Accepted.size());
        }
        judge.Append(Accepted);
        QCOMPARE(judge.Size(), qint64(64 * chunk.size() + Accepted.size()));
        QCOMPARE(judge.Judge(), Verdict::Accepted);
    }
};

QTEST_APPLESS_MAIN(TestReplyJudge)
#include "tst_replyjudge.moc"
