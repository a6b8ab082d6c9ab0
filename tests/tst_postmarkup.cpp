#include "linktools/PostMarkup.h"

#include "SmallFilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

QByteArray Record(const QByteArray &thumb, const QByteArray &picture)
{
    return "<div align=\"center\">[MORE=<img src='" + thumb + "'>]<img src='" + picture
        + "'>[/MORE]</div>--endanecdot-";
}

const QByteArray A = "h/418265/a.jpg", AThumb = "h/418265/thumb/a.jpg";
const QByteArray B = "h/418265/b.jpg", BThumb = "h/418265/thumb/b.jpg";

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

}

class TestPostMarkup : public QObject
{
    Q_OBJECT

private slots:
    void makesRecords_data()
    {
        QTest::addColumn<QByteArray>("urls");
        QTest::addColumn<QByteArray>("records");

        // Neither the account folder nor a place holder in it, so it must come
        // back in both places exactly as it went in.
        const QByteArray odd = "#thumb##img#\x80\x98\xC0\xFF";

        const QByteArray two = Record(AThumb, A) + Record(BThumb, B);
        QTest::newRow("empty url.txt, empty base_url.txt") << QByteArray("") << QByteArray("");
        QTest::newRow("CR LF and lone CR end lines, a final break starts none") << A + "\r\n" + B + "\r" << two;
        QTest::newRow("lone LF stays in the line")
            << A + "\n" + B + "\r\n" << Record(AThumb + "\n" + BThumb, A + "\n" + B);
        QTest::newRow("empty line, last line without a break")
            << A + "\r\n\r\n" + B << Record(AThumb, A) + Record("", "") + Record(BThumb, B);
        QTest::newRow("account folder twice gets thumb/ twice")
            << QByteArray("h/418265/418265/a") << Record("h/418265/thumb/418265/thumb/a", "h/418265/418265/a");
        QTest::newRow("Windows-1251 bytes and place holders stay as they are") << odd << Record(odd, odd);
        // url.txt is read in blocks of 64 KB.
        const QByteArray first(64 * 1024 - 1, 'x');
        QTest::newRow("CR LF split between two blocks is one break")
            << first + "\r\n" + B << Record(first, first) + Record(BThumb, B);
        const QByteArray longLine = "h/418265/" + QByteArray(150 * 1000, 'y');
        QTest::newRow("line over three blocks")
            << A + "\r" + longLine + "\r\n"
            << Record(AThumb, A) + Record("h/418265/thumb/" + longLine.mid(9), longLine);
    }

    void makesRecords()
    {
        QFETCH(QByteArray, urls);
        QFETCH(QByteArray, records);

        QTemporaryDir home;
        QVERIFY(Write(home.filePath("url.txt"), urls));
        // The second run appends behind the first.
        for (int run = 0; run < 2; ++run) {
            qint64 made = -1;
            QString error;
            QVERIFY2(PostMarkup::MakePosts(home.path(), LinkExtractor::DefaultAccount, &made, &error),
                     qPrintable(error));
            QCOMPARE(made, records.count("--endanecdot-"));
        }
        QCOMPARE(Read(home.filePath("base_url.txt")), records + records);
        QCOMPARE(Read(home.filePath("url.txt")), urls);
    }

    void thumbnailFollowsTheAccount_data()
    {
        QTest::addColumn<QString>("account");
        QTest::addColumn<QByteArray>("thumb");

        const QByteArray line = "h/173590/a.jpg";
        QTest::newRow("that member's folder gets thumb/") << "173590" << QByteArray("h/173590/thumb/a.jpg");
        QTest::newRow("the default member's rule leaves it alone") << "418265" << line;
    }

    void thumbnailFollowsTheAccount()
    {
        QFETCH(QString, account);
        QFETCH(QByteArray, thumb);
        QCOMPARE(PostMarkup::Record("h/173590/a.jpg", account), Record(thumb, "h/173590/a.jpg"));
    }

    void newRecordsStayWhole_data()
    {
        QTest::addColumn<QByteArray>("urls");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        const QByteArray a = Record(AThumb, A);
        QTest::newRow("ends with a terminator") << A << a << a + a;
        QTest::newRow("ends with a terminator and a line break") << A << a + "\r\n" << a + "\r\n" + a;
        QTest::newRow("ends inside a cut-off record, which gets closed")
            << A << QByteArray("<div align=\"cen") << "<div align=\"cen--endanecdot-" + a;
        QTest::newRow("nothing to append, the cut-off record stays as it was")
            << QByteArray() << QByteArray("<div align=\"cen") << QByteArray("<div align=\"cen");
    }

    void newRecordsStayWhole()
    {
        QFETCH(QByteArray, urls);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);

        QTemporaryDir home;
        QVERIFY(Write(home.filePath("url.txt"), urls) && Write(home.filePath("base_url.txt"), before));
        qint64 made = -1;
        QString error;
        QVERIFY2(PostMarkup::MakePosts(home.path(), LinkExtractor::DefaultAccount, &made, &error), qPrintable(error));
        QCOMPARE(Read(home.filePath("base_url.txt")), after);
    }

    void postsFileThatIsUrlFileTakesWhatItHeldBefore()
    {
        QTemporaryDir home;
        QVERIFY(Write(home.filePath("url.txt"), A + "\r\n"));
        QVERIFY(QFile::link(home.filePath("url.txt"), home.filePath("base_url.txt")));
        qint64 made = -1;
        QString error;
        QVERIFY2(PostMarkup::MakePosts(home.path(), LinkExtractor::DefaultAccount, &made, &error), qPrintable(error));
        QCOMPARE(made, 1);
        QCOMPARE(Read(home.filePath("url.txt")), A + "\r\n--endanecdot-" + Record(AThumb, A));
    }

    void failureLeavesPostsAlone_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("named");

        QTest::newRow("missing url.txt") << "no url.txt" << "url.txt";
        QTest::newRow("url.txt a named pipe without a writer") << "pipe" << "url.txt";
        QTest::newRow("base_url.txt a device") << "device" << "base_url.txt";
        // The records outgrow the room left, so some reach the disk first.
        QTest::newRow("disk full halfway through the records") << "full disk" << "base_url.txt";
    }

    void failureLeavesPostsAlone()
    {
        QFETCH(QString, trouble);
        QFETCH(QString, named);

        QTemporaryDir plainHome;
        SmallFilesystem disk;
        QString home = plainHome.path();
        if (trouble == "full disk") {
            QString why;
            if (!disk.Mount(&why))
                QSKIP(qPrintable(why));
            home = disk.Path();
        }
        const QString posts = QDir(home).filePath("base_url.txt");
        QByteArray urls;
        for (int line = 0; line < 200; ++line)
            urls += A + "\r\n";
        const QString urlFile = QDir(home).filePath("url.txt");
        if (trouble == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(urlFile).constData(), 0644), 0);
        else
            QVERIFY(trouble == "no url.txt" || Write(urlFile, urls));
        QVERIFY(trouble == "device" ? QFile::link("/dev/full", posts) : Write(posts, "old"));
        QVERIFY(trouble != "full disk" || disk.Fill());

        qint64 made = -1;
        QString error;
        QVERIFY(!PostMarkup::MakePosts(home, LinkExtractor::DefaultAccount, &made, &error));
        QCOMPARE(made, 0);
        QVERIFY2(error.contains(QDir::toNativeSeparators(QDir(home).filePath(named))), qPrintable(error));
        if (trouble != "device")
            QCOMPARE(Read(posts), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(TestPostMarkup)
#include "tst_postmarkup.moc"
