#include "upload/RunPace.h"
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

    // Speed and time left, from the bytes taken at times in milliseconds:
    // nothing until three seconds of moving bytes, then the last half
    // minute's pace.
    void pace_data()
    {
        QTest::addColumn<QList<qint64>>("samples"); // time, bytes, time, bytes...
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("text");
        const qint64 KiB = 1024, MiB = 1024 * KiB;
        QTest::newRow("under three seconds of sending: nothing yet")
            << QList<qint64>{0, 0, 5000, 0, 6000, 100 * KiB, 7500, 250 * KiB} << 10 * MiB << "";
        QTest::newRow("100 KiB/s with two minutes to go") << QList<qint64>{0, 0, 1000, 100 * KiB, 4000, 400 * KiB}
                                                          << 400 * KiB + 120 * 100 * KiB << "100 KB/s · 2 min left";
        QTest::newRow("megabytes with a decimal, seconds left")
            << QList<qint64>{0, 0, 4000, 6 * MiB} << 6 * MiB + 15 * MiB / 10 * 10 << "1.5 MB/s · 10 s left";
        QTest::newRow("hours and minutes")
            << QList<qint64>{0, 0, 10000, 1000 * KiB} << 1000 * KiB + 100 * KiB * 3900 << "100 KB/s · 1 h 5 min left";
        QTest::newRow("a slower last half minute is what counts")
            << QList<qint64>{0, 0, 30000, 300 * MiB, 60000, 300 * MiB + 300 * KiB, 90000, 300 * MiB + 600 * KiB}
            << 300 * MiB + 600 * KiB + 10 * KiB * 90 << "10 KB/s · 2 min left";
    }

    void pace()
    {
        QFETCH(QList<qint64>, samples);
        QFETCH(qint64, total);
        QFETCH(QString, text);
        RunPace pace;
        for (qsizetype i = 0; i + 1 < samples.size(); i += 2)
            pace.Add(samples.at(i), samples.at(i + 1), total);
        QCOMPARE(pace.Text(), text);
    }
};

QTEST_GUILESS_MAIN(TestRunSummary)
#include "tst_runsummary.moc"
