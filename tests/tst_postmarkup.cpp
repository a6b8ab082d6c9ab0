#include "linktools/PostMarkup.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray Record(const QByteArray &thumb, const QByteArray &picture)
{
    return "<div align=\"center\">[MORE=<img src='" + thumb + "'>]<img src='" + picture
        + "'>[/MORE]</div>--endanecdot-";
}

const QByteArray A = "h/418265/a.jpg", AThumb = "h/418265/thumb/a.jpg";
const QByteArray B = "h/418265/b.jpg", BThumb = "h/418265/thumb/b.jpg";

}

using namespace TestFiles;

// base_url.txt a link to url.txt: the records go behind what it held before the run.
const QByteArray LinkToUrls = "(link to url.txt)";

class TestPostMarkup : public QObject
{
    Q_OBJECT

private slots:
    void makesRecords_data()
    {
        QTest::addColumn<QByteArray>("urls");
        QTest::addColumn<QByteArray>("before"); // base_url.txt before the run
        QTest::addColumn<QByteArray>("after");

        // Neither the account folder nor a place holder in it, so it must come
        // back in both places exactly as it went in.
        const QByteArray odd = "#thumb##img#\x80\x98\xC0\xFF";
        const QByteArray a = Record(AThumb, A), b = Record(BThumb, B);
        QTest::newRow("CR LF and lone CR end lines, a final break starts none") << A + "\r\n" + B + "\r" << Missing << a + b;
        QTest::newRow("lone LF stays in the line")
            << A + "\n" + B + "\r\n" << Missing << Record(AThumb + "\n" + BThumb, A + "\n" + B);
        QTest::newRow("empty line, last line without a break")
            << A + "\r\n\r\n" + B << Missing << a + Record("", "") + b;
        QTest::newRow("Windows-1251 bytes and place holders stay as they are") << odd << Missing << Record(odd, odd);
        QTest::newRow("another account's folder gets no thumb/")
            << QByteArray("h/173590/a.jpg") << Missing << Record("h/173590/a.jpg", "h/173590/a.jpg");
        // url.txt is read in blocks of 64 KB.
        const QByteArray first(64 * 1024 - 1, 'x');
        QTest::newRow("CR LF split between two blocks is one break")
            << first + "\r\n" + B << Missing << Record(first, first) + b;
        const QByteArray longLine = "h/418265/" + QByteArray(150 * 1000, 'y');
        QTest::newRow("line over three blocks") << A + "\r" + longLine + "\r\n" << Missing
                                                << a + Record("h/418265/thumb/" + longLine.mid(9), longLine);
        QTest::newRow("appended behind a terminator") << A << a << a + a;
        QTest::newRow("appended behind a terminator and a line break") << A << a + "\r\n" << a + "\r\n" + a;
        QTest::newRow("ends inside a cut-off record, which gets closed")
            << A << QByteArray("<div align=\"cen") << "<div align=\"cen--endanecdot-" + a;
        QTest::newRow("nothing to append, the cut-off record stays as it was")
            << QByteArray() << QByteArray("<div align=\"cen") << QByteArray("<div align=\"cen");
        QTest::newRow("base_url.txt a link to url.txt") << A + "\r\n" << LinkToUrls << A + "\r\n--endanecdot-" + a;
    }

    void makesRecords()
    {
        QFETCH(QByteArray, urls);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);

        QTemporaryDir home;
        QVERIFY(Write(home.filePath("url.txt"), urls));
        if (before == LinkToUrls)
            QVERIFY(QFile::link(home.filePath("url.txt"), home.filePath("base_url.txt")));
        else
            QVERIFY(before == Missing || Write(home.filePath("base_url.txt"), before));
        qint64 made = -1;
        QString error;
        QVERIFY2(PostMarkup::MakePosts(home.path(), LinkExtractor::DefaultAccount, &made, &error), qPrintable(error));
        QCOMPARE(made, after.count("[/MORE]") - before.count("[/MORE]"));
        QCOMPARE(Read(home.filePath("base_url.txt")), after);
        QCOMPARE(Read(home.filePath("url.txt")), before == LinkToUrls ? after : urls);
    }
};

QTEST_GUILESS_MAIN(TestPostMarkup)
#include "tst_postmarkup.moc"
