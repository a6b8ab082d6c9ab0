#include "linktools/LinkExtractor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Host = QStringLiteral("pics.test");
const QString Dir = QStringLiteral("http://pics.test/userdir/4/1/8/2/418265/");
const QString Lead = QStringLiteral("<a class=\"other\"></a><span><a href='");

// One picture as the photo-library page lists it.
QString Entry(const QString &address, const QString &lead = Lead)
{
    return QStringLiteral("<td><a href='%1' target='_blank'><img src='%1' alt=''></a><br>\r\n"
                          "%2%1' target='_blank'>Фото</a></span></td>\r\n")
        .arg(address, lead);
}

QByteArray Latin1(const QString &text) { return text.toLatin1(); }

}

class TestLinkExtractor : public QObject
{
    Q_OBJECT

private slots:
    void extractsAddresses_data();
    void extractsAddresses();
    void appendsToUrlFile_data();
    void appendsToUrlFile();
    void reportsFileFailures_data();
    void reportsFileFailures();
};

void TestLinkExtractor::extractsAddresses_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArrayList>("addresses");

    const QString a = Dir + "a.jpg", b = Dir + "b.jpg", c = Dir + "c.jpg";
    QTest::newRow("empty page") << QString() << QByteArrayList{};
    QTest::newRow("page without marker") << "<html><a href='" + a + "' >x</a></html>" << QByteArrayList{};
    QTest::newRow("three pictures in page order")
        << "<table>" + Entry(c) + Entry(a) + Entry(b) + "</table>"
        << QByteArrayList{Latin1(c), Latin1(a), Latin1(b)};
    QTest::newRow("same picture twice is listed twice")
        << Entry(a) + Entry(a) << QByteArrayList{Latin1(a), Latin1(a)};
    QTest::newRow("another account's picture")
        << Entry("http://pics.test/userdir/1/7/3/5/173590/x.jpg") + Entry(b) << QByteArrayList{Latin1(b)};
    QTest::newRow("another image host")
        << Entry("http://other.test/userdir/4/1/8/2/418265/x.jpg") << QByteArrayList{};
    QTest::newRow("attribute name in capitals")
        << Entry(a, "<a CLASS=\"other\"></a><span><a href='") << QByteArrayList{};
    QTest::newRow("address without .jpg' runs on to the next one")
        << Entry(Dir + "a.png") + Entry(b)
        << QByteArrayList{Latin1(Dir + "a.png' target='_blank'>") + "\xD4\xEE\xF2\xEE"
                              + Latin1("</a></span></td>\r\n<td><a href='" + b),
                          Latin1(b)};
    QTest::newRow("capital .JPG' does not end an address")
        << Lead + Dir + "A.JPG' " + Lead + b + "' "
        << QByteArrayList{Latin1(Dir + "A.JPG' " + Lead + b), Latin1(b)};
    QTest::newRow(".jpg' without the space does not end an address")
        << Lead + Dir + "a.jpg'>" + Lead + b + "' "
        << QByteArrayList{Latin1(Dir + "a.jpg'>" + Lead + b), Latin1(b)};
    QTest::newRow("markers without their own end share a later one")
        << Lead + Dir + "1 " + Lead + Dir + "2 " + Lead + c + "' "
        << QByteArrayList{Latin1(Dir + "1 " + Lead + Dir + "2 " + Lead + c),
                          Latin1(Dir + "2 " + Lead + c), Latin1(c)};
    QTest::newRow("marker with no end anywhere writes nothing")
        << Entry(a) + Lead + Dir + "b.png' " << QByteArrayList{Latin1(a)};
    QTest::newRow("character outside the code page becomes ?")
        << Lead + Dir + "\u263A.jpg' " << QByteArrayList{Latin1(Dir) + "?.jpg"};
}

void TestLinkExtractor::extractsAddresses()
{
    QFETCH(QString, page);
    QFETCH(QByteArrayList, addresses);
    const LinkExtractor extractor(Host);
    QCOMPARE(extractor.Extract(page), addresses);
    QCOMPARE(extractor.ExtractUtf8(page.toUtf8()), addresses);
}

void TestLinkExtractor::appendsToUrlFile_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("runs");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArray>("after");

    const QString page = Entry(Dir + "a.jpg") + Entry(Dir + "b.jpg");
    const QByteArray lines = Latin1(Dir + "a.jpg\r\n" + Dir + "b.jpg\r\n");
    QTest::newRow("no marker still creates url.txt") << QByteArray() << 1 << QStringLiteral("<p>") << QByteArray("");
    QTest::newRow("lines in page order") << QByteArray() << 1 << page << lines;
    QTest::newRow("earlier lines stay") << QByteArray("\xC0\r\n") << 1 << page << "\xC0\r\n" + lines;
    QTest::newRow("second run appends the same lines again") << QByteArray() << 2 << page << lines + lines;
}

void TestLinkExtractor::appendsToUrlFile()
{
    QFETCH(QByteArray, before);
    QFETCH(int, runs);
    QFETCH(QString, page);
    QFETCH(QByteArray, after);

    QTemporaryDir home;
    QFile file(home.filePath("url.txt"));
    if (!before.isNull()) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();
    }
    for (int run = 0; run < runs; ++run) {
        int count = -1;
        QString error;
        QVERIFY2(LinkExtractor(Host).AppendToUrlFile(home.path(), page, &count, &error), qPrintable(error));
        QCOMPARE(count, int(page.count(Lead)));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
}

void TestLinkExtractor::reportsFileFailures_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("url.txt cannot be opened") << false;
    QTest::newRow("url.txt cannot be written") << true;
}

void TestLinkExtractor::reportsFileFailures()
{
    QFETCH(bool, diskFull);
    QTemporaryDir home;
    const QString path = home.filePath("url.txt");
    if (diskFull)
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path));
    else
        QVERIFY(QDir(home.path()).mkdir("url.txt"));

    int count = -1;
    QString error;
    QVERIFY(!LinkExtractor(Host).AppendToUrlFile(home.path(), Entry(Dir + "a.jpg"), &count, &error));
    QCOMPARE(count, 0);
    QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestLinkExtractor)
#include "tst_linkextractor.moc"
