#include "SmallFilesystem.h"

#include "upload/UploadLog.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestUploadLog : public QObject
{
    Q_OBJECT

private slots:
    void oneEscapedRecordPerLine_data()
    {
        QTest::addColumn<PictureOutcome>("outcome");
        QTest::addColumn<QString>("fields"); // after the time

        using Kind = PictureOutcome::Kind;
        QTest::newRow("accepted") << PictureOutcome{Kind::Accepted, "/img/a.jpg", 1234, {}, {}}
                                  << "a.jpg\t1234\taccepted";
        QTest::newRow("set aside, with the service's words")
            << PictureOutcome{Kind::SetAside, "/img/a.jpg", 5, "a (2).jpg_!", "Файл слишком велик"}
            << "a.jpg\t5\tset aside as a (2).jpg_!\tФайл слишком велик";
        QTest::newRow("passed over before it could be opened")
            << PictureOutcome{Kind::PassedOver, "/img/p.jpg", -1, {}, "not a regular file"}
            << "p.jpg\t-\tpassed over\tnot a regular file";
        QTest::newRow("tab, line break and backslash in a name")
            << PictureOutcome{Kind::Refused, "/img/a\tb\nc\\d.jpg", 1, {}, {}} << "a\\tb\\nc\\\\d.jpg\t1\trefused";
        QTest::newRow("name that is not text keeps its bytes")
            << PictureOutcome{Kind::Stopped, QStringLiteral("/img/") + QChar(0xDCFF) + QStringLiteral("x.jpg"), 2, {}, {}}
            << "\\xffx.jpg\t2\tstopped";
        QTest::newRow("error with its status")
            << PictureOutcome{Kind::Error, "/img/a.jpg", 3, {}, "Error #10060"} << "a.jpg\t3\terror\tError #10060";
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
    }

    // Every record that is in the file is whole; the trouble is told once,
    // and recording goes on failing quietly rather than stopping anything.
    void fullDiskKeepsRecordsWholeAndIsToldOnce()
    {
        SmallFilesystem disk;
        QString why;
        if (!disk.Mount(&why))
            QSKIP(qPrintable(why));
        UploadLog log(UploadLog::PathInHome(disk.Path()));
        QSignalSpy trouble(&log, &UploadLog::Trouble);
        log.BeginRun();
        const PictureOutcome outcome{PictureOutcome::Kind::SetAside, "/img/a.jpg", 1, "a.jpg_!", QString(200, 'w')};
        for (int i = 0; i < 500; ++i)
            log.Record(outcome);
        log.EndRun();

        QCOMPARE(trouble.size(), 1);
        QVERIFY2(trouble.at(0).at(0).toString().contains(QString::fromLocal8Bit(strerror(ENOSPC))),
                 qPrintable(trouble.at(0).at(0).toString()));
        QFile file(log.Path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.size() > 0 && written.endsWith('\n'));
        for (const QByteArray &line : written.split('\n').mid(0, written.count('\n')))
            QVERIFY(line.endsWith(QByteArray(200, 'w')));
    }

    void unwritablePlaceIsToldNotWaitedOn_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("folder") << "folder";
    }

    void unwritablePlaceIsToldNotWaitedOn()
    {
        QFETCH(QString, kind);
        QTemporaryDir home;
        const QString path = UploadLog::PathInHome(home.path());
        if (kind == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QDir().mkpath(path));
        UploadLog log(path);
        QSignalSpy trouble(&log, &UploadLog::Trouble);
        log.BeginRun();
        log.Record({PictureOutcome::Kind::Accepted, "/img/a.jpg", 1, {}, {}});
        log.Record({PictureOutcome::Kind::Accepted, "/img/b.jpg", 1, {}, {}});
        QCOMPARE(trouble.size(), 1);
        log.BeginRun();
        log.Record({PictureOutcome::Kind::Accepted, "/img/c.jpg", 1, {}, {}});
        QCOMPARE(trouble.size(), 2);
    }

    void defaultPlaceIsTheStateFolder()
    {
        qputenv("XDG_STATE_HOME", "/somewhere/state");
        QCOMPARE(UploadLog::DefaultPath(), QStringLiteral("/somewhere/state/picaroon/uploads.log"));
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(UploadLog::DefaultPath(), QDir::homePath() + "/.local/state/picaroon/uploads.log");
    }
};

QTEST_GUILESS_MAIN(TestUploadLog)
#include "tst_uploadlog.moc"
