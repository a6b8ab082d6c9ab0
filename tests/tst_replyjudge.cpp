#include "upload/ReplyJudge.h"

#include "text/Cp1251.h"

#include <QTest>

namespace {

using Verdict = ReplyJudge::Verdict;

const QByteArray Accepted = Cp1251::FromUnicode(u"Изображение добавлено");
const QByteArray Refused = Cp1251::FromUnicode(u"Доступ запрещен");

}

class TestReplyJudge : public QObject
{
    Q_OBJECT

private slots:
    void verdict_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<Verdict>("verdict");
        QTest::newRow("both, refused first") << Refused + Accepted << Verdict::Refused;
        QTest::newRow("marker in UTF-8") << QStringLiteral(u"Изображение добавлено").toUtf8() << Verdict::Failed;
        QTest::newRow("marker in other letter case")
            << Cp1251::FromUnicode(u"изображение добавлено") << Verdict::Failed;
    }

    void verdict()
    {
        QFETCH(QByteArray, reply);
        QFETCH(Verdict, verdict);
        ReplyJudge judge;
        judge.Append(reply);
        QCOMPARE(judge.Judge(), verdict);
    }

    void markerSplitAcrossArrivals_data()
    {
        QTest::addColumn<QByteArray>("marker");
        QTest::addColumn<Verdict>("verdict");
        QTest::newRow("accepted") << Accepted << Verdict::Accepted;
        QTest::newRow("refused") << Refused << Verdict::Refused;
    }

    void markerSplitAcrossArrivals()
    {
        QFETCH(QByteArray, marker);
        QFETCH(Verdict, verdict);
        const QByteArray before(5000, 'x');
        for (qsizetype split = 1; split < marker.size(); ++split) {
            ReplyJudge judge;
            judge.Append(before + marker.left(split));
            judge.Append(marker.mid(split) + "</html>");
            QVERIFY2(judge.Judge() == verdict, qPrintable(QStringLiteral("split at %1").arg(split)));

            // A byte between the halves breaks the marker.
            ReplyJudge broken;
            broken.Append(before + marker.left(split));
            broken.Append("x");
            broken.Append(marker.mid(split));
            QVERIFY2(broken.Judge() == Verdict::Failed, qPrintable(QStringLiteral("gap at %1").arg(split)));
        }

        ReplyJudge byteByByte;
        for (char b : before + marker)
            byteByByte.Append(QByteArrayView(&b, 1));
        QCOMPARE(byteByByte.Judge(), verdict);
    }

    // Near misses of a marker, so that a judge keeping partial matches would grow.
    void memoryStaysBounded()
    {
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
