#include "TestFiles.h"

#include "upload/SetAsideWords.h"
#include "upload/UploadLog.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Each outcome's own words are the upload cycle's tests' business; here,
// what keeps a record on one line and a log from stopping a run.
class TestUploadLog : public QObject
{
    Q_OBJECT

private slots:
    void oneEscapedRecordPerLine_data()
    {
        QTest::addColumn<PictureOutcome>("outcome");
        QTest::addColumn<QString>("fields"); // after the time

        using Kind = PictureOutcome::Kind;
        QTest::newRow("passed over before it could be opened")
            << PictureOutcome{Kind::PassedOver, "/img/p.jpg", -1, {}, "not a regular file", {}}
            << "p.jpg\t-\tpassed over\tnot a regular file";
        QTest::newRow("tab, line break and backslash in a name and in the service's words")
            << PictureOutcome{Kind::SetAside, "/img/a\tb\nc\\d.jpg", 1, "a\tb\nc\\d.jpg_!", "x\r\ny", {}}
            << "a\\tb\\nc\\\\d.jpg\t1\tset aside as a\\tb\\nc\\\\d.jpg_!\tx\\r\\ny";
        QTest::newRow("bytes that are not text and control characters, C1 too, as their bytes")
            << PictureOutcome{Kind::Stopped,
                              QStringLiteral("/img/") + QChar(0xDCFF) + "\x1b[2J" + QChar(0x85) + QChar(0x9B) + "x.jpg",
                              2,
                              {},
                              {},
                              {}}
            << "\\xff\\x1b[2J\\xc2\\x85\\xc2\\x9bx.jpg\t2\tstopped";
        // What was done to the picture comes last, after words that may be empty.
        QTest::newRow("its location removed, accepted without words")
            << PictureOutcome{Kind::Accepted, "/img/gps.jpg", 3, {}, {}, "location removed"}
            << "gps.jpg\t3\taccepted\t\tlocation removed";
    }

    void oneEscapedRecordPerLine()
    {
        QFETCH(PictureOutcome, outcome);
        QFETCH(QString, fields);
        const QString line = QString::fromUtf8(UploadLog::Line(QDateTime::currentDateTime(), outcome));
        QVERIFY(line.endsWith('\n'));
        QCOMPARE(line.count('\n'), 1);
        const QRegularExpression time(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(Z|[+-]\d\d:\d\d)\t)"));
        QVERIFY2(time.match(line).hasMatch(), qPrintable(line));
        QCOMPARE(line.section('\t', 1).chopped(1), fields);

        // The list finds a set-aside picture's words again in the log.
        QTemporaryDir dir;
        const QString log = dir.filePath("uploads.log");
        QVERIFY(TestFiles::Write(log, "cut-off record\n" + line.toUtf8()));
        SetAsideWords words;
        words.ReadLog(log);
        QCOMPARE(words.Of(outcome.asideName), outcome.kind == PictureOutcome::Kind::SetAside ? fields.section('\t', 3) : QString());
    }

    // A link in the log's place is never followed: the trouble is told once per run.
    void linkInItsPlaceIsToldOncePerRun()
    {
        QTemporaryDir home;
        const QString path = UploadLog::PathInHome(home.path());
        const QString other = home.filePath("other");
        QVERIFY(TestFiles::Write(other, "mine"));
        QVERIFY(QFile::link(other, path));
        UploadLog log(path);
        QSignalSpy trouble(&log, &UploadLog::Trouble);
        for (int run = 1; run <= 2; ++run) {
            log.BeginRun();
            log.Record({PictureOutcome::Kind::Accepted, "/img/a.jpg", 1, {}, {}, {}});
            log.Record({PictureOutcome::Kind::Accepted, "/img/b.jpg", 1, {}, {}, {}});
            QCOMPARE(trouble.size(), run);
        }
        QVERIFY2(trouble.at(0).at(0).toString().contains("symbolic link"), qPrintable(trouble.at(0).at(0).toString()));
        QCOMPARE(TestFiles::Read(other), "mine");
    }
};

QTEST_GUILESS_MAIN(TestUploadLog)
#include "tst_uploadlog.moc"
