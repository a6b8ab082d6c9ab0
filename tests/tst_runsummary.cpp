#include "upload/RunSummary.h"

#include <QtTest>

// The window's last word on a run: plain when all went up, the counts when
// the member has something to look at.
class TestRunSummary : public QObject
{
    Q_OBJECT

private slots:
    void endText_data()
    {
        QTest::addColumn<QList<int>>("kinds");
        QTest::addColumn<QString>("text");
        using K = PictureOutcome::Kind;
        QTest::newRow("all went up") << QList<int>{int(K::Accepted), int(K::Accepted)} << "Готово";
        QTest::newRow("one set aside")
            << QList<int>{int(K::Accepted), int(K::SetAside)} << "Готово: загружено 1, отложено 1, пропущено 0";
        QTest::newRow("one passed over, a stop not counted")
            << QList<int>{int(K::PassedOver), int(K::Stopped)} << "Готово: загружено 0, отложено 0, пропущено 1";
    }

    void endText()
    {
        QFETCH(QList<int>, kinds);
        QFETCH(QString, text);
        RunSummary summary;
        summary.BeginRun({});
        for (int kind : kinds) {
            PictureOutcome outcome;
            outcome.kind = PictureOutcome::Kind(kind);
            summary.Count(outcome);
        }
        QCOMPARE(summary.EndText(), text);
    }
};

QTEST_GUILESS_MAIN(TestRunSummary)
#include "tst_runsummary.moc"
