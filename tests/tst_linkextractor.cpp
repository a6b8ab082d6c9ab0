#include "linktools/LinkExtractor.h"

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
};

void TestLinkExtractor::extractsAddresses_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QByteArrayList>("addresses");

    const QString a = Dir + "a.jpg", b = Dir + "b.jpg", c = Dir + "c.jpg";
    QTest::newRow("no marker") << QStringLiteral("<p>") << QByteArrayList{};
    QTest::newRow("page order, twice listed twice, others' pictures left out")
        << Entry(b) + Entry("http://pics.test/userdir/1/7/3/5/173590/a.jpg") + Entry(a)
               + Entry("http://other.test/userdir/4/1/8/2/418265/a.jpg") + Entry(a)
        << QByteArrayList{Latin1(b), Latin1(a), Latin1(a)};
    QTest::newRow("other letter case is neither marker nor end")
        << Entry(a, "<a CLASS=\"other\"></a><span><a href='") + Lead + Dir + "A.JPG' " + Lead + b + "' "
        << QByteArrayList{Latin1(Dir + "A.JPG' " + Lead + b), Latin1(b)};
    // The Cyrillic link text it runs over goes out in Windows-1251.
    QTest::newRow("address without .jpg' runs on to the next one")
        << Entry(Dir + "a.png") + Entry(b)
        << QByteArrayList{Latin1(Dir + "a.png' target='_blank'>") + "\xD4\xEE\xF2\xEE"
                              + Latin1("</a></span></td>\r\n<td><a href='" + b),
                          Latin1(b)};
    QTest::newRow("markers without their own end share a later one")
        << Lead + Dir + "1 " + Lead + Dir + "2 " + Lead + c + "' "
        << QByteArrayList{Latin1(Dir + "1 " + Lead + Dir + "2 " + Lead + c), Latin1(Dir + "2 " + Lead + c),
                          Latin1(c)};
    QTest::newRow("marker with no end anywhere writes nothing")
        << Entry(a) + Lead + Dir + "b.png' " << QByteArrayList{Latin1(a)};
}

void TestLinkExtractor::extractsAddresses()
{
    QFETCH(QString, page);
    QFETCH(QByteArrayList, addresses);
    const LinkExtractor extractor(Host);
    QCOMPARE(extractor.Extract(page), addresses);
    QCOMPARE(extractor.ExtractUtf8(page.toUtf8()), addresses);

    // url.txt is there even when nothing was found, and each run appends.
    QTemporaryDir home;
    for (int run = 0; run < 2; ++run) {
        int count = -1;
        QString error;
        QVERIFY2(extractor.AppendToUrlFile(home.path(), page, &count, &error), qPrintable(error));
        QCOMPARE(count, int(addresses.size()));
    }
    QFile file(home.filePath("url.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray lines = addresses.isEmpty() ? QByteArray() : addresses.join("\r\n") + "\r\n";
    QCOMPARE(file.readAll(), lines + lines);
}

QTEST_GUILESS_MAIN(TestLinkExtractor)
#include "tst_linkextractor.moc"
